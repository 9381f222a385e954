// What one lookup gave during a walk, by index, so that each object is asked of the host
// once. The memo grows to the largest index the walk has asked for, never further, from
// the host's allocator; an index beyond its limit, or a memo that cannot grow, goes to the
// host each time.
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

private:
    static constexpr std::size_t kMostRemembered = std::size_t(1) << 26;

    bool Grow(std::size_t i) {
        if (i >= kMostRemembered || m_failed) {
            return false;
        }
        std::size_t size = m_size < 64 ? 64 : m_size;
        while (size <= i) {
            size *= 2;
        }
        size = size < kMostRemembered ? size : kMostRemembered;
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
    bool m_failed = false;
};

} // namespace pellorin::eqn
