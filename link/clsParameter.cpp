// clsParameter is header-only; this unit keeps the one-file-per-class layout of the library.
#include "clsParameter.h"
