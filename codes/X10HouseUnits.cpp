#include "codes/X10HouseUnits.h"

#include "link/HexText.h"

namespace tavo {

constinit const std::array<X10HouseUnit, 16> kX10HouseUnits = {{
    {"6", "A", "1"},
    {"E", "B", "2"},
    {"2", "C", "3"},
    {"A", "D", "4"},
    {"1", "E", "5"},
    {"9", "F", "6"},
    {"5", "G", "7"},
    {"D", "H", "8"},
    {"7", "I", "9"},
    {"F", "J", "10"},
    {"3", "K", "11"},
    {"B", "L", "12"},
    {"0", "M", "13"},
    {"8", "N", "14"},
    {"4", "O", "15"},
    {"C", "P", "16"},
}};

const X10HouseUnit* X10HouseUnitOfCode(int code) {
    for (const X10HouseUnit& row : kX10HouseUnits)
        if (HexDigitValue(row.code[0]) == code) return &row;
    return nullptr;
}

}  // namespace tavo
