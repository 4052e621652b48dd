#pragma once

#include <utility>
#include <vector>

namespace pinsum {

// A small map that iterates in insertion order, so that results never depend on addresses.
// Lookups are linear: the maps it serves hold a handful of entries.
template <class K, class V> class OrderedMap {
public:
    using Entry = std::pair<K, V>;

    V* Find(const K& key) {
        for (auto& e : m_entries)
            if (e.first == key)
                return &e.second;
        return nullptr;
    }
    const V* Find(const K& key) const { return const_cast<OrderedMap*>(this)->Find(key); }
    bool Contains(const K& key) const { return Find(key) != nullptr; }

    V& operator[](const K& key) {
        if (V* v = Find(key))
            return *v;
        m_entries.emplace_back(key, V{});
        return m_entries.back().second;
    }

    void Erase(const K& key) {
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
            if (it->first == key) {
                m_entries.erase(it);
                return;
            }
    }

    void Clear() { m_entries.clear(); }
    void Reserve(size_t count) { m_entries.reserve(count); }
    bool Empty() const { return m_entries.empty(); }
    size_t Size() const { return m_entries.size(); }

    auto begin() { return m_entries.begin(); }
    auto end() { return m_entries.end(); }
    auto begin() const { return m_entries.begin(); }
    auto end() const { return m_entries.end(); }

    bool operator==(const OrderedMap&) const = default;

private:
    std::vector<Entry> m_entries;
};

} // namespace pinsum
