#pragma once
// Period label -> draw number of every draw a lottery has processed, in the order they were
// processed, kept compactly: a label of up to 17 digits is one 64-bit integer and a number of
// up to 8 digits one 32-bit integer, 12 bytes a draw (100,000 draws in about 1.2 MB). Labels
// or numbers of another form are kept as text beside them. Lookups by label are binary
// searches while the labels were added in rising order (as a feed adds them), linear otherwise.
//
// Entries are handed out by value (a pair of texts), so iteration reads like a dictionary's.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zuohao {

class DrawNumbers {
public:
    using Entry = std::pair<std::string, std::string>;

    class const_iterator {
    public:
        using iterator_category = std::bidirectional_iterator_tag;
        using value_type = Entry;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Entry;

        const_iterator() = default;
        const_iterator(const DrawNumbers* owner, std::size_t pos) : m_owner(owner), m_pos(pos) {}
        Entry operator*() const { return m_owner->at(m_pos); }
        const_iterator& operator++() { return ++m_pos, *this; }
        const_iterator& operator--() { return --m_pos, *this; }
        const_iterator operator++(int) { return {m_owner, m_pos++}; }
        const_iterator operator--(int) { return {m_owner, m_pos--}; }
        bool operator==(const const_iterator& o) const { return m_pos == o.m_pos; }

    private:
        const DrawNumbers* m_owner = nullptr;
        std::size_t m_pos = 0;
    };
    using const_reverse_iterator = std::reverse_iterator<const_iterator>;

    // Adds a new label at the end; returns false (and changes nothing) when it is held.
    bool Add(const std::string& label, const std::string& haoma);
    // Gives a held label another number in its place, or adds it at the end.
    void Set(const std::string& label, const std::string& haoma);
    void Remove(const std::string& label);
    void RemoveAll();

    bool Exists(const std::string& label) const { return positionOf(label).has_value(); }
    // Where a label stands, oldest first.
    std::optional<std::size_t> positionOf(const std::string& label) const;
    std::optional<std::string> find(const std::string& label) const;
    std::size_t Count() const { return m_labels.size(); }
    bool empty() const { return m_labels.empty(); }
    Entry at(std::size_t pos) const {
        return {labelText(m_labels[pos]), numberText(m_numbers[pos])};
    }
    Entry front() const { return at(0); }
    Entry back() const { return at(Count() - 1); }

    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, Count()}; }
    const_reverse_iterator rbegin() const { return const_reverse_iterator(end()); }
    const_reverse_iterator rend() const { return const_reverse_iterator(begin()); }

private:
    std::uint64_t labelCode(const std::string& label) const;
    std::uint32_t numberCode(const std::string& haoma);
    std::string labelText(std::uint64_t code) const;
    std::string numberText(std::uint32_t code) const;
    std::optional<std::uint64_t> packedLabel(const std::string& label) const;

    std::deque<std::uint64_t> m_labels;  // packed, or an index into m_oddLabels
    std::deque<std::uint32_t> m_numbers; // packed, or an index into m_oddNumbers
    std::vector<std::string> m_oddLabels, m_oddNumbers;
    bool m_rising = true; // every packed label is above the one before it
};

} // namespace zuohao
