// What one lookup gave during a walk, by index, so that each object is asked of the host
// once. The memo grows to the largest index the walk has asked for, never further, from
// the host's allocator, unless it was sized once for every index the walk can ask for; an
// index beyond its limit, or a memo that cannot grow, goes to the host each time.
#pragma once

#include <cstddef>
#include <cstring>

#include <vuzizev/alloc.h>

namespace pellorin::eqn {

template <class Element>
class WalkMemo {
public:
    WalkMemo() = default;
    WalkMemo(const WalkMemo&) = delete;
    WalkMemo& operator=(const WalkMemo&) = delete;
    ~WalkMemo() { MyFree(m_slots); }

    // The element at i: the one remembered, else lookup(i), remembered when not null.
    template <class Lookup>
    Element* Get(int i, Lookup&& lookup) {
        if (i >= 0 && std::size_t(i) < m_size && m_slots[i] != nullptr) {
            return m_slots[i];
        }
        Element* element = lookup(i);
        if (element != nullptr && i >= 0 && (std::size_t(i) < m_size || Grow(std::size_t(i)))) {
            m_slots[i] = element;
        }
        return element;
    }

    // Sizes an unused memo for the indices 0 to count - 1, all at once and never again:
    // no slack from growth, and a larger index goes to the host each time.
    void SizeOnce(std::size_t count) {
        if (m_size == 0 && !m_fixed && count > 0) {
            Resize(count < kMostRemembered ? count : kMostRemembered);
        }
        m_fixed = true;
    }

private:
    static constexpr std::size_t kMostRemembered = std::size_t(1) << 26;

    bool Grow(std::size_t i) {
        if (i >= kMostRemembered || m_fixed) {
            return false;
        }
        std::size_t size = m_size < 64 ? 64 : m_size;
        while (size <= i) {
            size *= 2;
        }
        return Resize(size < kMostRemembered ? size : kMostRemembered);
    }

    bool Resize(std::size_t size) {
        if (m_failed) {
            return false;
        }
        auto* slots = static_cast<Element**>(MyAllocate(size * sizeof(Element*)));
        if (slots == nullptr) {
            m_failed = true;
            return false;
        }
        if (m_size > 0) {
            std::memcpy(slots, m_slots, m_size * sizeof(Element*));
        }
        std::memset(static_cast<void*>(slots + m_size), 0, (size - m_size) * sizeof(Element*));
        MyFree(m_slots);
        m_slots = slots;
        m_size = size;
        return true;
    }

    Element** m_slots = nullptr;
    std::size_t m_size = 0;
    bool m_fixed = false;
    bool m_failed = false;
};

} // namespace pellorin::eqn

namespace pellorin::eqn {

// What a lookup over several indices gave lately: a small table with one place per index
// tuple, the last tuple that took the place kept there. A walk names the elements of one
// stencil several times in a row, so recent lookups are found again; the table's size is
// fixed, whatever the model's, and small: a stencil's elements are met again within a few
// nodes of its row, and a table per array that stays in the nearest cache is found faster.
// Taken from the host's allocator on first use; without it every lookup goes to the host.
template <class Element, int Rank>
class WalkCache {
public:
    WalkCache() = default;
    WalkCache(const WalkCache&) = delete;
    WalkCache& operator=(const WalkCache&) = delete;
    ~WalkCache() { MyFree(m_entries); }

    // `nodes` (the direction's node count, for a NodeMemo) is not needed here.
    template <class Lookup, class Nodes>
    Element* Get(const int* index, Lookup&& lookup, Nodes&&) {
        Entry* entry = Place(index);
        if (entry != nullptr && entry->element != nullptr && Same(entry->index, index)) {
            return entry->element;
        }
        Element* element = lookup();
        if (entry != nullptr && element != nullptr) {
            std::memcpy(entry->index, index, sizeof entry->index);
            entry->element = element;
        }
        return element;
    }

private:
    static constexpr unsigned kSize = 64;
    struct Entry {
        int index[Rank];
        Element* element;
    };

    static bool Same(const int* a, const int* b) {
        for (int d = 0; d < Rank; ++d) {
            if (a[d] != b[d]) {
                return false;
            }
        }
        return true;
    }

    Entry* Place(const int* index) {
        if (m_entries == nullptr) {
            if (m_failed) {
                return nullptr;
            }
            m_entries = static_cast<Entry*>(MyAllocate(kSize * sizeof(Entry)));
            if (m_entries == nullptr) {
                m_failed = true;
                return nullptr;
            }
            std::memset(static_cast<void*>(m_entries), 0, kSize * sizeof(Entry));
        }
        unsigned key = 0;
        for (int d = 0; d < Rank; ++d) {
            key = key * 0x9E3779B1u + unsigned(index[d]);
        }
        return &m_entries[key % kSize];
    }

    Entry* m_entries = nullptr;
    bool m_failed = false;
};

// Lookups over one direction, by node: the recent ones in a WalkCache, until the walk comes
// back over the direction (more lookups have reached the host than the direction has
// nodes); from then on every node's element is remembered, in a memo sized once for the
// direction's nodes. An array the walk passes over once takes no memo.
template <class Element>
class NodeMemo {
public:
    template <class Lookup, class Nodes>
    Element* Get(const int* index, Lookup&& lookup, Nodes&& nodes) {
        if (m_remembering) {
            return m_memo.Get(index[0], [&](int) { return lookup(); });
        }
        return m_recent.Get(
            index,
            [&] {
                if (m_lookups == 0) {
                    m_nodes = nodes();
                }
                if (++m_lookups > m_nodes) {
                    m_remembering = true;
                    m_memo.SizeOnce(m_nodes);
                    return m_memo.Get(index[0], [&](int) { return lookup(); });
                }
                return lookup();
            },
            nodes);
    }

private:
    WalkCache<Element, 1> m_recent;
    WalkMemo<Element> m_memo;
    std::size_t m_nodes = 0;
    std::size_t m_lookups = 0;
    bool m_remembering = false;
};

} // namespace pellorin::eqn
