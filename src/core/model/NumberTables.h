#pragma once
// The number tables: every four-digit number 0000-9999 (and every three-digit number
// 000-999 through the record of its four-digit form 0xyz) described once by its
// features, as texts and as 10-bit digit masks (bit d set = digit d present).
#include <array>
#include <bit>
#include <cassert>
#include <cstdint>
#include <string>
#include <string_view>

namespace zuohao {

enum class InfoField : std::uint8_t {
    SumTail,
    Digits4,
    PairSums3,
    SumTail3,
    TripleSums4,
    PairDiffs3,
    PairSums4,
    PairDiffs4,
    Digits3,
    Span3,
    Span4,
    Count
};

using DigitMask = std::uint16_t;

// Precomputed masks of one number in one space (three- or four-digit).
struct SpaceAttrs {
    DigitMask digits;    // digit set
    DigitMask triple;    // triple-sum tails
    DigitMask pairSum;   // pair-sum tails
    DigitMask pairDiff;  // pair differences
    DigitMask sumTail;   // sum tail (one bit)
    DigitMask span;      // span (one bit)
    std::uint8_t routes; // bit k: removed by route/pair switch k
};

class NumberTables {
public:
    static const NumberTables& instance();

    std::string_view four(int i) const {
        assert(i >= 0 && i < 10000);
        return {m_four[i].data(), 4};
    }
    std::string_view three(int i) const {
        assert(i >= 0 && i < 1000);
        return {m_four[i].data() + 1, 3};
    }
    std::string_view info(int i, InfoField f) const {
        assert(i >= 0 && i < 10000);
        const auto& r = m_info[i];
        auto k = static_cast<std::size_t>(f);
        return {r.text[k].data(), r.len[k]};
    }
    DigitMask infoMask(int i, InfoField f) const {
        assert(i >= 0 && i < 10000);
        return m_info[i].mask[static_cast<std::size_t>(f)];
    }
    const SpaceAttrs& attrs3(int i) const {
        assert(i >= 0 && i < 1000);
        return m_attrs3[i];
    }
    const SpaceAttrs& attrs4(int i) const {
        assert(i >= 0 && i < 10000);
        return m_attrs4[i];
    }
    const SpaceAttrs* attrs(bool fourDigit) const {
        return fourDigit ? m_attrs4.data() : m_attrs3.data();
    }

private:
    NumberTables();
    struct Record {
        std::array<std::array<char, 7>, static_cast<std::size_t>(InfoField::Count)> text;
        std::array<std::uint8_t, static_cast<std::size_t>(InfoField::Count)> len;
        std::array<DigitMask, static_cast<std::size_t>(InfoField::Count)> mask;
    };
    std::array<std::array<char, 4>, 10000> m_four;
    std::array<Record, 10000> m_info;
    std::array<SpaceAttrs, 1000> m_attrs3;
    std::array<SpaceAttrs, 10000> m_attrs4;
};

// Builds the tables (once; later calls do nothing).
void BuildNumberTables();

// Readers of the tables under the names the rest of the program uses (a view into the
// tables, which are built on first use).
inline std::string_view FourDigitNumbers(int i) {
    return NumberTables::instance().four(i);
}
inline std::string_view ThreeDigitNumbers(int i) {
    return NumberTables::instance().three(i);
}
inline std::string_view NumberInfo(int i, InfoField f) {
    return NumberTables::instance().info(i, f);
}

// The distinct digits of a text, ascending; other characters are dropped.
std::string DistinctDigits(std::string_view text);

// Mask of the digits in a text; other characters are ignored.
DigitMask DigitsMask(std::string_view text);

// Ascending digit text of a mask.
std::string MaskDigits(DigitMask mask);

// Number of set bits of a 10-bit mask.
inline int MaskCount(DigitMask m) {
    static constexpr auto table = [] {
        std::array<std::uint8_t, 1024> t{};
        for (int i = 0; i < 1024; ++i)
            t[i] = static_cast<std::uint8_t>(std::popcount(unsigned(i)));
        return t;
    }();
    return table[m & 1023];
}

} // namespace zuohao
