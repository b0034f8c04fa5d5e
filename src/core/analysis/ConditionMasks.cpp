#include "core/analysis/ConditionMasks.h"

#include <map>
#include <memory>
#include <tuple>

#include "core/making/Reduction.h"
#include "core/model/Text.h"

namespace zuohao {

CountAttrs CountAttrsOf(const SpaceAttrs& a) {
    return {a.digits, a.triple, a.pairSum, a.pairDiff, a.sumTail};
}

namespace {

// The classes of one space: numbers with identical attribute masks.
struct SpaceClasses {
    std::vector<SpaceAttrs> attrs; // per class
    std::vector<int> members;      // per class
    std::vector<std::uint16_t> of; // class of each number
};

SpaceClasses buildClasses(bool four) {
    const int size = four ? 10000 : 1000;
    const SpaceAttrs* all = NumberTables::instance().attrs(four);
    SpaceClasses c;
    c.of.resize(std::size_t(size));
    std::map<std::tuple<int, int, int, int, int, int, int>, std::uint16_t> index;
    for (int i = 0; i < size; ++i) {
        const SpaceAttrs& a = all[i];
        const auto key = std::make_tuple(a.digits, a.triple, a.pairSum, a.pairDiff, a.sumTail,
                                         a.span, int(a.routes));
        auto [it, added] = index.emplace(key, std::uint16_t(c.attrs.size()));
        if (added) {
            c.attrs.push_back(a);
            c.members.push_back(0);
        }
        ++c.members[it->second];
        c.of[std::size_t(i)] = it->second;
    }
    return c;
}

const SpaceClasses& classesOf(bool four) {
    static const SpaceClasses three = buildClasses(false);
    static const SpaceClasses fourDigits = buildClasses(true);
    return four ? fourDigits : three;
}

} // namespace

Result<ConditionMasks> ConditionMasks::Compile(const ConditionSet& set) {
    ConditionMasks m;
    m.m_four = set.fourDigit();
    m.m_fan = set.FAN;
    const int size = m.spaceSize();
    for (int g = 0; g < kSelGroups; ++g) {
        m.m_sel[std::size_t(g)] = {g, SelectionMask(set.SEL[std::size_t(g)]),
                                   CountMask(set.CNT[std::size_t(g)])};
        m.m_hasCounts[std::size_t(g)] = !set.CNT[std::size_t(g)].empty();
        m.m_selActive[std::size_t(g)] =
            m.m_hasCounts[std::size_t(g)] && !set.SEL[std::size_t(g)].empty();
    }
    for (int b = 0; b < 2; ++b) {
        if (set.DAN[std::size_t(b)].empty()) continue;
        const std::string& counts = set.DCC[std::size_t(b)];
        m.m_bankers.push_back({0, SelectionMask(set.DAN[std::size_t(b)]),
                               CountMask(counts.empty() ? "1234" : counts)});
    }
    m.m_killSpan = DigitsMask(set.KUA);
    for (int k = 0; k < 4; ++k)
        if (set.KLU[std::size_t(k)] != 0) m.m_routes |= std::uint8_t(1u << k);

    // The kill list, read as the reduction reads it.
    for (std::string_view piece : SplitNumberList(set.killList())) {
        const double value = NumericValue(piece);
        const long long v = value > -1e18 && value < 1e18 ? RoundHalfEven(value) : -1;
        if (v < 0 || v >= size)
            return fail(ErrorCode::KillListOutOfSpace,
                        "杀号 " + std::string(piece) + " 超出" + (m.m_four ? "四" : "三") +
                            "星号码范围",
                        std::string(piece));
        if (m.m_killed.empty()) m.m_killed.assign(std::size_t(size), 0);
        m.m_killed[std::size_t(v)] = 1;
    }

    const SpaceClasses& classes = classesOf(m.m_four);
    std::vector<int> weight = classes.members;
    if (!m.m_killed.empty())
        for (int i = 0; i < size; ++i)
            if (m.m_killed[std::size_t(i)]) --weight[classes.of[std::size_t(i)]];
    for (std::size_t c = 0; c < classes.attrs.size(); ++c)
        if (weight[c] > 0 && !m.fixedRemoves(classes.attrs[c]))
            m.m_candidates.push_back({CountAttrsOf(classes.attrs[c]), weight[c]});
    return m;
}

bool ConditionMasks::fixedRemoves(const SpaceAttrs& a) const {
    if ((a.routes & m_routes) || (a.span & m_killSpan)) return true;
    const CountAttrs attrs = CountAttrsOf(a);
    for (const CountTest& t : m_bankers)
        if (!Passes(t, attrs)) return true;
    return false;
}

bool ConditionMasks::removes(int number) const {
    if (!m_killed.empty() && m_killed[std::size_t(number)]) return true;
    const SpaceAttrs& a = NumberTables::instance().attrs(m_four)[number];
    if (fixedRemoves(a)) return true;
    const CountAttrs attrs = CountAttrsOf(a);
    for (int g = 0; g < kSelGroups; ++g)
        if (m_selActive[std::size_t(g)] && !Passes(m_sel[std::size_t(g)], attrs)) return true;
    return false;
}

int ConditionMasks::baseSize() const {
    std::array<CountTest, kSelGroups> tests;
    int n = 0;
    for (int g = 0; g < kSelGroups; ++g)
        if (m_selActive[std::size_t(g)]) tests[std::size_t(n++)] = m_sel[std::size_t(g)];
    int kept = 0;
    for (const Candidate& c : m_candidates) {
        bool keep = true;
        for (int t = 0; keep && t < n; ++t)
            keep = Passes(tests[std::size_t(t)], c.attrs);
        kept += keep ? c.weight : 0;
    }
    return m_fan ? spaceSize() - kept : kept;
}

void ConditionMasks::setSelection(int g, DigitMask digits, bool active) {
    m_sel[std::size_t(g)].digits = digits;
    m_selActive[std::size_t(g)] = active && m_hasCounts[std::size_t(g)];
}

} // namespace zuohao
