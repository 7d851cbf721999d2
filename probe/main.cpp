#include "link/clsCmdLineParams.h"
#include "probe/modTAVOhwp.h"

int main(int argc, char** argv) { return tavo::modTAVOhwp::Main(tavo::JoinCommandLine(argc, argv)); }
