#include "core/model/NumberTables.h"

#include <algorithm>
#include <cstdlib>

namespace zuohao {

std::string DistinctDigits(std::string_view text) {
    return MaskDigits(DigitsMask(text));
}

DigitMask DigitsMask(std::string_view text) {
    DigitMask m = 0;
    for (char c : text)
        if (c >= '0' && c <= '9') m |= DigitMask(1u << (c - '0'));
    return m;
}

std::string MaskDigits(DigitMask mask) {
    std::string out;
    for (int d = 0; d < 10; ++d)
        if (mask & (1u << d)) out.push_back(char('0' + d));
    return out;
}

const NumberTables& NumberTables::instance() {
    static const NumberTables* tables = new NumberTables();
    return *tables;
}

void BuildNumberTables() {
    (void)NumberTables::instance();
}

namespace {
DigitMask bit(int d) {
    return DigitMask(1u << d);
}
} // namespace

NumberTables::NumberTables() {
    for (int i = 0; i < 10000; ++i) {
        const int d[4] = {i / 1000, i / 100 % 10, i / 10 % 10, i % 10};
        for (int k = 0; k < 4; ++k)
            m_four[i][k] = char('0' + d[k]);

        std::array<DigitMask, static_cast<std::size_t>(InfoField::Count)> m{};
        auto set = [&](InfoField f, DigitMask v) { m[static_cast<std::size_t>(f)] = v; };
        set(InfoField::SumTail, bit((d[0] + d[1] + d[2] + d[3]) % 10));
        set(InfoField::Digits4, bit(d[0]) | bit(d[1]) | bit(d[2]) | bit(d[3]));
        set(InfoField::PairSums3,
            bit((d[1] + d[2]) % 10) | bit((d[1] + d[3]) % 10) | bit((d[2] + d[3]) % 10));
        set(InfoField::SumTail3, bit((d[1] + d[2] + d[3]) % 10));
        set(InfoField::TripleSums4,
            bit((d[0] + d[1] + d[2]) % 10) | bit((d[0] + d[1] + d[3]) % 10) |
                bit((d[0] + d[2] + d[3]) % 10) | bit((d[1] + d[2] + d[3]) % 10));
        set(InfoField::PairDiffs3,
            bit(std::abs(d[1] - d[2])) | bit(std::abs(d[1] - d[3])) | bit(std::abs(d[2] - d[3])));
        DigitMask ps4 = 0, pd4 = 0;
        for (int a = 0; a < 4; ++a)
            for (int b = a + 1; b < 4; ++b) {
                ps4 |= bit((d[a] + d[b]) % 10);
                pd4 |= bit(std::abs(d[a] - d[b]));
            }
        set(InfoField::PairSums4, ps4);
        set(InfoField::PairDiffs4, pd4);
        set(InfoField::Digits3, bit(d[1]) | bit(d[2]) | bit(d[3]));
        int max3 = std::max({d[1], d[2], d[3]}), min3 = std::min({d[1], d[2], d[3]});
        int max4 = std::max(max3, d[0]), min4 = std::min(min3, d[0]);
        set(InfoField::Span3, bit(max3 - min3));
        set(InfoField::Span4, bit(max4 - min4));

        Record& r = m_info[i];
        r.mask = m;
        for (std::size_t f = 0; f < m.size(); ++f) {
            std::string t = MaskDigits(m[f]);
            std::copy(t.begin(), t.end(), r.text[f].begin());
            r.len[f] = static_cast<std::uint8_t>(t.size());
        }

        auto field = [&](InfoField f) { return m[static_cast<std::size_t>(f)]; };
        // Route and pair switches: all digits in {0,3,6,9}, {1,4,7}, {2,5,8}; a repeated digit.
        auto routesOf = [&](const int* digits, int n) {
            std::uint8_t routes = 0;
            bool all0 = true, all1 = true, all2 = true;
            DigitMask seen = 0;
            bool pair = false;
            for (int k = 0; k < n; ++k) {
                all0 = all0 && digits[k] % 3 == 0;
                all1 = all1 && digits[k] % 3 == 1;
                all2 = all2 && digits[k] % 3 == 2;
                if (seen & bit(digits[k])) pair = true;
                seen |= bit(digits[k]);
            }
            if (all0) routes |= 1;
            if (all1) routes |= 2;
            if (all2) routes |= 4;
            if (pair) routes |= 8;
            return routes;
        };
        m_attrs4[i] = SpaceAttrs{field(InfoField::Digits4),
                                 field(InfoField::TripleSums4),
                                 field(InfoField::PairSums4),
                                 field(InfoField::PairDiffs4),
                                 field(InfoField::SumTail),
                                 field(InfoField::Span4),
                                 routesOf(d, 4)};
        if (i < 1000)
            m_attrs3[i] = SpaceAttrs{field(InfoField::Digits3),   field(InfoField::SumTail3),
                                     field(InfoField::PairSums3), field(InfoField::PairDiffs3),
                                     field(InfoField::SumTail),   field(InfoField::Span3),
                                     routesOf(d + 1, 3)};
    }
}

} // namespace zuohao
