#pragma once
// A condition set compiled to digit masks: tells whether the set removes one number, and
// counts the base set without writing any list. Every number of a space is described by
// its attribute masks; numbers with equal masks (permutations of one another) form a
// class, so a count walks the few hundred classes instead of the whole space.
#include <array>
#include <cstdint>
#include <vector>

#include "core/model/ConditionSet.h"
#include "core/model/NumberTables.h"
#include "core/model/Result.h"

namespace zuohao {

// One counting test: the number survives when the count of its attribute's digits in
// `digits` is one of the allowed counts.
struct CountTest {
    int attr = 0;              // 0 digit set, 1 triple-sum tails, 2 pair-sum tails, 3 pair
                               // differences, 4 sum tail (the selection groups' attributes)
    DigitMask digits = 0;      // the selection (or banker) digits
    std::uint16_t allowed = 0; // bit n set: count n allowed
};

// The attribute masks a count test reads, indexed like CountTest::attr.
using CountAttrs = std::array<DigitMask, 5>;
CountAttrs CountAttrsOf(const SpaceAttrs& a);

inline bool Passes(const CountTest& t, const CountAttrs& a) {
    return (t.allowed >> MaskCount(DigitMask(a[std::size_t(t.attr)] & t.digits))) & 1u;
}

class ConditionMasks {
public:
    // Fails as the reduction does: a kill-list piece outside the number space.
    static Result<ConditionMasks> Compile(const ConditionSet& set);

    bool fourDigit() const { return m_four; }
    int spaceSize() const { return m_four ? 10000 : 1000; }
    bool complementMode() const { return m_fan; }

    // The conditions remove this number (index of the space).
    bool removes(int number) const;
    // The number is in the base set (a removed one in complement mode).
    bool inBase(int number) const { return removes(number) == m_fan; }
    // Size of the base set.
    int baseSize() const;

    // Selection group g (0-4) with new digits; `active` = its SEL text is not empty.
    void setSelection(int g, DigitMask digits, bool active);

private:
    struct Candidate {
        CountAttrs attrs;
        int weight; // numbers of the class that no fixed condition removes
    };
    bool fixedRemoves(const SpaceAttrs& a) const;

    bool m_four = false;
    bool m_fan = false;
    std::array<CountTest, kSelGroups> m_sel{};
    std::array<bool, kSelGroups> m_selActive{};
    std::array<bool, kSelGroups> m_hasCounts{}; // a group without counts never takes part
    std::vector<CountTest> m_bankers;
    DigitMask m_killSpan = 0;
    std::uint8_t m_routes = 0;
    std::vector<unsigned char> m_killed; // per number; empty when there is no kill list
    std::vector<Candidate> m_candidates; // classes left by the fixed conditions
};

} // namespace zuohao
