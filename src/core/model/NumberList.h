#pragma once
// Number sets and number lists. A NumberSet holds numbers of the three- or four-digit space,
// one bit per number. A NumberList is what the condition set keeps as its base set (DAD) and
// complement (FJI), and what the monitor tests periods against: the numbers of a set (or those
// of its space outside it). A list the player types is read once into a set (NumberList::read).
// Its text, the form the windows show and copy, is written only when asked for.
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

struct NumberListRead;

class NumberList {
public:
    NumberList() = default; // no numbers
    // The numbers of `set`, or with `complement` the numbers of its space outside it.
    NumberList(std::shared_ptr<const NumberSet> set, bool complement)
        : m_set(std::move(set)), m_complement(complement) {}

    // Reads a typed list once: pieces between blanks (spaces, tabs, line breaks) that are
    // numbers of one width. The width is that of the first piece of three or four digits, or
    // without one the four-digit space when `fourDigit`. Pieces of another width, pieces that
    // are not numbers and repeats are counted, not kept. Numbers come out ascending.
    static NumberListRead read(std::string_view text, bool fourDigit);

    // The list as text: a set's numbers ascending, leading zeros kept, single spaces between.
    std::string text() const;
    // The count (注): the numbers held.
    int count() const;
    bool empty() const { return count() == 0; }
    // Whether the list holds four-digit numbers (false for an empty list made by default).
    bool fourDigit() const { return m_set && m_set->fourDigit(); }
    // True when `piece` occurs anywhere in the text (the plan's and the monitor's hit test),
    // by bit tests for position numbers: a number of the list's width is held; a three-digit
    // one lies inside a four-digit number as its first or last three digits; a four-digit one
    // is never inside three-digit numbers. Other pieces are searched in the text.
    bool containsText(std::string_view piece) const;
    // The same numbers in the same space.
    bool operator==(const NumberList& other) const;

private:
    bool holds(int n) const { return m_set->has(n) != m_complement; }

    std::shared_ptr<const NumberSet> m_set; // null: no numbers
    bool m_complement = false;
};

// What reading a typed list gave.
struct NumberListRead {
    NumberList list;
    int unreadable = 0; // pieces that name no number of the list's width
    int repeated = 0;   // numbers named again
};

} // namespace zuohao
