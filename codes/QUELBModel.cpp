#include "codes/QUELBModel.h"

#include "link/HexText.h"
#include "link/modCommon.h"

namespace tavo {

namespace {

// Entries: 0 "All Relays", 1 the A/B relay, 2-9 relays 1 to 8. IR "on" codes
// are registers 10-19, "off" codes 1A-23; one X-10 address per entry, written
// to 24-2D with "ON" and to 2E-37 with "OFF".
constexpr ProtocolCodeRow kCodeRows[] = {
    {"90", "IR ALL RELAYS ON", "A4"}, {"91", "IR RELAY B ON", "A5"},     {"92", "IR RELAY #1 ON", "A6"},
    {"93", "IR RELAY #2 ON", "A7"},   {"94", "IR RELAY #3 ON", "A8"},    {"95", "IR RELAY #4 ON", "A9"},
    {"96", "IR RELAY #5 ON", "AA"},   {"97", "IR RELAY #6 ON", "AB"},    {"98", "IR RELAY #7 ON", "AC"},
    {"99", "IR RELAY #8 ON", "AD"},   {"9A", "IR ALL RELAYS OFF", "AE"}, {"9B", "IR RELAY B OFF", "AF"},
    {"9C", "IR RELAY #1 OFF", "B0"},  {"9D", "IR RELAY #2 OFF", "B1"},   {"9E", "IR RELAY #3 OFF", "B2"},
    {"9F", "IR RELAY #4 OFF", "B3"},  {"A0", "IR RELAY #5 OFF", "B4"},   {"A1", "IR RELAY #6 OFF", "B5"},
    {"A2", "IR RELAY #7 OFF", "B6"},  {"A3", "IR RELAY #8 OFF", "B7"},
};

// The "OFF" replies repeat the addresses of the "ON" replies.
constexpr X10RegisterRange kX10Registers[] = {{0x24, 0, "ON", true}, {0x2E, 0, "OFF", false}};

constexpr const char* kDemoReplies[] = {
    "80000A", "8481FF",                                                                                  //
    "900002", "910006", "920001", "930000", "940004", "950008", "96000C", "970010", "980018", "99001C",  //
    "9A0003", "9B0007", "9C0014", "9D0005", "9E0009", "9F000D", "A00011", "A10019", "A2001D", "A30015",  //
    "A41612", "A51E12", "A69692", "A79E92", "A89292", "A99A92", "AA9192", "AB9992", "AC9592", "AD9D92",  //
    "AE1613", "AF1E13", "B09693", "B19E93", "B29293", "B39A93", "B49193", "B59993", "B69593", "B79D93",
};

// Flag register 00, by GeneralFlag: IR control, IR monitor mode, X-10 control,
// X-10 monitor mode. Register 01 sets the bits of its mask, 02 clears them;
// the reply "80" carries them in its last digit.
constexpr int kFlagBits[4] = {8, 4, 2, 1};

GeneralReply ReadGeneralReply(std::string_view word) {
    GeneralReply reply;
    const std::string_view code = word.substr(0, 2);
    if (code != "80" && code != "84") return reply;
    // Flags: the last digit; relay states: the last three.
    const std::size_t digits = code == "80" ? 1 : 3;
    const auto v = word.size() >= 2 + digits ? HexValue(word.substr(word.size() - digits)) : std::nullopt;
    if (!v) {
        reply.kind = GeneralReply::Kind::Unreadable;
        return reply;
    }
    reply.kind = GeneralReply::Kind::Read;
    if (code == "80") {
        for (std::size_t k = 0; k < 4; ++k) reply.flags[k] = (*v & kFlagBits[k]) ? 1 : 0;
    } else {
        reply.relays = static_cast<unsigned>(*v);
    }
    return reply;
}

std::vector<std::string> GeneralSettingsLines(const GeneralSettings& settings) {
    const int ir = settings.enableIR;
    const int x10 = settings.enableX10;
    // The monitor bits are always cleared; a grey box is neither set nor cleared.
    const int set = (ir == 1 ? kFlagBits[kEnableIRFlag] : 0) + (x10 == 1 ? kFlagBits[kEnableX10Flag] : 0);
    const int clear = (ir == 0 ? kFlagBits[kEnableIRFlag] : 0) + (x10 == 0 ? kFlagBits[kEnableX10Flag] : 0) +
                      kFlagBits[kMonitorIRFlag] + kFlagBits[kMonitorX10Flag];
    return {"01000" + HexPad(static_cast<std::int16_t>(set), 1),
            "02000" + HexPad(static_cast<std::int16_t>(clear), 1)};
}

std::string RelayWord(const char* code, unsigned mask) {
    return code + HexPad(static_cast<std::int16_t>(mask & 0x1FFu), 4);
}

}  // namespace

constinit const DeviceModel kQUELBModel = {
    .codeRows = kCodeRows,
    .entryCount = 10,
    .irWriteBases = {0x10, 0x1A},
    .x10ColumnCount = 1,
    .x10Registers = kX10Registers,
    .irMonitorOn = "010004",
    .irMonitorOff = "020004",
    .x10MonitorOn = "010001",
    .x10MonitorOff = "020001",
    .x10MonitorLength = 12,
    .enableIROn = "010008",
    .enableIROff = "020008",
    .enableX10On = "010002",
    .enableX10Off = "020002",
    .entry0Refused = true,
    .x10CheckColumns = {0, 0},
    .readGeneralReply = ReadGeneralReply,
    .generalSettingsLines = GeneralSettingsLines,
    .demoReplies = kDemoReplies,
};

std::string RelaysOnWord(unsigned mask) { return RelayWord("05", mask); }
std::string RelaysOffWord(unsigned mask) { return RelayWord("06", mask); }
std::string RelayStatesWord(unsigned states) { return RelayWord("04", states); }

}  // namespace tavo
