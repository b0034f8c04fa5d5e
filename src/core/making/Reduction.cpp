#include "core/making/Reduction.h"

#include <array>
#include <memory>
#include <vector>

#include "core/model/Text.h"

namespace zuohao {

DigitMask SelectionMask(std::string_view sel) {
    DigitMask m = 0;
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    for (std::size_t i = 0; i < sel.size(); ++i) {
        char c = sel[i];
        if (!isDigit(c)) continue;
        if (i + 2 < sel.size() && sel[i + 1] == '-' && isDigit(sel[i + 2]) && sel[i + 2] >= c) {
            for (char d = c; d <= sel[i + 2]; ++d)
                m |= DigitMask(1u << (d - '0'));
            i += 2;
            continue;
        }
        m |= DigitMask(1u << (c - '0'));
    }
    return m;
}

std::uint16_t CountMask(std::string_view counts) {
    return DigitsMask(counts);
}

namespace {

using Word = std::uint64_t;
constexpr int kWords = NumberSet::kMaxWords;
using Bits = std::array<Word, kWords>;

// The attributes a condition reads, in the order of the selection groups, then the span.
enum Attr { kDigits, kTriple, kPairSum, kPairDiff, kSumTail, kSpan, kAttrCount };
constexpr int kRoutes = 4;

// For one number space: per attribute and digit, the numbers whose attribute holds the
// digit; per route or pair switch, the numbers it removes. Built once.
struct SpaceBits {
    std::array<std::array<Bits, 10>, kAttrCount> attr{};
    std::array<Bits, kRoutes> route{};

    explicit SpaceBits(bool four) {
        const NumberTables& tables = NumberTables::instance();
        const int size = four ? kFourDigitSpace : kThreeDigitSpace;
        for (int n = 0; n < size; ++n) {
            const SpaceAttrs& a = four ? tables.attrs4(n) : tables.attrs3(n);
            const DigitMask masks[kAttrCount] = {a.digits,   a.triple,  a.pairSum,
                                                 a.pairDiff, a.sumTail, a.span};
            const Word bit = Word(1) << (n % 64);
            for (int k = 0; k < kAttrCount; ++k)
                for (int d = 0; d < 10; ++d)
                    if (masks[k] >> d & 1) attr[std::size_t(k)][std::size_t(d)][n / 64] |= bit;
            for (int r = 0; r < kRoutes; ++r)
                if (a.routes >> r & 1) route[std::size_t(r)][n / 64] |= bit;
        }
    }
    static const SpaceBits& of(bool four) {
        static const SpaceBits* three = new SpaceBits(false);
        static const SpaceBits* fourDigit = new SpaceBits(true);
        return four ? *fourDigit : *three;
    }
};

// No attribute holds more than six digits, so a match count fits three bit planes.
constexpr int kMaxCount = 7;

// A counting condition: the number survives when the count of its attribute's digits among
// `digits` is allowed.
struct CountCondition {
    const Bits* digitBits[10]; // the attribute's numbers for each condition digit
    int digitCount = 0;
    std::uint8_t allowed = 0; // bit n: count n allowed (n up to kMaxCount)
};

CountCondition compile(const SpaceBits& bits, Attr attr, DigitMask digits, std::uint16_t allowed) {
    CountCondition c;
    for (int d = 0; d < 10; ++d)
        if (digits >> d & 1) c.digitBits[c.digitCount++] = &bits.attr[attr][std::size_t(d)];
    c.allowed = std::uint8_t(allowed & ((1u << (kMaxCount + 1)) - 1));
    return c;
}

// The numbers of word w that the condition keeps: the match counts are added up in three bit
// planes, then compared with each allowed count.
Word keeps(const CountCondition& c, int w) {
    Word p0 = 0, p1 = 0, p2 = 0;
    for (int k = 0; k < c.digitCount; ++k) {
        const Word x = (*c.digitBits[k])[std::size_t(w)];
        const Word carry0 = p0 & x;
        p0 ^= x;
        const Word carry1 = p1 & carry0;
        p1 ^= carry0;
        p2 ^= carry1;
    }
    Word keep = 0;
    for (int n = 0; n <= kMaxCount; ++n) {
        if (!(c.allowed >> n & 1)) continue;
        keep |= (n & 1 ? p0 : ~p0) & (n & 2 ? p1 : ~p1) & (n & 4 ? p2 : ~p2);
    }
    return keep;
}

} // namespace

Result<ReductionOutput> Reduce(const ConditionSet& set) {
    const bool four = set.fourDigit();
    const SpaceBits& bits = SpaceBits::of(four);
    auto base = std::make_shared<NumberSet>(four);
    const int size = base->spaceSize();

    // Kill list: each piece names an index of the space by its numeric value (0 for a
    // piece that does not start with a number, a fraction rounded half to even as an
    // array subscript is); a value outside the space fails the whole run.
    Word* removed = base->data(); // the removed numbers first, then the base set in place
    for (std::string_view piece : SplitNumberList(set.killList())) {
        const double value = NumericValue(piece);
        const long long v = value > -1e18 && value < 1e18 ? RoundHalfEven(value) : -1;
        if (v < 0 || v >= size)
            return fail(ErrorCode::KillListOutOfSpace,
                        "杀号 " + std::string(piece) + " 超出" + (four ? "四" : "三") +
                            "星号码范围",
                        std::string(piece));
        removed[v / 64] |= Word(1) << (v % 64);
    }

    // Conditions in the order the players know them: selection groups 4..0, bankers 0, 1.
    std::vector<CountCondition> conds;
    conds.reserve(kSelGroups + 2);
    static constexpr Attr kGroupAttr[kSelGroups] = {kDigits, kTriple, kPairSum, kPairDiff,
                                                    kSumTail};
    for (int g = kSelGroups - 1; g >= 0; --g) {
        const auto i = std::size_t(g);
        if (set.SEL[i].empty() || set.CNT[i].empty()) continue;
        conds.push_back(
            compile(bits, kGroupAttr[i], SelectionMask(set.SEL[i]), CountMask(set.CNT[i])));
    }
    for (std::size_t b = 0; b < set.DAN.size(); ++b) {
        if (set.DAN[b].empty()) continue;
        const std::string_view counts =
            set.DCC[b].empty() ? std::string_view("1234") : std::string_view(set.DCC[b]);
        conds.push_back(compile(bits, kDigits, SelectionMask(set.DAN[b]), CountMask(counts)));
    }
    // The kill span and the switches remove whole lists.
    std::vector<const Bits*> lists;
    const DigitMask killSpan = DigitsMask(set.KUA);
    for (int d = 0; d < 10; ++d)
        if (killSpan >> d & 1) lists.push_back(&bits.attr[kSpan][std::size_t(d)]);
    for (int r = 0; r < kRoutes; ++r)
        if (set.KLU[std::size_t(r)] != 0) lists.push_back(&bits.route[std::size_t(r)]);

    const bool fan = set.FAN;
    for (int w = 0; w < base->words(); ++w) {
        Word gone = removed[w];
        for (const Bits* list : lists)
            gone |= (*list)[std::size_t(w)];
        for (const CountCondition& c : conds)
            gone |= ~keeps(c, w);
        removed[w] = fan ? gone : ~gone;
    }
    base->trim();
    std::shared_ptr<const NumberSet> shared = std::move(base);
    return ReductionOutput{NumberList(shared, false), NumberList(shared, true)};
}

} // namespace zuohao
