// The host's allocator: accounting and injected failures over two kinds of block.
//
// Small blocks (up to kLargestSmall bytes, the size of most model objects) are cut from
// slabs, one size class per 8 bytes, with no header: a model of 10^8 equations holds about
// as many elements, so a header and malloc's own overhead would cost a quarter of each. A
// slab is kSlabBytes aligned to its size, so a block finds its slab by masking its address;
// the slab keeps a bit per block that tells whether it is handed out. A class gives its
// slabs back to the system when its last block is freed.
//
// Larger blocks come from malloc with a small header holding their size and a marker. Either
// way a free of memory the allocator never handed out (or handed out and took back) is
// counted instead of corrupting the heap.
#if !defined(_WIN32)
#include <sys/mman.h>
#endif

#include <cstdint>
#include <cstdlib>
#include <unordered_map>
#include <vector>

#include "control.h"
#include "vuzizev/alloc.h"
#include "vuzizev/testing.h"

namespace {

constexpr std::uint64_t kLiveMarker = 0x5a56'4c49'5645'0001ULL;
constexpr std::uint64_t kDeadMarker = 0x5a56'4445'4144'0002ULL;

struct alignas(16) BlockHeader {
    std::uint64_t size;
    std::uint64_t marker;
};

#if defined(_WIN32)
constexpr bool kSlabs = false; // the Windows build carries the interface check only
#elif defined(__SANITIZE_ADDRESS__)
constexpr bool kSlabs = false; // every block its own, so the sanitizer sees each one
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSlabs = false;
#else
constexpr bool kSlabs = true;
#endif
#else
constexpr bool kSlabs = true;
#endif

constexpr std::size_t kGrain = 8;
constexpr std::size_t kLargestSmall = 128;
constexpr std::size_t kClasses = kLargestSmall / kGrain;
constexpr std::size_t kSlabBytes = std::size_t(1) << 20;

// A block of a size that is an odd multiple of 8 only ever holds objects aligned to at most
// 8; the other classes keep 16-byte alignment, as malloc gives.
constexpr std::size_t ClassOf(std::size_t size) {
    return size == 0 ? 0 : (size - 1) / kGrain;
}
constexpr std::size_t BlockBytes(std::size_t sizeClass) {
    return (sizeClass + 1) * kGrain;
}

// A slab's number (0: none) and an 8-byte step inside it make a 31-bit handle of any address
// in the slab, which the equation store keeps instead of a pointer.
constexpr unsigned kStepBits = 17; // kSlabBytes / 8 steps
constexpr std::uint32_t kMaxSlabNumber = (std::uint32_t(1) << (31 - kStepBits)) - 1;
static_assert(kSlabBytes / 8 == std::size_t(1) << kStepBits);

struct Slab {
    std::size_t sizeClass;
    std::vector<std::uint64_t> handedOut; // one bit per block
    std::uint32_t number;
};

struct SizeClass {
    void* freeList = nullptr; // each free block holds the next one's address
    char* bump = nullptr;     // the untouched rest of the newest slab
    char* bumpEnd = nullptr;
    std::size_t live = 0;
    std::vector<char*> slabs;
};

struct AllocatorState {
    vzt::AllocatorStats stats;
    std::size_t failCountdown = 0;
    bool failAll = false;
    SizeClass classes[kClasses];
    std::unordered_map<std::uintptr_t, Slab> slabs;
    std::vector<char*> numbered = std::vector<char*>(1); // by number; null when free
    std::vector<std::uint32_t> freeNumbers;
    // The slabs found lately, by the low bits of their number in the address space: blocks
    // are mostly used near the ones used just before.
    struct Found {
        std::uintptr_t base = 0;
        Slab* slab = nullptr;
    };
    static constexpr std::size_t kFoundSize = 1024;
    Found found[kFoundSize];
};

// Never destroyed: objects that outlive static destruction still free their blocks here.
AllocatorState& State() {
    static AllocatorState* state = new AllocatorState;
    return *state;
}

bool ShouldFail() {
    AllocatorState& s = State();
    if (s.failAll) {
        return true;
    }
    if (s.failCountdown > 0 && --s.failCountdown == 0) {
        return true;
    }
    return false;
}

Slab* SlabOf(AllocatorState& s, const void* p) {
    const std::uintptr_t base = std::uintptr_t(p) & ~std::uintptr_t(kSlabBytes - 1);
    AllocatorState::Found& recent = s.found[(base / kSlabBytes) % AllocatorState::kFoundSize];
    if (recent.base == base && recent.slab != nullptr) {
        return recent.slab;
    }
    if (s.slabs.empty()) {
        return nullptr;
    }
    const auto found = s.slabs.find(base);
    if (found == s.slabs.end()) {
        return nullptr;
    }
    recent = {base, &found->second};
    return recent.slab;
}

// kSlabBytes of fresh memory aligned to their size, mapped so that nothing is reserved
// beyond them.
char* MapSlab() {
#if defined(_WIN32)
    return nullptr;
#else
    void* mapped =
        mmap(nullptr, 2 * kSlabBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        return nullptr;
    }
    char* start = static_cast<char*>(mapped);
    char* aligned = reinterpret_cast<char*>((std::uintptr_t(start) + kSlabBytes - 1) &
                                            ~std::uintptr_t(kSlabBytes - 1));
    if (aligned != start) {
        munmap(start, std::size_t(aligned - start));
    }
    munmap(aligned + kSlabBytes, std::size_t(start + 2 * kSlabBytes - (aligned + kSlabBytes)));
    return aligned;
#endif
}

void UnmapSlab(char* memory) {
#if !defined(_WIN32)
    munmap(memory, kSlabBytes);
#else
    (void)memory;
#endif
}

bool NewSlab(AllocatorState& s, std::size_t sizeClass) {
    char* memory = MapSlab();
    if (memory == nullptr) {
        return false;
    }
    const std::size_t blocks = kSlabBytes / BlockBytes(sizeClass);
    try {
        SizeClass& c = s.classes[sizeClass];
        c.slabs.reserve(c.slabs.size() + 1);
        std::uint32_t number = 0;
        if (!s.freeNumbers.empty()) {
            number = s.freeNumbers.back();
            s.freeNumbers.pop_back();
        } else if (s.numbered.size() <= kMaxSlabNumber) {
            number = std::uint32_t(s.numbered.size());
            s.numbered.push_back(nullptr);
        }
        s.slabs.emplace(std::uintptr_t(memory),
                        Slab{sizeClass, std::vector<std::uint64_t>((blocks + 63) / 64), number});
        if (number != 0) {
            s.numbered[number] = memory;
        }
        c.slabs.push_back(memory);
        s.stats.slabBytes += kSlabBytes;
        c.bump = memory;
        c.bumpEnd = memory + blocks * BlockBytes(sizeClass);
    } catch (...) {
        UnmapSlab(memory);
        return false;
    }
    return true;
}

void* TakeSmall(AllocatorState& s, std::size_t sizeClass) {
    SizeClass& c = s.classes[sizeClass];
    char* block = nullptr;
    if (c.freeList != nullptr) {
        block = static_cast<char*>(c.freeList);
        c.freeList = *static_cast<void**>(c.freeList);
    } else {
        if (c.bump == c.bumpEnd && !NewSlab(s, sizeClass)) {
            return nullptr;
        }
        block = c.bump;
        c.bump += BlockBytes(sizeClass);
    }
    Slab& slab = *SlabOf(s, block);
    const std::size_t k =
        std::size_t(block - reinterpret_cast<char*>(std::uintptr_t(block) & ~(kSlabBytes - 1))) /
        BlockBytes(sizeClass);
    slab.handedOut[k / 64] |= std::uint64_t(1) << (k % 64);
    ++c.live;
    return block;
}

void ReleaseClass(AllocatorState& s, SizeClass& c) {
    for (char* memory : c.slabs) {
        const auto slab = s.slabs.find(std::uintptr_t(memory));
        if (slab->second.number != 0) {
            s.numbered[slab->second.number] = nullptr;
            s.freeNumbers.push_back(slab->second.number);
        }
        s.slabs.erase(slab);
        UnmapSlab(memory);
        s.stats.slabBytes -= kSlabBytes;
    }
    for (AllocatorState::Found& f : s.found) {
        f = {};
    }
    c = SizeClass();
}

// False when p lies in no slab; a pointer inside a slab that is not a block handed out is
// counted as foreign.
bool GiveBackSmall(AllocatorState& s, void* p) {
    Slab* slab = SlabOf(s, p);
    if (slab == nullptr) {
        return false;
    }
    const std::size_t bytes = BlockBytes(slab->sizeClass);
    const std::size_t offset = std::uintptr_t(p) & (kSlabBytes - 1);
    const std::size_t k = offset / bytes;
    const std::uint64_t bit = std::uint64_t(1) << (k % 64);
    if (offset % bytes != 0 || k / 64 >= slab->handedOut.size() ||
        (slab->handedOut[k / 64] & bit) == 0) {
        ++s.stats.foreignFrees;
        return true;
    }
    slab->handedOut[k / 64] &= ~bit;
    --s.stats.liveBlocks;
    s.stats.liveBytes -= bytes;
    SizeClass& c = s.classes[slab->sizeClass];
    if (--c.live == 0) {
        ReleaseClass(s, c);
    } else {
        *static_cast<void**>(p) = c.freeList;
        c.freeList = p;
    }
    return true;
}

} // namespace

