#pragma once
// Small text helpers of the code tables (kept in their own namespace): the device words are plain
// ASCII, so case changes and hexadecimal reads stay byte-wise.

#include <optional>
#include <string>
#include <string_view>

namespace tavo::code_text {

// Removes leading and trailing blanks (spaces only; tabs are kept).
std::string TrimBlanks(std::string_view s);
// Upper-cases the ASCII letters; every other byte is kept.
std::string UpperCase(std::string_view s);
// TrimBlanks followed by UpperCase.
std::string TrimUpper(std::string_view s);

bool IsHexDigit(char c);
// Value of a non-empty run of hexadecimal digits (at most 7 of them); nothing
// when the text is empty, too long or holds any other character.
std::optional<int> HexValue(std::string_view s);

}  // namespace tavo::code_text
