#include "codes/clsIRData.h"

#include <cstdio>

#include "link/HexText.h"
#include "link/modCommon.h"

namespace tavo {

namespace {

struct TemplateRow {
    const char* code;
    const char* text;
};

constexpr TemplateRow kTemplateRows[] = {
    {"90", "IR ALL [REPLACE]S ON"}, {"91", "IR [REPLACE] B ON"},     {"92", "IR [REPLACE] #1 ON"},
    {"93", "IR [REPLACE] #2 ON"},   {"94", "IR [REPLACE] #3 ON"},    {"95", "IR [REPLACE] #4 ON"},
    {"96", "IR [REPLACE] #5 ON"},   {"97", "IR [REPLACE] #6 ON"},    {"98", "IR [REPLACE] #7 ON"},
    {"99", "IR [REPLACE] #8 ON"},   {"9A", "IR ALL [REPLACE]S OFF"}, {"9B", "IR [REPLACE] B OFF"},
    {"9C", "IR [REPLACE] #1 OFF"},  {"9D", "IR [REPLACE] #2 OFF"},   {"9E", "IR [REPLACE] #3 OFF"},
    {"9F", "IR [REPLACE] #4 OFF"},  {"A0", "IR [REPLACE] #5 OFF"},   {"A1", "IR [REPLACE] #6 OFF"},
    {"A2", "IR [REPLACE] #7 OFF"},  {"A3", "IR [REPLACE] #8 OFF"},
};

constexpr std::string_view kPlaceholder = "[REPLACE]";

std::string ReplaceAll(const std::string& text, std::string_view what, std::string_view with) {
    std::string out;
    std::size_t from = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, from)) {
        out.append(text, from, at - from);
        out.append(with);
        from = at + what.size();
    }
    out.append(text, from, std::string::npos);
    return out;
}

}  // namespace

clsIRData::clsIRData() {
    for (const TemplateRow& row : kTemplateRows) templates_.Add(row.text, row.code);
}

std::string clsIRData::RegisterCode(std::string_view text) const {
    std::string code = UpperCase(TrimBlanks(text).substr(0, 2));
    // Every hexadecimal code from "90" to "A3" has a template, and only those.
    if (code.size() != 2 || HexDigitValue(code[0]) < 0 || HexDigitValue(code[1]) < 0) return {};
    if (code < "90" || code > "A3") return {};
    return templates_.Contains(code) ? code : std::string();
}

std::string clsIRData::GetCommandStr(std::string_view hexCode) const {
    std::string code = RegisterCode(hexCode);
    return code.empty() ? std::string() : *templates_.Find(code);
}

std::string clsIRData::BuildString(std::string_view cmd, std::int16_t group, std::int16_t Key) const {
    std::string code = RegisterCode(cmd);
    if (code.empty()) return {};
    if (group < 1 || group > 256 || Key < 1 || Key > 256) return {};
    char pairs[5];
    std::snprintf(pairs, sizeof pairs, "%02X%02X", group - 1, Key - 1);
    return code + pairs;
}

bool clsIRData::DecodeHexString(std::string_view sInput, std::string_view sReplace, std::string& cmdStr,
                                std::int16_t& group, std::int16_t& Key) const {
    std::string input = TrimUpper(sInput);
    std::string replace = TrimBlanks(sReplace);
    if (input.size() != 6 || replace.empty()) return false;

    // A word without a template or with non-hexadecimal digits decodes to nothing.
    std::string code = RegisterCode(input);
    std::optional<int> g = HexValue(std::string_view(input).substr(2, 2));
    std::optional<int> k = HexValue(std::string_view(input).substr(4, 2));
    if (code.empty() || !g || !k) return false;

    cmdStr = ReplaceAll(*templates_.Find(code), kPlaceholder, replace);
    group = static_cast<std::int16_t>(*g + 1);
    Key = static_cast<std::int16_t>(*k + 1);
    return true;
}

}  // namespace tavo
