#include "link/clsCmdLineParams.h"
#include "query/modTAVOhwp.h"

int main(int argc, char** argv) { return tavo::modTAVOhwp::Main(tavo::JoinCommandLine(argc, argv)); }
