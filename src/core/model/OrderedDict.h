#pragma once
// Dictionary that keeps insertion order (string keys unless told), with removal of its first
// entry. Keys are compared exactly.
#include <cassert>
#include <cstddef>
#include <list>
#include <string>
#include <unordered_map>
#include <utility>

namespace zuohao {

template <class V, class K = std::string> class OrderedDict {
public:
    using Entry = std::pair<K, V>;
    using const_iterator = typename std::list<Entry>::const_iterator;
    using const_reverse_iterator = typename std::list<Entry>::const_reverse_iterator;

    bool Exists(const K& key) const { return m_index.count(key) != 0; }
    // Adds a new key at the end; returns false (and changes nothing) when the key exists.
    bool Add(const K& key, V value) {
        if (Exists(key)) return false;
        m_items.emplace_back(key, std::move(value));
        m_index.emplace(key, std::prev(m_items.end()));
        return true;
    }
    // Adds the key at the end, or replaces the value of an existing key in its place.
    void Set(const K& key, V value) {
        if (auto it = m_index.find(key); it != m_index.end())
            it->second->second = std::move(value);
        else
            Add(key, std::move(value));
    }
    // The value of a key; a default value when absent.
    V Item(const K& key) const {
        const V* v = find(key);
        return v ? *v : V{};
    }
    void Remove(const K& key) {
        auto it = m_index.find(key);
        if (it == m_index.end()) return;
        m_items.erase(it->second);
        m_index.erase(it);
    }
    void RemoveFirst() {
        assert(!m_items.empty());
        m_index.erase(m_items.front().first);
        m_items.pop_front();
    }
    void RemoveAll() {
        m_items.clear();
        m_index.clear();
    }
    std::size_t Count() const { return m_items.size(); }
    bool empty() const { return m_items.empty(); }
    const V* find(const K& key) const {
        auto it = m_index.find(key);
        return it == m_index.end() ? nullptr : &it->second->second;
    }
    const Entry& front() const { return m_items.front(); }
    const Entry& back() const { return m_items.back(); }
    // Entry at a zero-based position (walks from the nearer end).
    const Entry& at(std::size_t pos) const {
        assert(pos < m_items.size());
        if (pos < m_items.size() / 2) return *std::next(m_items.begin(), long(pos));
        return *std::prev(m_items.end(), long(m_items.size() - pos));
    }
    const_iterator begin() const { return m_items.begin(); }
    const_iterator end() const { return m_items.end(); }
    const_reverse_iterator rbegin() const { return m_items.rbegin(); }
    const_reverse_iterator rend() const { return m_items.rend(); }

private:
    std::list<Entry> m_items;
    std::unordered_map<K, typename std::list<Entry>::iterator> m_index;
};

} // namespace zuohao
