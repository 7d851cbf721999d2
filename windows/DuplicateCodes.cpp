#include "windows/DuplicateCodes.h"

#include <set>

namespace tavo {

namespace {

// Collects the duplicate pairs of one check.
class Findings {
  public:
    explicit Findings(bool entry0Refused) : entry0Refused_(entry0Refused) {}

    void Pair(CodePosition a, CodePosition b) {
        marked_.insert(a);
        marked_.insert(b);
        if (entry0Refused_ && (a.entry == 0 || b.entry == 0))
            refused_ = true;
        else
            asked_ = true;
    }

    DuplicateFindings Result() const {
        return {{marked_.begin(), marked_.end()},
                refused_ ? DuplicateOutcome::Refused
                : asked_ ? DuplicateOutcome::Asked
                         : DuplicateOutcome::None};
    }

  private:
    bool entry0Refused_;
    bool refused_ = false;
    bool asked_ = false;
    std::set<CodePosition> marked_;
};

}  // namespace

DuplicateFindings FindDuplicateIRCodes(const std::array<CodeColumn, 2>& columns, bool entry0Refused) {
    Findings findings(entry0Refused);
    std::vector<CodePosition> all;
    for (int c = 0; c < 2; ++c)
        for (std::size_t i = 0; i < columns[static_cast<std::size_t>(c)].size(); ++i)
            all.push_back({c, static_cast<int>(i)});
    auto code = [&columns](CodePosition p) -> const ShownCode& {
        return columns[static_cast<std::size_t>(p.column)][static_cast<std::size_t>(p.entry)];
    };
    for (std::size_t a = 0; a < all.size(); ++a)
        for (std::size_t b = a + 1; b < all.size(); ++b)
            if (code(all[a]) == code(all[b])) findings.Pair(all[a], all[b]);
    return findings.Result();
}

DuplicateFindings FindDuplicateX10Codes(std::span<const CodeColumn> columns, std::array<int, 2> compared,
                                        bool entry0Refused) {
    Findings findings(entry0Refused);
    const CodeColumn& ref = columns[static_cast<std::size_t>(compared[0])];
    const CodeColumn& other = columns[static_cast<std::size_t>(compared[1])];
    for (std::size_t i = 0; i < ref.size(); ++i)
        for (std::size_t j = 0; j < other.size(); ++j)
            if (j != i && other[j] == ref[i])
                findings.Pair({compared[0], static_cast<int>(i)}, {compared[1], static_cast<int>(j)});
    return findings.Result();
}

}  // namespace tavo
