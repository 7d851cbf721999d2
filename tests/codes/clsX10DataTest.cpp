#include <gtest/gtest.h>

#include "codes/clsX10Data.h"

namespace tavo {
namespace {

TEST(clsX10Data, DecodesCodeStringsWordsAndSingleDigits) {
    clsX10Data x10;
    for (const char* code : {"A6E2E3", "E2E3", " a6e2e3 "}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(x10.GetHouseCode(code), "B");
        EXPECT_EQ(x10.GetUnitCode(code), "3");
        EXPECT_EQ(x10.GetFunctionStr(code), "OFF");
    }
    EXPECT_EQ(x10.GetUnitCode("c"), "16");
    // The repeated house digit is never read.
    EXPECT_EQ(x10.GetHouseCode("A6E0E3"), "B");
}

// The tables by code "0" to "F", and back: the house, unit and function of a code build it again.
TEST(clsX10Data, TheThreeTablesByCode) {
    clsX10Data x10;
    std::string houses, units, functions;
    for (char code : std::string("0123456789ABCDEF")) {
        const std::string c(1, code), house = x10.GetHouseCode(c), unit = x10.GetUnitCode(c);
        const std::string function = x10.GetFunctionStr(c);
        houses += house;
        units += unit + " ";
        functions += function + "|";
        EXPECT_EQ(x10.BuildString(house, unit, "ON"), c + c + c + "2");
        EXPECT_EQ(x10.BuildString("M", "13", function), function.empty() ? "" : "000" + c);
    }
    EXPECT_EQ(houses, "MECKOGAINFDLPHBJ");
    EXPECT_EQ(units, "13 5 3 11 15 7 1 9 14 6 4 12 16 8 2 10 ");
    EXPECT_EQ(functions,
              "ALL UNITS OFF|ALL LIGHTS ON|ON|OFF|DIM|BRIGHT|ALL LIGHTS OFF|EXTENDED CODE||HAIL REQUEST|"
              "PRE-SET DIM A|PRE-SET DIM B||EXTENDED DATA|STATUS=3DON|STATUS REQUEST|");
}

TEST(clsX10Data, LookupsThatMatchNothingGiveEmptyText) {
    clsX10Data x10;
    EXPECT_EQ(x10.GetHouseCode("6E2"), "");  // three characters: the whole text is not one digit
    EXPECT_EQ(x10.GetUnitCode("66E2E"), "");
    EXPECT_EQ(x10.GetHouseCode(""), "");
    EXPECT_EQ(x10.GetHouseCode("G"), "");
    EXPECT_EQ(x10.GetUnitCode("A6XZE3"), "");
    EXPECT_EQ(x10.GetHouseCode(std::string_view("A6\0002E3", 6)), "");
}

TEST(clsX10Data, FunctionComesFromTheLastCharacter) {
    clsX10Data x10;
    EXPECT_EQ(x10.GetFunctionStr("6669"), "HAIL REQUEST");
    EXPECT_EQ(x10.GetFunctionStr(" e2e2 "), "ON");
    EXPECT_EQ(x10.GetFunctionStr("whatever long text d"), "EXTENDED DATA");
    EXPECT_EQ(x10.GetFunctionStr("666G"), "");
    EXPECT_EQ(x10.GetFunctionStr("   "), "");
}

TEST(clsX10Data, BuildsCodeStrings) {
    clsX10Data x10;
    EXPECT_EQ(x10.BuildString("a", " 1 ", "on"), "6662");
    EXPECT_EQ(x10.BuildString("AB", "1", "ON"), "6662");  // house cut to its first letter
    EXPECT_EQ(x10.BuildString("B", "3", "OFF"), "E2E3");
    EXPECT_EQ(x10.BuildString("P", "16", "STATUS REQUEST"), "CCCF");
    EXPECT_EQ(x10.BuildString("B", "123", "OFF"), "EBE3");  // unit cut to "12"
    EXPECT_EQ(x10.BuildString("M", "13", " status=3don "), "000E");
}

TEST(clsX10Data, RefusesInvalidParts) {
    clsX10Data x10;
    const char* bad[][3] = {
        {"Q", "1", "ON"}, {"A", "17", "ON"}, {"A", "0", "ON"},   {"A", "01", "ON"},        {"A", "X", "ON"},
        {"A", "1", ""},   {"A", "1", "  "},  {"", "1", "ON"},    {"A", "1", "STATUS OFF"}, {"A", "", "ON"},
        {"1", "1", "ON"}, {"A", "-1", "ON"}, {"A", "1 5", "ON"},
    };
    for (const auto& args : bad) {
        SCOPED_TRACE(std::string(args[0]) + "|" + args[1] + "|" + args[2]);
        EXPECT_EQ(x10.BuildString(args[0], args[1], args[2]), "");
    }
}

}  // namespace
}  // namespace tavo
