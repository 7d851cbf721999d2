#include "codes/MonitorMessages.h"

#include <algorithm>
#include <optional>

#include "codes/X10HouseUnits.h"
#include "link/HexText.h"

namespace tavo {

namespace {

// The monitor's own display names of the sixteen function codes.
constexpr const char* kFunctionByCode[16] = {"All Units Off",
                                             "All Lights On",
                                             "On",
                                             "Off",
                                             "Dim",
                                             "Bright",
                                             "All Lights Off",
                                             "Extended Code",
                                             "Hail Request",
                                             "Hail Acknowledge",
                                             "Pre-Set Dim High",
                                             "Pre-Set Dim low",
                                             "Extended Data",
                                             "Status=on",
                                             "Status=off",
                                             "Status Request"};

std::string Without(std::string_view text, std::string_view characters) {
    std::string kept(text);
    kept.erase(std::remove_if(kept.begin(), kept.end(),
                              [characters](char c) { return characters.find(c) != std::string_view::npos; }),
               kept.end());
    return kept;
}

}  // namespace

bool DecodeIRMonitor(std::string_view message, std::string& group, std::string& key) {
    const std::string s = Without(message, " ");
    if (s.size() < kIRMonitorLength) return false;
    // Characters 1 and 6 frame the message and are not examined.
    const std::optional<int> g = HexValue(std::string_view(s).substr(1, 2));
    const std::optional<int> k = HexValue(std::string_view(s).substr(3, 2));
    if (!g || !k) return false;
    group = std::to_string(*g + 1);
    key = std::to_string(*k + 1);
    return true;
}

bool DecodeX10Monitor(std::size_t length, std::string_view message, std::string& house, std::string& unit,
                      std::string* function) {
    const std::string s = Without(message, "\t ");
    if (s.size() < 6 || s.size() != length || s.front() != '$' || s.back() != '+') return false;
    int h, u, f;
    if (length == 12) {
        // "$", four digits a, two characters not examined, four digits b, "+".
        const std::optional<int> a = HexValue(std::string_view(s).substr(1, 4));
        const std::optional<int> b = HexValue(std::string_view(s).substr(7, 4));
        if (!a || !b) return false;
        h = (*a & 0x1E0) >> 5;
        u = (*a & 0x1E) >> 1;
        f = (*b & 0x1E) >> 1;
    } else {
        // "$", house digit, unit digit, one character not examined, function digit, "+".
        h = HexDigitValue(s[1]);
        u = HexDigitValue(s[2]);
        f = HexDigitValue(s[4]);
        if (h < 0 || u < 0 || f < 0) return false;
    }
    house = X10HouseUnitOfCode(h)->house;
    unit = X10HouseUnitOfCode(u)->unit;
    if (function) *function = kFunctionByCode[f];
    return true;
}

X10MonitorText X10MonitorDisplay(std::size_t length, std::string_view received) {
    if (Without(received, " ").size() != length) return {"*", "*", "*"};
    X10MonitorText text;
    DecodeX10Monitor(length, received, text.house, text.unit, &text.function);
    return text;
}

}  // namespace tavo
