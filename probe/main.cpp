#include "link/EndSignals.h"
#include "link/clsCmdLineParams.h"
#include "probe/modTAVOhwp.h"

int main(int argc, char** argv) {
    tavo::LetGoOnEndSignals();
    return tavo::modTAVOhwp::Main(tavo::JoinCommandLine(argc, argv));
}
