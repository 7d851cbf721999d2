// Monitor messages of both models read for the monitor labels.

#include <gtest/gtest.h>

#include "codes/MonitorMessages.h"

namespace tavo {
namespace {

TEST(MonitorMessages, IRAndX10Messages) {
    std::string group = "g", key = "k";
    EXPECT_TRUE(DecodeIRMonitor(" $0A 1F+", group, key));
    EXPECT_EQ(group + "/" + key, "11/32");
    EXPECT_TRUE(DecodeIRMonitor("$FFFF+tail", group, key));
    EXPECT_EQ(group + "/" + key, "256/256");
    EXPECT_FALSE(DecodeIRMonitor("$0A1F", group, key));
    EXPECT_FALSE(DecodeIRMonitor("$0G1F+", group, key));  // line noise
    EXPECT_EQ(group + "/" + key, "256/256");

    std::string house, unit, function;
    // Relay controller: bit fields of "0CC0" (house 6 "A", unit 0 "13") and "0004" (function 2 "On").
    EXPECT_TRUE(DecodeX10Monitor(12, "$0CC0zz0004+", house, unit, &function));
    EXPECT_EQ(house + "/" + unit + "/" + function, "A/13/On");
    EXPECT_TRUE(DecodeX10Monitor(12, "$\t01FE 00 001E+", house, unit, &function));
    EXPECT_EQ(house + "/" + unit + "/" + function, "J/10/Status Request");
    // Matrix switch: one digit each; a bad message leaves the outputs as they were.
    for (const char* bad : {"#62x2+", "$62x2*", "$62x2+Z", "$6Gx2+", ""})
        EXPECT_FALSE(DecodeX10Monitor(6, bad, house, unit, &function)) << bad;
    EXPECT_FALSE(DecodeX10Monitor(12, "$0CC0zz00X4+", house, unit, &function));
    EXPECT_EQ(house + "/" + unit + "/" + function, "J/10/Status Request");
}

TEST(MonitorMessages, WhatTheX10LabelsShow) {
    const struct {
        std::size_t length;
        const char* received;
        const char* shown;
    } cases[] = {{6, "$6 2x2+", "A/3/On"}, {6, "#62x2+", "//"}, {12, "$0CC0zz0004", "*/*/*"}};
    for (const auto& c : cases) {
        const X10MonitorText text = X10MonitorDisplay(c.length, c.received);
        EXPECT_EQ(text.house + "/" + text.unit + "/" + text.function, c.shown) << c.received;
    }
}

// The matrix switch's message gives each code as one digit: house, unit and function of codes 0 to 15.
TEST(MonitorMessages, X10NamesOfEveryCode) {
    std::string all;
    for (char c : std::string("0123456789ABCDEF")) {
        std::string house, unit, function;
        EXPECT_TRUE(DecodeX10Monitor(6, std::string("$") + c + c + "x" + c + "+", house, unit, &function));
        all += house + "/" + unit + "/" + function + "|";
    }
    EXPECT_EQ(
        all,
        "M/13/All Units Off|E/5/All Lights On|C/3/On|K/11/Off|O/15/Dim|G/7/Bright|A/1/All Lights Off|"
        "I/9/Extended Code|N/14/Hail Request|F/6/Hail Acknowledge|D/4/Pre-Set Dim High|L/12/Pre-Set Dim low|"
        "P/16/Extended Data|H/8/Status=on|B/2/Status=off|J/10/Status Request|");
}

}  // namespace
}  // namespace tavo
