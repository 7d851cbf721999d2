#pragma once
// The device windows' duplicate-code rules, over the codes as the code lists
// show them and without the lists themselves: an IR code is a group and a key,
// an X-10 address a house and a unit, each the pair of texts shown. Two codes
// are equal when both texts are.
//
// A check finds every position that takes part in a duplicate (to be marked)
// and whether the write is refused (a code shared with entry 0, where entry 0
// is refused) or the user is asked whether to keep the duplicates.

#include <array>
#include <compare>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace tavo {

using ShownCode = std::pair<std::string, std::string>;
using CodeColumn = std::vector<ShownCode>;  // one code per entry

struct CodePosition {
    int column;
    int entry;
    auto operator<=>(const CodePosition&) const = default;
};

enum class DuplicateOutcome { None, Asked, Refused };

struct DuplicateFindings {
    std::vector<CodePosition> marked;  // in column order, then entry order; each once
    DuplicateOutcome outcome = DuplicateOutcome::None;
};

// IR codes, two columns (relay "on" and "off" codes, matrix outputs and
// inputs): any two positions with equal codes are a duplicate, the two codes
// of one entry included.
DuplicateFindings FindDuplicateIRCodes(const std::array<CodeColumn, 2>& columns, bool entry0Refused);

// X-10 addresses: the address of column compared[0] at each entry against that
// of column compared[1] at every other entry. The relay compares its one
// column with itself; the matrix its outputs with its inputs, so that output k
// and input k may share an address.
DuplicateFindings FindDuplicateX10Codes(std::span<const CodeColumn> columns, std::array<int, 2> compared,
                                        bool entry0Refused);

}  // namespace tavo
