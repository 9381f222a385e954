#include "procedures/interpolate/side_block.h"

#include <atomic>
#include <cstdint>
#include <cstring>

#include <vuzizev/alloc.h>

namespace {

struct Entry {
    const void* owner;
    void* block;
};

// An open-addressed table with linear probing: a fixed one while few owners have blocks,
// else one from the host's allocator, kept until no owner has a block. So making a block
// takes one allocation, the block itself, in every case but a model with very many owners.
// Owners may live on different threads, so a spin lock guards the table.
constexpr std::size_t kFixedCapacity = 256;
Entry g_fixed[kFixedCapacity];
Entry* g_table = g_fixed;
std::size_t g_capacity = kFixedCapacity; // a power of two
std::size_t g_count = 0;
std::atomic_flag g_lock;

class Lock {
public:
    Lock() {
        while (g_lock.test_and_set(std::memory_order_acquire)) {
        }
    }
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
    ~Lock() { g_lock.clear(std::memory_order_release); }
};

std::size_t Home(const void* owner, std::size_t capacity) {
    const auto key = std::uint64_t(reinterpret_cast<std::uintptr_t>(owner));
    return std::size_t((key >> 3) * 0x9E3779B97F4A7C15ull >> 32) & (capacity - 1);
}

// The slot holding owner, or the empty slot where it would go.
std::size_t Probe(const Entry* table, std::size_t capacity, const void* owner) {
    std::size_t i = Home(owner, capacity);
    while (table[i].owner != nullptr && table[i].owner != owner) {
        i = (i + 1) & (capacity - 1);
    }
    return i;
}

// Room for one more entry at half load at most; false when memory runs out.
bool Reserve() {
    if (2 * (g_count + 1) <= g_capacity) {
        return true;
    }
    const std::size_t capacity = 2 * g_capacity;
    auto* table = static_cast<Entry*>(MyAllocate(capacity * sizeof(Entry)));
    if (table == nullptr) {
        return false;
    }
    std::memset(static_cast<void*>(table), 0, capacity * sizeof(Entry));
    for (std::size_t i = 0; i < g_capacity; ++i) {
        if (g_table[i].owner != nullptr) {
            table[Probe(table, capacity, g_table[i].owner)] = g_table[i];
        }
    }
    if (g_table != g_fixed) {
        MyFree(g_table);
    }
    g_table = table;
    g_capacity = capacity;
    return true;
}

// Empties slot i, moving back the entries after it that would no longer be found.
void Erase(std::size_t i) {
    const std::size_t mask = g_capacity - 1;
    std::size_t hole = i;
    for (std::size_t j = (i + 1) & mask; g_table[j].owner != nullptr; j = (j + 1) & mask) {
        const std::size_t home = Home(g_table[j].owner, g_capacity);
        // Moves back unless its home lies cyclically in (hole, j].
        if (((j - home) & mask) >= ((j - hole) & mask)) {
            g_table[hole] = g_table[j];
            hole = j;
        }
    }
    g_table[hole] = Entry{nullptr, nullptr};
    if (--g_count == 0 && g_table != g_fixed) {
        MyFree(g_table);
        std::memset(static_cast<void*>(g_fixed), 0, sizeof g_fixed);
        g_table = g_fixed;
        g_capacity = kFixedCapacity;
    }
}

} // namespace

namespace pellorin::side {

void* Find(const void* owner) {
    Lock lock;
    if (owner == nullptr) {
        return nullptr;
    }
    return g_table[Probe(g_table, g_capacity, owner)].block;
}

void* Make(const void* owner, std::size_t bytes) {
    if (owner == nullptr) {
        return nullptr;
    }
    void* block = MyAllocate(bytes);
    if (block == nullptr) {
        Release(owner);
        return nullptr;
    }
    std::memset(block, 0, bytes);
    Lock lock;
    Entry& entry = g_table[Probe(g_table, g_capacity, owner)];
    if (entry.owner != nullptr) {
        MyFree(entry.block);
        entry.block = block;
        return block;
    }
    if (!Reserve()) {
        MyFree(block);
        return nullptr;
    }
    g_table[Probe(g_table, g_capacity, owner)] = Entry{owner, block};
    ++g_count;
    return block;
}

void Release(const void* owner) {
    Lock lock;
    if (owner == nullptr) {
        return;
    }
    const std::size_t i = Probe(g_table, g_capacity, owner);
    if (g_table[i].owner != nullptr) {
        MyFree(g_table[i].block);
        Erase(i);
    }
}

} // namespace pellorin::side
