#include <gtest/gtest.h>

#include "codes/QUELBModel.h"
#include "codes/ZIM8x8Model.h"
#include "codes/clsQUELBProtocol.h"
#include "codes/clsZIM8x8Protocol.h"

namespace tavo {
namespace {

// What a decoder gives: "group/key/name" or "house/unit/function/name", from
// outputs that start as "7/8/name" and "h/u/f/n"; "false " and the outputs when it fails.
std::string IR(clsDeviceProtocol& p, const char* word) {
    std::int16_t group = 7, key = 8;
    std::string name = "name";
    const bool ok = p.DecodeIRCommand(word, group, key, &name);
    return (ok ? "" : "false ") + std::to_string(group) + "/" + std::to_string(key) + "/" + name;
}

std::string X10(clsDeviceProtocol& p, const char* word) {
    std::string house = "h", unit = "u", func = "f", name = "n";
    const bool ok = p.DecodeX10Command(word, house, unit, func, &name);
    return (ok ? "" : "false ") + house + "/" + unit + "/" + func + "/" + name;
}

// Reply words decoded by the class of the model that sent them.
TEST(Protocols, DecodeTheRepliesOfTheirModel) {
    clsQUELBProtocol relay;
    clsZIM8x8Protocol matrix;
    const struct {
        std::string (*decode)(clsDeviceProtocol&, const char*);
        clsDeviceProtocol& p;
        const char* word;
        const char* decoded;
    } cases[] = {{IR, relay, "9C0A1F", "11/32/IR RELAY #1 OFF"},
                 {IR, relay, " 9c0a1f ", "11/32/IR RELAY #1 OFF"},
                 {IR, relay, "90FFFF", "256/256/IR ALL RELAYS ON"},
                 {IR, relay, "A30000", "1/1/IR RELAY #8 OFF"},
                 {X10, relay, "A6E2E3", "B/3/OFF/X-10 RELAY #1 ON"},
                 {X10, relay, "AE6668", "A/1//X-10 ALL RELAYS OFF"},
                 {X10, relay, "B7CCC2", "P/16/ON/X-10 RELAY #8 OFF"},
                 {X10, relay, "AFZZZZ", "///X-10 RELAY B OFF"},
                 {IR, matrix, "980001", "1/2/IR INPUT #1 SELECT"},
                 {IR, matrix, "97FF00", "256/1/IR OUTPUT #8 SELECT"},
                 {X10, matrix, "A06662", "A/1/ON/X-10 OUTPUT #1 SELECT"},
                 {X10, matrix, "AFCCC3", "P/16/OFF/X-10 INPUT #8 SELECT"},
                 {X10, matrix, "A8CCC3", "P/16/OFF/X-10 INPUT #1 SELECT"}};
    for (const auto& c : cases) EXPECT_EQ(c.decode(c.p, c.word), c.decoded) << c.word;
    EXPECT_EQ(relay.BuildX10String("A", "1", "ON"), "6662");
    EXPECT_EQ(relay.BuildX10String("A", "1", "STATUS OFF"), "");
    EXPECT_EQ(matrix.BuildX10String("b", "3", "off"), "E2E3");
}

// Each decoder reads only its own table, and a word it cannot name or read
// leaves every output as it was.
TEST(Protocols, UndecodableWordsLeaveTheOutputsAlone) {
    clsQUELBProtocol relay;
    clsZIM8x8Protocol matrix;
    for (const char* word : {"9C0A1F2", "9C0A1", "A40000", "B80000", "9C0X1F", ""})
        EXPECT_EQ(IR(relay, word), "false 7/8/name") << word;
    for (const char* word : {"A6E2E", "A6E2E3F", "906662"})
        EXPECT_EQ(X10(relay, word), "false h/u/f/n") << word;
    for (const char* word : {"A00000", "B00000"}) EXPECT_EQ(IR(matrix, word), "false 7/8/name") << word;
    for (const char* word : {"B06662", "9F6662"}) EXPECT_EQ(X10(matrix, word), "false h/u/f/n") << word;
    // The name is optional.
    std::int16_t group = 0, key = 0;
    EXPECT_TRUE(relay.DecodeIRCommand("900102", group, key));
    EXPECT_EQ(group, 2);
    EXPECT_EQ(key, 3);
}

TEST(Protocols, TheTwinsNameTheSharedCodesByTheirOwnModel) {
    clsQUELBProtocol relay;
    clsZIM8x8Protocol matrix;
    EXPECT_EQ(X10(relay, "A46662"), "A/1/ON/X-10 ALL RELAYS ON");
    EXPECT_EQ(X10(matrix, "A46662"), "A/1/ON/X-10 OUTPUT #5 SELECT");
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

// The words the windows send to switch the monitor modes and the IR and X-10
// control, and the length of an X-10 monitor message, by model.
TEST(DeviceModels, MonitorAndEnableWords) {
    auto words = [](const DeviceModel& m) {
        return std::string(m.irMonitorOn) + " " + m.irMonitorOff + " " + m.x10MonitorOn + " " +
               m.x10MonitorOff + " " + m.enableIROn + " " + m.enableIROff + " " + m.enableX10On + " " +
               m.enableX10Off + " " + std::to_string(m.x10MonitorLength);
    };
    EXPECT_EQ(words(kQUELBModel), "010004 020004 010001 020001 010008 020008 010002 020002 12");
    EXPECT_EQ(words(kZIM8x8Model), "060000 070000 0A0000 0B0000 040000 050000 080000 090000 6");
}

// The general settings lines by the enable boxes (0 clear, 1 ticked, 2 grey:
// neither set nor cleared), and the matrix switch's flags read: "0" off, any other digit on.
TEST(DeviceModels, GeneralSettingsLinesAndFlags) {
    using Lines = std::vector<std::string>;
    EXPECT_EQ(kQUELBModel.generalSettingsLines({1, 0, {}}), (Lines{"010008", "020007"}));
    EXPECT_EQ(kQUELBModel.generalSettingsLines({2, 1, {}}), (Lines{"010002", "020005"}));
    const std::int16_t routing[8] = {7, 6, 5, 4, 3, 2, 1, 0};
    EXPECT_EQ(kZIM8x8Model.generalSettingsLines({2, 1, routing}), (Lines{"018765", "024321", "0C0010"}));
    EXPECT_EQ(kZIM8x8Model.readGeneralReply("8C20F0").flags, (std::array<std::optional<int>, 4>{1, 0, 1, 0}));
}

}  // namespace
}  // namespace tavo
