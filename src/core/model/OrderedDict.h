#pragma once
// Dictionary that keeps insertion order (string keys unless told), with removal of its first
// entry. Keys are compared exactly.
//
// Entries sit in a deque in insertion order; the index is an open-addressing table of 32-bit
// sequence numbers (linear probing, backward-shift deletion), so an entry costs its key and
// value plus a few bytes.
// Adding at the end and removing the first entry keep references to the other entries valid;
// Remove() of an entry in the middle and RemoveAll() do not.
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace zuohao {

template <class V, class K = std::string> class OrderedDict {
public:
    using Entry = std::pair<K, V>;
    using const_iterator = typename std::deque<Entry>::const_iterator;
    using const_reverse_iterator = typename std::deque<Entry>::const_reverse_iterator;

    bool Exists(const K& key) const { return slotOf(key) != kNoSlot; }
    // Adds a new key at the end; returns false (and changes nothing) when the key exists.
    bool Add(const K& key, V value) {
        if (Exists(key)) return false;
        growFor(m_items.size() + 1);
        m_items.emplace_back(key, std::move(value));
        place(m_base + std::uint32_t(m_items.size() - 1));
        return true;
    }
    // Adds the key at the end, or replaces the value of an existing key in its place.
    void Set(const K& key, V value) {
        if (const std::size_t s = slotOf(key); s != kNoSlot)
            entryAt(s).second = std::move(value);
        else
            Add(key, std::move(value));
    }
    // The value of a key; a default value when absent.
    V Item(const K& key) const {
        const V* v = find(key);
        return v ? *v : V{};
    }
    void Remove(const K& key) {
        const std::size_t s = slotOf(key);
        if (s == kNoSlot) return;
        if (m_slots[s] == m_base) return RemoveFirst();
        m_items.erase(m_items.begin() + long(m_slots[s] - m_base));
        rebuildIndex(m_slots.size());
    }
    void RemoveFirst() {
        assert(!m_items.empty());
        erase(slotOf(m_items.front().first));
        m_items.pop_front();
        ++m_base;
        if (m_items.empty()) {
            m_base = 0;
        } else if (m_base >= kRenumberAt) { // sequence numbers stay clear of kEmpty
            m_base = 0;
            rebuildIndex(m_slots.size());
        }
    }
    void RemoveAll() {
        m_items.clear();
        m_slots.clear();
        m_base = 0;
    }
    std::size_t Count() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    const V* find(const K& key) const {
        const std::size_t s = slotOf(key);
        return s == kNoSlot ? nullptr : &entryAt(s).second;
    }
    const Entry& front() const { return m_items.front(); }
    const Entry& back() const { return m_items.back(); }
    // Entry at a zero-based position.
    const Entry& at(std::size_t pos) const {
        assert(pos < m_items.size());
        return m_items[pos];
    }
    const_iterator begin() const { return m_items.begin(); }
    const_iterator end() const { return m_items.end(); }
    const_reverse_iterator rbegin() const { return m_items.rbegin(); }
    const_reverse_iterator rend() const { return m_items.rend(); }

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
    static constexpr std::size_t kNoSlot = std::size_t(-1);
    static constexpr std::size_t kFirstTableSize = 16;
    static constexpr std::uint32_t kRenumberAt = 0x80000000u;

    std::size_t home(const K& key) const { return std::hash<K>{}(key) & (m_slots.size() - 1); }
    Entry& entryAt(std::size_t slot) { return m_items[m_slots[slot] - m_base]; }
    const Entry& entryAt(std::size_t slot) const { return m_items[m_slots[slot] - m_base]; }

    std::size_t slotOf(const K& key) const {
        if (m_slots.empty()) return kNoSlot;
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t s = home(key);; s = (s + 1) & mask) {
            if (m_slots[s] == kEmpty) return kNoSlot;
            if (entryAt(s).first == key) return s;
        }
    }
    // Puts a sequence number (of an entry already in m_items) into the table.
    void place(std::uint32_t seq) {
        const std::size_t mask = m_slots.size() - 1;
        std::size_t s = home(m_items[seq - m_base].first);
        while (m_slots[s] != kEmpty)
            s = (s + 1) & mask;
        m_slots[s] = seq;
    }
    // Empties a slot and moves later members of its probe run back so none is cut off.
    void erase(std::size_t hole) {
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t s = (hole + 1) & mask; m_slots[s] != kEmpty; s = (s + 1) & mask) {
            const std::size_t h = home(entryAt(s).first);
            // The entry at s may fill the hole when its home is not in (hole, s].
            if (((s - h) & mask) >= ((s - hole) & mask)) {
                m_slots[hole] = m_slots[s];
                hole = s;
            }
        }
        m_slots[hole] = kEmpty;
    }
    // The table stays at most half full.
    void growFor(std::size_t count) {
        if (count * 2 <= m_slots.size()) return;
        rebuildIndex(m_slots.empty() ? kFirstTableSize : m_slots.size() * 2);
    }
    void rebuildIndex(std::size_t size) {
        m_slots.assign(size, kEmpty);
        for (std::size_t i = 0; i < m_items.size(); ++i)
            place(m_base + std::uint32_t(i));
    }

    std::deque<Entry> m_items;
    std::vector<std::uint32_t> m_slots; // sequence numbers; entry = m_items[seq - m_base]
    std::uint32_t m_base = 0;           // sequence number of m_items.front()
};

} // namespace zuohao
