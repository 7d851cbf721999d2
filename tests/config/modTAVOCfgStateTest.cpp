#include <gtest/gtest.h>

#include "config/modTAVOCfg.h"
#include "link/ProgramInfo.h"

namespace tavo {
namespace {

TEST(modTAVOCfgState, StartValuesLieInTheProgramFolder) {
    modTAVOCfg::gSelectedDevice = 3;
    modTAVOCfg::gDemoMode = true;
    modTAVOCfg::ResetState();
    EXPECT_EQ(modTAVOCfg::gSelectedDevice, -1);
    EXPECT_FALSE(modTAVOCfg::gDemoMode);
    EXPECT_EQ(modTAVOCfg::gDebugFileTemplate, ProgramFolder() + "/debug_[devicename]_[port].txt");
    EXPECT_EQ(modTAVOCfg::gAppLogFile, ProgramFolder() + "/tavocfg.txt");
}

}  // namespace
}  // namespace tavo
