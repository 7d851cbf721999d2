#include "codes/clsX10Data.h"

#include "codes/X10HouseUnits.h"
#include "link/HexText.h"
#include "link/modCommon.h"

namespace tavo {

namespace {

struct FunctionRow {
    const char* key;
    const char* name;
};

// No function has the codes "8" or "C".
constexpr FunctionRow kFunctionRows[] = {
    {"0", "ALL UNITS OFF"},
    {"1", "ALL LIGHTS ON"},
    {"2", "ON"},
    {"3", "OFF"},
    {"4", "DIM"},
    {"5", "BRIGHT"},
    {"6", "ALL LIGHTS OFF"},
    {"7", "EXTENDED CODE"},
    {"9", "HAIL REQUEST"},
    {"A", "PRE-SET DIM A"},
    {"B", "PRE-SET DIM B"},
    {"D", "EXTENDED DATA"},
    {"E", "STATUS=3DON"},
    {"F", "STATUS REQUEST"},
};

bool IsWholeNumber(const std::string& s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

}  // namespace

clsX10Data::clsX10Data() {
    for (const X10HouseUnit& row : kX10HouseUnits) houses_.Add(row.house, row.code);
    for (const X10HouseUnit& row : kX10HouseUnits) units_.Add(row.unit, row.code);
    for (const FunctionRow& row : kFunctionRows) functions_.Add(row.name, row.key);
}

std::string clsX10Data::PickDigit(std::string_view hexCode, std::size_t posIn4, std::size_t posIn6) {
    std::string text = TrimUpper(hexCode);
    if (text.size() == 4) return text.substr(posIn4, 1);
    if (text.size() == 6) return text.substr(posIn6, 1);
    return text;
}

std::string clsX10Data::LookupDigit(const KeyedCollection<std::string>& table, const std::string& digit) {
    if (digit.size() != 1 || HexDigitValue(digit[0]) < 0) return {};
    const std::string* item = table.Find(digit);
    return item ? *item : std::string();
}

const std::string* clsX10Data::KeyOf(const KeyedCollection<std::string>& table, const std::string& item) {
    for (const auto& entry : table)
        if (entry.item == item) return &entry.key;
    return nullptr;
}

std::string clsX10Data::GetHouseCode(std::string_view hexCode) const {
    return LookupDigit(houses_, PickDigit(hexCode, 0, 2));
}

std::string clsX10Data::GetUnitCode(std::string_view hexCode) const {
    return LookupDigit(units_, PickDigit(hexCode, 1, 3));
}

std::string clsX10Data::GetFunctionStr(std::string_view hexCode) const {
    std::string text = TrimUpper(hexCode);
    if (text.empty()) return {};
    return LookupDigit(functions_, text.substr(text.size() - 1));
}

std::string clsX10Data::BuildString(std::string_view house, std::string_view unit,
                                    std::string_view func) const {
    std::string h = TrimUpper(house).substr(0, 1);
    std::string u = TrimUpper(unit).substr(0, 2);
    std::string f = TrimUpper(func);

    if (h.size() != 1 || h[0] < 'A' || h[0] > 'P') return {};
    if (!IsWholeNumber(u)) return {};
    int unitNumber = std::stoi(u);
    if (unitNumber < 1 || unitNumber > 16) return {};
    if (f.empty()) return {};

    // Units are matched as text, so "01" is a valid number but not a table entry.
    const std::string* houseCode = KeyOf(houses_, h);
    const std::string* unitCode = KeyOf(units_, u);
    const std::string* funcCode = KeyOf(functions_, f);
    if (!houseCode || !unitCode || !funcCode) return {};
    return *houseCode + *unitCode + *houseCode + *funcCode;
}

}  // namespace tavo
