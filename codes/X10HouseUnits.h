#pragma once
// The X-10 standard's assignment of 4-bit codes to house letters and unit
// numbers: one code names a house letter and a unit number at once. The X-10
// tables (clsX10Data) key it by the code's hexadecimal digit; the monitor
// messages carry the code as a number.

#include <array>

namespace tavo {

struct X10HouseUnit {
    const char* code;  // the 4-bit code as one upper-case hexadecimal digit
    const char* house;
    const char* unit;  // decimal text
};

// In house-letter order, "A" to "P", the order in which the X-10 tables are filled.
extern const std::array<X10HouseUnit, 16> kX10HouseUnits;

// The row of a 4-bit code (0 to 15); nullptr for any other value.
const X10HouseUnit* X10HouseUnitOfCode(int code);

}  // namespace tavo
