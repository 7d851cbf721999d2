#pragma once
// Hexadecimal digits of command and reply words, read byte-wise.

#include <optional>
#include <string_view>

namespace tavo {

// The value of one hexadecimal digit (either case), or -1.
int HexDigitValue(char c);

// The value of a non-empty run of at most seven hexadecimal digits; nothing
// when the text is empty, too long or holds any other character.
std::optional<int> HexValue(std::string_view s);

}  // namespace tavo