extern "C" void* MyAllocate(std::size_t size) {
    AllocatorState& s = State();
    ++s.stats.totalAllocations;
    if (ShouldFail() || size > SIZE_MAX - sizeof(BlockHeader)) {
        ++s.stats.failedAllocations;
        return nullptr;
    }
    if (kSlabs && size <= kLargestSmall) {
        const std::size_t sizeClass = ClassOf(size);
        void* block = TakeSmall(s, sizeClass);
        if (block == nullptr) {
            ++s.stats.failedAllocations;
            return nullptr;
        }
        ++s.stats.liveBlocks;
        s.stats.liveBytes += BlockBytes(sizeClass);
        return block;
    }
    auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
    if (header == nullptr) {
        ++s.stats.failedAllocations;
        return nullptr;
    }
    header->size = size;
    header->marker = kLiveMarker;
    ++s.stats.liveBlocks;
    s.stats.liveBytes += size;
    return header + 1;
}

extern "C" void MyFree(void* p) {
    if (p == nullptr) {
        return;
    }
    AllocatorState& s = State();
    if (GiveBackSmall(s, p)) {
        return;
    }
    BlockHeader* header = static_cast<BlockHeader*>(p) - 1;
    if (header->marker != kLiveMarker) {
        ++s.stats.foreignFrees;
        return;
    }
    header->marker = kDeadMarker;
    --s.stats.liveBlocks;
    s.stats.liveBytes -= header->size;
    std::free(header);
}

namespace vzt {

AllocatorStats Allocator() {
    return State().stats;
}
void FailAllocation(std::size_t k) {
    State().failCountdown = k;
}
void FailAllAllocations(bool fail) {
    State().failAll = fail;
}
std::uint32_t detail::BlockHandle(const void* p) {
    AllocatorState& s = State();
    const Slab* slab = SlabOf(s, p);
    const std::uintptr_t offset = std::uintptr_t(p) & (kSlabBytes - 1);
    if (slab == nullptr || slab->number == 0 || offset % 8 != 0) {
        return 0;
    }
    return slab->number << kStepBits | std::uint32_t(offset / 8);
}
const void* detail::BlockAt(std::uint32_t handle) {
    return State().numbered[handle >> kStepBits] +
           std::size_t(handle & ((std::uint32_t(1) << kStepBits) - 1)) * 8;
}
void detail::ForgetForeignFrees() {
    State().stats.foreignFrees = 0;
}

} // namespace vzt
