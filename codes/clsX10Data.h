#pragma once
// The X-10 tables (house letters, unit numbers, function names, each keyed by
// its 4-bit code as one hexadecimal digit) and the conversion between an X-10
// code and the four-digit string the devices keep in their X-10 registers:
// house code, unit code, house code again, function code.

#include <string>
#include <string_view>

#include "link/KeyedCollection.h"

namespace tavo {

class clsX10Data {
  public:
    clsX10Data();

    // hexCode may be a four-digit X-10 code string, a six-character reply or
    // command word, or a single digit. Each gives "" when nothing matches.
    std::string GetHouseCode(std::string_view hexCode) const;
    std::string GetUnitCode(std::string_view hexCode) const;
    std::string GetFunctionStr(std::string_view hexCode) const;

    // The X-10 code string of house "A".."P", unit 1..16 and a function name, or "".
    std::string BuildString(std::string_view house, std::string_view unit, std::string_view func) const;

  private:
    // The digit that a house or unit lookup reads, by the length of the text.
    static std::string PickDigit(std::string_view hexCode, std::size_t posIn4, std::size_t posIn6);
    static std::string LookupDigit(const KeyedCollection<std::string>& table, const std::string& digit);
    static const std::string* KeyOf(const KeyedCollection<std::string>& table, const std::string& item);

    KeyedCollection<std::string> houses_;
    KeyedCollection<std::string> units_;
    KeyedCollection<std::string> functions_;
};

}  // namespace tavo
