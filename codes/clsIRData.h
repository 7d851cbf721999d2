#pragma once
// Templates of the IR names of the twenty IR registers ("[REPLACE]" stands for
// the word naming the switched thing) and the IR code string: register code,
// group - 1 and key - 1, as three pairs of upper-case hexadecimal digits.

#include <cstdint>
#include <string>
#include <string_view>

#include "link/KeyedCollection.h"

namespace tavo {

class clsIRData {
  public:
    clsIRData();

    // The template of the code in the first two characters, or "".
    std::string GetCommandStr(std::string_view hexCode) const;

    // The IR code string of register code cmd ("90".."A3"), group and Key (1..256), or "".
    std::string BuildString(std::string_view cmd, std::int16_t group, std::int16_t Key) const;

    // Decodes a six-digit IR code string; the outputs are written only when it returns true.
    bool DecodeHexString(std::string_view sInput, std::string_view sReplace, std::string& cmdStr,
                         std::int16_t& group, std::int16_t& Key) const;

  private:
    // The table's key for the first two characters of text when it names a register, else "".
    std::string RegisterCode(std::string_view text) const;

    KeyedCollection<std::string> templates_;
};

}  // namespace tavo
