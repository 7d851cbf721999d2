#pragma once
// Case helpers of the code tables: the device words are plain ASCII, so case
// changes stay byte-wise. Trimming (TrimBlanks) and hexadecimal reads
// (HexValue, HexDigitValue) come from link/.

#include <string>
#include <string_view>

#include "link/HexText.h"
#include "link/modCommon.h"

namespace tavo::code_text {

// Upper-cases the ASCII letters; every other byte is kept.
std::string UpperCase(std::string_view s);
// TrimBlanks followed by UpperCase.
std::string TrimUpper(std::string_view s);

}  // namespace tavo::code_text
