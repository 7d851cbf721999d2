#include <gtest/gtest.h>

#include "codes/clsIRData.h"
#include "codes/clsQUELBProtocol.h"
#include "link/modCommon.h"

namespace tavo {
namespace {

TEST(clsIRData, BuildsAndDecodesIRCodeStrings) {
    clsIRData ir;
    EXPECT_EQ(ir.BuildString("9c", 11, 32), "9C0A1F");
    EXPECT_EQ(ir.BuildString(" 90FFFF ", 256, 1), "90FF00");
    EXPECT_EQ(ir.BuildString("90", 1, 256), "9000FF");
    EXPECT_EQ(ir.BuildString("A3", 1, 1), "A30000");

    std::string name;
    std::int16_t group = 0, key = 0;
    ASSERT_TRUE(ir.DecodeHexString("9C0A1F", "RELAY", name, group, key));
    EXPECT_EQ(name, "IR RELAY #1 OFF");
    EXPECT_EQ(group, 11);
    EXPECT_EQ(key, 32);

    ASSERT_TRUE(ir.DecodeHexString(" 90ffff ", " Relay ", name, group, key));
    EXPECT_EQ(name, "IR ALL RelayS ON");
    EXPECT_EQ(group, 256);
    EXPECT_EQ(key, 256);

    // The replacement is not searched again for the placeholder.
    ASSERT_TRUE(ir.DecodeHexString("910000", "[REPLACE]", name, group, key));
    EXPECT_EQ(name, "IR [REPLACE] B ON");
}

TEST(clsIRData, BuildRefusesCodesAndValuesOutOfRange) {
    clsIRData ir;
    EXPECT_EQ(ir.BuildString("90", 0, 1), "");
    EXPECT_EQ(ir.BuildString("90", 1, 257), "");
    EXPECT_EQ(ir.BuildString("90", 1, 0), "");
    EXPECT_EQ(ir.BuildString("90", -1, 1), "");
    EXPECT_EQ(ir.BuildString("A4", 1, 1), "");
    EXPECT_EQ(ir.BuildString("8F", 1, 1), "");
    EXPECT_EQ(ir.BuildString("9G", 1, 1), "");  // inside "90".."A3" as text, but not a register
    EXPECT_EQ(ir.BuildString("9", 1, 1), "");
}

// With the word "RELAY" the templates give the relay controller's IR names.
TEST(clsIRData, TemplatesOfTheRelayControllersIRNames) {
    clsIRData ir;
    clsQUELBProtocol relay;
    for (int code = 0x90; code <= 0xA3; ++code) {
        const std::string word = HexPad(static_cast<std::int16_t>(code), 2) + "0000";
        std::string name, relayName;
        std::int16_t group = 0, key = 0;
        EXPECT_TRUE(ir.DecodeHexString(word, "RELAY", name, group, key) &&
                    relay.DecodeIRCommand(word, group, key, &relayName));
        EXPECT_EQ(name, relayName) << word;
    }
}

TEST(clsIRData, TemplatesByCode) {
    clsIRData ir;
    EXPECT_EQ(ir.GetCommandStr(" 9b0000 "), "IR [REPLACE] B OFF");
    EXPECT_EQ(ir.GetCommandStr("90"), "IR ALL [REPLACE]S ON");
    EXPECT_EQ(ir.GetCommandStr("A3"), "IR [REPLACE] #8 OFF");
    EXPECT_EQ(ir.GetCommandStr("9"), "");
    EXPECT_EQ(ir.GetCommandStr("A4"), "");
    EXPECT_EQ(ir.GetCommandStr("9:"), "");
}

TEST(clsIRData, DecodeFailuresLeaveTheOutputsAlone) {
    clsIRData ir;
    for (auto [input, replace] : {std::pair{"9C0A1", "RELAY"},
                                  {"9C0A1F", "   "},
                                  {"9C0A1F", ""},
                                  {"9C0A1F2", "RELAY"},
                                  {"A40000", "RELAY"},
                                  {"9G0000", "RELAY"},
                                  {"9C0X1F", "RELAY"},
                                  {"9C0A1-", "RELAY"}}) {
        SCOPED_TRACE(std::string(input) + "|" + replace);
        std::string name = "before";
        std::int16_t group = 7, key = 8;
        EXPECT_FALSE(ir.DecodeHexString(input, replace, name, group, key));
        EXPECT_EQ(name, "before");
        EXPECT_EQ(group, 7);
        EXPECT_EQ(key, 8);
    }
}

}  // namespace
}  // namespace tavo
