#include <gtest/gtest.h>

#include "codes/clsQUELBProtocol.h"
#include "codes/clsZIM8x8Protocol.h"

namespace tavo {
namespace {

struct IRCase {
    const char* word;
    std::int16_t group, key;
    const char* name;
};

struct X10Case {
    const char* word;
    const char* house;
    const char* unit;
    const char* func;
    const char* name;
};

void ExpectIR(clsDeviceProtocol& p, const IRCase& c) {
    SCOPED_TRACE(c.word);
    std::int16_t group = 0, key = 0;
    std::string name;
    ASSERT_TRUE(p.DecodeIRCommand(c.word, group, key, &name));
    EXPECT_EQ(group, c.group);
    EXPECT_EQ(key, c.key);
    EXPECT_EQ(name, c.name);
}

void ExpectX10(clsDeviceProtocol& p, const X10Case& c) {
    SCOPED_TRACE(c.word);
    std::string house, unit, func, name;
    ASSERT_TRUE(p.DecodeX10Command(c.word, house, unit, func, &name));
    EXPECT_EQ(house, c.house);
    EXPECT_EQ(unit, c.unit);
    EXPECT_EQ(func, c.func);
    EXPECT_EQ(name, c.name);
}

TEST(clsQUELBProtocol, DecodesRelayReplies) {
    clsQUELBProtocol p;
    ExpectIR(p, {"9C0A1F", 11, 32, "IR RELAY #1 OFF"});
    ExpectIR(p, {" 9c0a1f ", 11, 32, "IR RELAY #1 OFF"});
    ExpectIR(p, {"90FFFF", 256, 256, "IR ALL RELAYS ON"});
    ExpectIR(p, {"A30000", 1, 1, "IR RELAY #8 OFF"});
    ExpectX10(p, {"A6E2E3", "B", "3", "OFF", "X-10 RELAY #1 ON"});
    ExpectX10(p, {"AE6668", "A", "1", "", "X-10 ALL RELAYS OFF"});
    ExpectX10(p, {"B7CCC2", "P", "16", "ON", "X-10 RELAY #8 OFF"});
    ExpectX10(p, {"AFZZZZ", "", "", "", "X-10 RELAY B OFF"});
    EXPECT_EQ(p.BuildX10String("A", "1", "ON"), "6662");
    EXPECT_EQ(p.BuildX10String("A", "1", "STATUS OFF"), "");
}

TEST(clsZIM8x8Protocol, DecodesMatrixReplies) {
    clsZIM8x8Protocol p;
    ExpectIR(p, {"980001", 1, 2, "IR INPUT #1 SELECT"});
    ExpectIR(p, {"97FF00", 256, 1, "IR OUTPUT #8 SELECT"});
    ExpectX10(p, {"A06662", "A", "1", "ON", "X-10 OUTPUT #1 SELECT"});
    ExpectX10(p, {"AFCCC3", "P", "16", "OFF", "X-10 INPUT #8 SELECT"});
    ExpectX10(p, {"A8CCC3", "P", "16", "OFF", "X-10 INPUT #1 SELECT"});
    ExpectX10(p, {"A9CCC3", "P", "16", "OFF", "X-10 INPUT #2 SELECT"});
    EXPECT_EQ(p.BuildX10String("b", "3", "off"), "E2E3");
}

// Each decoder reads only its own table, and a word it cannot name or read
// leaves every output as it was.
TEST(Protocols, UndecodableWordsLeaveTheOutputsAlone) {
    clsQUELBProtocol relay;
    clsZIM8x8Protocol matrix;
    struct Case {
        clsDeviceProtocol* p;
        const char* word;
    };
    for (auto [p, word] : {Case{&relay, "9C0A1F2"},
                           {&relay, "9C0A1"},
                           {&relay, "A40000"},
                           {&relay, "B80000"},
                           {&relay, "9C0X1F"},
                           {&matrix, "A00000"},
                           {&matrix, "B00000"},
                           {&relay, ""}}) {
        SCOPED_TRACE(word);
        std::int16_t group = 7, key = 8;
        std::string name = "name";
        EXPECT_FALSE(p->DecodeIRCommand(word, group, key, &name));
        EXPECT_EQ(group, 7);
        EXPECT_EQ(key, 8);
        EXPECT_EQ(name, "name");
    }
    for (auto [p, word] :
         {Case{&relay, "A6E2E"}, {&relay, "906662"}, {&matrix, "B06662"}, {&matrix, "9F6662"}}) {
        SCOPED_TRACE(word);
        std::string house = "h", unit = "u", func = "f", name = "n";
        EXPECT_FALSE(p->DecodeX10Command(word, house, unit, func, &name));
        EXPECT_EQ(house + unit + func + name, "hufn");
    }
    // The name is optional.
    std::int16_t group = 0, key = 0;
    EXPECT_TRUE(relay.DecodeIRCommand("900102", group, key));
    EXPECT_EQ(group, 2);
    EXPECT_EQ(key, 3);
}

TEST(Protocols, TheTwinsNameTheSharedCodesByTheirOwnModel) {
    clsQUELBProtocol relay;
    clsZIM8x8Protocol matrix;
    std::string house, unit, func, relayName, matrixName;
    ASSERT_TRUE(relay.DecodeX10Command("A46662", house, unit, func, &relayName));
    ASSERT_TRUE(matrix.DecodeX10Command("A46662", house, unit, func, &matrixName));
    EXPECT_EQ(relayName, "X-10 ALL RELAYS ON");
    EXPECT_EQ(matrixName, "X-10 OUTPUT #5 SELECT");
}

TEST(Protocols, X10TablesAreMadeAtTheFirstX10Operation) {
    clsQUELBProtocol relay;
    std::int16_t group = 0, key = 0;
    EXPECT_FALSE(relay.HasX10Data());
    relay.DecodeIRCommand("900000", group, key);
    EXPECT_FALSE(relay.HasX10Data());
    EXPECT_EQ(relay.GetHouseCode("A6E2E3"), "B");
    EXPECT_TRUE(relay.HasX10Data());

    clsZIM8x8Protocol matrix;
    EXPECT_EQ(matrix.GetUnitCode("A6E2E3"), "3");
    EXPECT_TRUE(matrix.HasX10Data());
    clsZIM8x8Protocol other;
    EXPECT_EQ(other.GetFunctionStr("6669"), "HAIL REQUEST");
    EXPECT_TRUE(other.HasX10Data());
}

}  // namespace
}  // namespace tavo
