#include <gtest/gtest.h>

#include "link/ExpandFileTemplate.h"

namespace tavo {
namespace {

TEST(ExpandFileTemplate, ReplacesTokensAndLowerCasesOnlyTheFileName) {
    EXPECT_EQ(ExpandFileTemplate("/Data/Feedback_[DeviceName]_[port].txt", "QUELB", "COM3"),
              "/Data/feedback_QUELB_COM3.txt");
    EXPECT_EQ(ExpandFileTemplate("  cinfo_[devicename]_[PORT].TXT ", " ZIM-8x8 ", " COM12 "),
              "cinfo_ZIM-8x8_COM12.txt");
    EXPECT_EQ(ExpandFileTemplate("/Logs/[DeviceName]/Debug_[port]_[port].txt", "QUELB", "COM1"),
              "/Logs/QUELB/debug_COM1_COM1.txt");
    EXPECT_EQ(ExpandFileTemplate("/Data/CInfo.TXT", "QUELB", "COM3"), "/Data/cinfo.txt");
}

TEST(ExpandFileTemplate, TheDeviceNameGoesInFirstThenThePort) {
    // A "[port]" brought in by the device name is replaced by the second pass;
    // the comparison is exact, so an upper-case one stays.
    EXPECT_EQ(ExpandFileTemplate("f_[devicename].txt", "A[port]", "COM1"), "f_ACOM1.txt");
    EXPECT_EQ(ExpandFileTemplate("f_[devicename].txt", "A[PORT]", "COM1"), "f_A[PORT].txt");
    // The port goes in last and is not searched again.
    EXPECT_EQ(ExpandFileTemplate("f_[port].txt", "x", "[DEVICENAME]"), "f_[DEVICENAME].txt");
    EXPECT_EQ(ExpandFileTemplate("f_[port]_[devicename].txt", "[devicename]", "[port]"),
              "f_[port]_[devicename].txt");
    EXPECT_EQ(ExpandFileTemplate("[devicename[port]]", "n", "p"), "[devicenamep]");
}

TEST(ExpandFileTemplate, AnythingEmptyGivesAnEmptyName) {
    EXPECT_EQ(ExpandFileTemplate("", "QUELB", "COM3"), "");
    EXPECT_EQ(ExpandFileTemplate("   ", "QUELB", "COM3"), "");
    EXPECT_EQ(ExpandFileTemplate("f_[port].txt", "", "COM3"), "");
    EXPECT_EQ(ExpandFileTemplate("f_[port].txt", "   ", "COM3"), "");
    EXPECT_EQ(ExpandFileTemplate("f_[port].txt", "QUELB", ""), "");
}

}  // namespace
}  // namespace tavo
