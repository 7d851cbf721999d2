#pragma once
// Text helpers of the code tables. They live in link/ beside the other text
// helpers: trimming and case (TrimBlanks, UpperCase, TrimUpper) and
// hexadecimal reads (HexValue, HexDigitValue).

#include "link/HexText.h"
#include "link/modCommon.h"

namespace tavo::code_text {

using tavo::TrimUpper;
using tavo::UpperCase;

}  // namespace tavo::code_text
