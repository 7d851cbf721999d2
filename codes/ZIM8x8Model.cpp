#include "codes/ZIM8x8Model.h"

#include "link/HexText.h"
#include "link/modCommon.h"

namespace tavo {

namespace {

// Entries: inputs and outputs 1 to 8. IR select codes of the outputs are
// registers 10-17, of the inputs 18-1F; X-10 select addresses of the outputs
// 20-27 (written with "ON"), of the inputs 28-2F (with "OFF").
constexpr ProtocolCodeRow kCodeRows[] = {
    {"90", "IR OUTPUT #1 SELECT", "A0"}, {"91", "IR OUTPUT #2 SELECT", "A1"},
    {"92", "IR OUTPUT #3 SELECT", "A2"}, {"93", "IR OUTPUT #4 SELECT", "A3"},
    {"94", "IR OUTPUT #5 SELECT", "A4"}, {"95", "IR OUTPUT #6 SELECT", "A5"},
    {"96", "IR OUTPUT #7 SELECT", "A6"}, {"97", "IR OUTPUT #8 SELECT", "A7"},
    {"98", "IR INPUT #1 SELECT", "A8"},  {"99", "IR INPUT #2 SELECT", "A9"},
    {"9A", "IR INPUT #3 SELECT", "AA"},  {"9B", "IR INPUT #4 SELECT", "AB"},
    {"9C", "IR INPUT #5 SELECT", "AC"},  {"9D", "IR INPUT #6 SELECT", "AD"},
    {"9E", "IR INPUT #7 SELECT", "AE"},  {"9F", "IR INPUT #8 SELECT", "AF"},
};

// Column 0 holds the outputs' addresses, column 1 the inputs'.
constexpr X10RegisterRange kX10Registers[] = {{0x20, 0, "ON", true}, {0x28, 1, "OFF", true}};

constexpr const char* kDemoReplies[] = {
    "811234", "825678", "8C1010",                                                    //
    "908001", "918000", "928004", "938008", "94800C", "958010", "968018", "97801C",  //
    "988003", "998007", "9A800B", "9B800F", "9C8013", "9D801B", "9E801F", "9F8017",  //
    "A09692", "A19E92", "A29292", "A39A92", "A49192", "A59992", "A69592", "A79D92",  //
    "A89693", "A99E93", "AA9293", "AB9A93", "AC9193", "AD9993", "AE9593", "AF9D93",
};

GeneralReply ReadGeneralReply(std::string_view word) {
    GeneralReply reply;
    const std::string_view code = word.substr(0, 2);
    if (code == "81" || code == "82") {
        // Characters 3 to 6 feed outputs 1-4 ("81") or 5-8 ("82"), each the
        // input number; a digit that is missing or not hexadecimal says nothing.
        reply.kind = GeneralReply::Kind::Read;
        const std::size_t firstOutput = code == "81" ? 0 : 4;
        for (std::size_t k = 0; k < 4; ++k) {
            const auto v = word.size() > 2 + k ? HexValue(word.substr(2 + k, 1)) : std::nullopt;
            if (v) reply.routing[firstOutput + k] = *v - 1;
        }
    } else if (code == "8C") {
        // One digit per flag, in GeneralFlag order: "0" off, any other on.
        reply.kind = GeneralReply::Kind::Read;
        for (std::size_t k = 0; k < 4; ++k)
            if (word.size() > 2 + k) reply.flags[k] = word[2 + k] == '0' ? 0 : 1;
    }
    return reply;
}

std::vector<std::string> GeneralSettingsLines(const GeneralSettings& settings) {
    // One digit per output: the input number 1 to 8 (0 for none). A digit the
    // device reported beyond 8 goes back as the same hexadecimal digit, so that
    // the line keeps its six characters.
    auto routing = [&settings](std::size_t from) {
        std::string digits;
        for (std::size_t o = from; o < from + 4; ++o) {
            const int input = o < settings.routing.size() ? settings.routing[o] : 0;
            digits += HexPad(static_cast<std::int16_t>((input + 1) & 0xF), 1);
        }
        return digits;
    };
    // The monitor digits are always "0".
    return {"01" + routing(0), "02" + routing(4),
            std::string("0C") + (settings.enableIR == 1 ? "1" : "0") + "0" +
                (settings.enableX10 == 1 ? "1" : "0") + "0"};
}

}  // namespace

constinit const DeviceModel kZIM8x8Model = {
    .codeRows = kCodeRows,
    .entryCount = 8,
    .irWriteBases = {0x10, 0x18},
    .x10ColumnCount = 2,
    .x10Registers = kX10Registers,
    .irMonitorOn = "060000",
    .irMonitorOff = "070000",
    .x10MonitorOn = "0A0000",
    .x10MonitorOff = "0B0000",
    .x10MonitorLength = 6,
    .enableIROn = "040000",
    .enableIROff = "050000",
    .enableX10On = "080000",
    .enableX10Off = "090000",
    .entry0Refused = false,
    .x10CheckColumns = {0, 1},
    .readGeneralReply = ReadGeneralReply,
    .generalSettingsLines = GeneralSettingsLines,
    .demoReplies = kDemoReplies,
};

std::string RouteWord(int output, int input) {
    return "0300" + std::to_string(output) + std::to_string(input);
}

}  // namespace tavo
