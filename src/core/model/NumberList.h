#pragma once
// Number sets and number lists. A NumberSet holds numbers of the three- or four-digit space,
// one bit per number. A NumberList is what the condition set keeps as its base set (DAD) and
// complement (FJI): the numbers of a set (or those of its space outside it) as the reduction
// made them, or a text as the user typed it. Its text, the form the windows show and copy, is
// written only when asked for.
#include <array>
#include <bit>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zuohao {

inline constexpr int kThreeDigitSpace = 1000;
inline constexpr int kFourDigitSpace = 10000;

class NumberSet {
public:
    static constexpr int kMaxWords = (kFourDigitSpace + 63) / 64;

    explicit NumberSet(bool fourDigit) : m_four(fourDigit) {}

    bool fourDigit() const { return m_four; }
    int spaceSize() const { return m_four ? kFourDigitSpace : kThreeDigitSpace; }
    int width() const { return m_four ? 4 : 3; }
    int words() const { return (spaceSize() + 63) / 64; }
    bool has(int n) const { return m_bits[std::size_t(n) / 64] >> (unsigned(n) % 64) & 1u; }
    void add(int n) { m_bits[std::size_t(n) / 64] |= std::uint64_t(1) << (unsigned(n) % 64); }
    int count() const;
    // Word w holds numbers 64·w to 64·w + 63; bits beyond the space stay clear.
    std::uint64_t* data() { return m_bits.data(); }
    const std::uint64_t* data() const { return m_bits.data(); }
    // Clears the bits beyond the space (after word-wide writes).
    void trim();

private:
    std::array<std::uint64_t, kMaxWords> m_bits{};
    bool m_four;
};

class NumberList {
public:
    NumberList() = default;
    // A list as typed: kept exactly as given.
    NumberList(std::string text) : m_text(std::move(text)) {}
    NumberList(const char* text) : m_text(text) {}
    // The numbers of `set`, or with `complement` the numbers of its space outside it.
    NumberList(std::shared_ptr<const NumberSet> set, bool complement)
        : m_set(std::move(set)), m_complement(complement) {}

    // The list as text: a set's numbers ascending, leading zeros kept, single spaces between.
    std::string text() const;
    // The count (注): the pieces between single spaces.
    int count() const;
    bool empty() const { return m_set ? count() == 0 : m_text.empty(); }
    // True when `piece` occurs anywhere in the text (the plan's hit test).
    bool containsText(std::string_view piece) const;

private:
    bool holds(int n) const { return m_set->has(n) != m_complement; }

    std::shared_ptr<const NumberSet> m_set; // null for a typed text
    bool m_complement = false;
    std::string m_text;
};

} // namespace zuohao
