#include "link/EndSignals.h"
#include "link/clsCmdLineParams.h"
#include "query/modTAVOhwp.h"

int main(int argc, char** argv) {
    tavo::LetGoOnEndSignals();
    return tavo::modTAVOhwp::Main(tavo::JoinCommandLine(argc, argv));
}
