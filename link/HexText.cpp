#include "HexText.h"

namespace tavo {

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::optional<int> HexValue(std::string_view s) {
    if (s.empty() || s.size() > 7) return std::nullopt;
    int value = 0;
    for (char c : s) {
        int digit = HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
    }
    return value;
}

}  // namespace tavo
