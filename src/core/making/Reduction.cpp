#include "core/making/Reduction.h"

#include <array>
#include <cstring>
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

constexpr int kMaxConditions = 8;

// One counting condition: the attribute it reads and, for every possible attribute mask,
// whether the number survives.
struct CountCondition {
    DigitMask SpaceAttrs::*attr;
    std::array<unsigned char, 1024> keep;
};

void buildKeep(CountCondition& c, DigitMask set, std::uint16_t allowed) {
    for (int m = 0; m < 1024; ++m)
        c.keep[m] = (allowed >> MaskCount(DigitMask(m & set))) & 1;
}

// Appends the fixed-width number texts of the two sides into preallocated buffers.
struct ListWriter {
    explicit ListWriter(bool fourDigit, int size)
        : width(fourDigit ? 4 : 3), base(std::size_t(size) * (width + 1)),
          comp(std::size_t(size) * (width + 1)) {}
    int width;
    std::vector<char> base, comp;
    std::size_t nb = 0, nc = 0;

    void put(bool toBase, std::string_view text) {
        std::vector<char>& buf = toBase ? base : comp;
        std::size_t& n = toBase ? nb : nc;
        std::memcpy(buf.data() + n, text.data(), std::size_t(width));
        buf[n + std::size_t(width)] = ' ';
        n += std::size_t(width) + 1;
    }
    ReductionOutput finish() const {
        ReductionOutput out;
        if (nb) out.base.assign(base.data(), nb - 1);
        if (nc) out.complement.assign(comp.data(), nc - 1);
        return out;
    }
};

std::string_view numberText(const NumberTables& t, bool fourDigit, int i) {
    return fourDigit ? t.four(i) : t.three(i);
}

} // namespace

Result<ReductionOutput> Reduce(const ConditionSet& set) {
    const NumberTables& tables = NumberTables::instance();
    const bool four = set.fourDigit();
    const int size = four ? 10000 : 1000;
    const SpaceAttrs* attrs = tables.attrs(four);

    // Conditions in the order the players know them: selection groups 4..0, bankers 0, 1.
    std::array<CountCondition, kMaxConditions> conds;
    int nConds = 0;
    static constexpr DigitMask SpaceAttrs::*kGroupAttr[5] = {
        &SpaceAttrs::digits, &SpaceAttrs::triple, &SpaceAttrs::pairSum, &SpaceAttrs::pairDiff,
        &SpaceAttrs::sumTail};
    for (int g = 4; g >= 0; --g) {
        if (set.SEL[g].empty() || set.CNT[g].empty()) continue;
        conds[nConds].attr = kGroupAttr[g];
        buildKeep(conds[nConds++], SelectionMask(set.SEL[g]), CountMask(set.CNT[g]));
    }
    for (int b = 0; b < 2; ++b) {
        if (set.DAN[b].empty()) continue;
        const std::string& counts = set.DCC[b].empty() ? std::string("1234") : set.DCC[b];
        conds[nConds].attr = &SpaceAttrs::digits;
        buildKeep(conds[nConds++], SelectionMask(set.DAN[b]), CountMask(counts));
    }
    const DigitMask killSpan = DigitsMask(set.KUA);
    std::uint8_t routes = 0;
    for (int k = 0; k < 4; ++k)
        if (set.KLU[k] != 0) routes |= std::uint8_t(1u << k);

    // Kill list: each piece names an index of the space by its numeric value (0 for a
    // piece that does not start with a number, a fraction rounded half to even as an
    // array subscript is); a value outside the space fails the whole run.
    std::vector<unsigned char> removed(std::size_t(size), 0);
    for (std::string_view piece : SplitNumberList(set.killList())) {
        const double value = NumericValue(piece);
        const long long v = value > -1e18 && value < 1e18 ? RoundHalfEven(value) : -1;
        if (v < 0 || v >= size)
            return fail(ErrorCode::KillListOutOfSpace,
                        "杀号 " + std::string(piece) + " 超出" + (four ? "四" : "三") +
                            "星号码范围",
                        std::string(piece));
        removed[std::size_t(v)] = 1;
    }

    ListWriter out(four, size);
    const bool fan = set.FAN;
    for (int i = 0; i < size; ++i) {
        const SpaceAttrs& a = attrs[i];
        bool gone = removed[std::size_t(i)] || (a.routes & routes) || (a.span & killSpan);
        for (int c = 0; !gone && c < nConds; ++c)
            gone = !conds[c].keep[a.*(conds[c].attr)];
        out.put(gone == fan, numberText(tables, four, i));
    }
    return out.finish();
}

ReductionOutput PartitionOnly(const unsigned char* removed, bool fourDigit, bool fan) {
    const NumberTables& tables = NumberTables::instance();
    const int size = fourDigit ? 10000 : 1000;
    ListWriter out(fourDigit, size);
    for (int i = 0; i < size; ++i)
        out.put((removed[i] != 0) == fan, numberText(tables, fourDigit, i));
    return out.finish();
}

} // namespace zuohao
