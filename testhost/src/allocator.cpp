// The host's allocator: accounting and injected failures over two kinds of block.
//
// Small blocks (up to kLargestSmall bytes, the size of most model objects) are cut from
// slabs, one size class per 8 bytes, with no header: a model of 10^8 equations holds about
// as many elements, so a header and malloc's own overhead would cost a quarter of each. A
// slab is kSlabBytes aligned to its size, so a block finds its slab by masking its address;
// the slab keeps a bit per block that tells whether it is handed out. A class gives its
// slabs back to the system when its last block is freed.
//
// Larger blocks (and every block under a sanitizer) are ordinary blocks of the
// C++ runtime's heap, kept on the books by address. Every release of the host's (release.cpp)
// comes here: a block the allocator never handed out goes back to the runtime, counted as
// foreign; a small block freed twice is counted and left alone.
#include <cstdint>
#include <cstdlib>
#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <sys/mman.h>
#endif
#include <new>
#include <unordered_map>
#include <vector>

#include "control.h"
#include "standin/testing.h"
#include "vuzizev/alloc.h"

namespace {

// The C++ runtime's own release functions, for single objects and for arrays. This library's
// operator delete is MyFree (release.cpp), so the runtime's are looked up on Linux; a DLL's
// runtime is linked into it and hidden behind its own, but allocates from the C heap, to which
// its blocks go back.
#if defined(_WIN32)
void* RuntimeAcquire(std::size_t size) {
    return std::malloc(size != 0 ? size : 1);
}
void RuntimeRelease(void* block) {
    std::free(block);
}
void RuntimeReleaseArray(void* block) {
    std::free(block);
}
#else
void* RuntimeAcquire(std::size_t size) {
    return ::operator new(size, std::nothrow);
}
using RuntimeReleaseFunction = void (*)(void*);
void RuntimeRelease(void* block) {
    static const auto release =
        reinterpret_cast<RuntimeReleaseFunction>(dlsym(RTLD_DEFAULT, "_ZdlPv"));
    release(block);
}
void RuntimeReleaseArray(void* block) {
    static const auto release =
        reinterpret_cast<RuntimeReleaseFunction>(dlsym(RTLD_DEFAULT, "_ZdaPv"));
    release(block);
}
#endif

// The books' own storage, which goes straight back to the runtime: releasing it must not
// come back to the books.
template <class T>
struct RuntimeAllocator {
    using value_type = T;
    RuntimeAllocator() = default;
    template <class U>
    RuntimeAllocator(const RuntimeAllocator<U>&) noexcept {}
    T* allocate(std::size_t n) {
        void* block = RuntimeAcquire(n * sizeof(T));
        if (block == nullptr) {
            vzt::ThrowOutOfMemory();
        }
        return static_cast<T*>(block);
    }
    void deallocate(T* p, std::size_t) noexcept { RuntimeRelease(p); }
    friend bool operator==(const RuntimeAllocator&, const RuntimeAllocator&) { return true; }
};

template <class T>
using RuntimeVector = std::vector<T, RuntimeAllocator<T>>;

#if defined(__SANITIZE_ADDRESS__)
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
    RuntimeVector<std::uint64_t> handedOut; // one bit per block
    std::uint32_t number;
};

struct SizeClass {
    void* freeList = nullptr; // each free block holds the next one's address
    char* bump = nullptr;     // the untouched rest of the newest slab
    char* bumpEnd = nullptr;
    std::size_t live = 0;
    RuntimeVector<char*> slabs;
};

// Memory kept back for throwing: the 32-bit Windows runtime, when it throws with no memory
// left at all, takes its fallback store's lock, whose first use needs memory, fails, and
// throws again until the stack runs out. So a throw for lack of memory (ThrowOutOfMemory, and
// the runtime's own through NewHandler) first gives the reserve back, and MyAllocate takes it
// again before it hands out anything more. It is as large as a region by which the runtime's
// heap grows, so that a small block freed from it can be had.
constexpr std::size_t kReserveBytes = std::size_t(32) << 20;

struct AllocatorState {
    vzt::AllocatorStats stats;
    void* reserve = RuntimeAcquire(kReserveBytes);
    std::size_t failCountdown = 0;
    bool failAll = false;
    SizeClass classes[kClasses];
    std::unordered_map<std::uintptr_t, Slab, std::hash<std::uintptr_t>,
                       std::equal_to<std::uintptr_t>,
                       RuntimeAllocator<std::pair<const std::uintptr_t, Slab>>>
        slabs;
    RuntimeVector<char*> numbered = RuntimeVector<char*>(1); // by number; null when free
    RuntimeVector<std::uint32_t> freeNumbers;
    // The slabs found lately, by the low bits of their number in the address space: blocks
    // are mostly used near the ones used just before.
    struct Found {
        std::uintptr_t base = 0;
        Slab* slab = nullptr;
    };
    static constexpr std::size_t kFoundSize = 1024;
    Found found[kFoundSize];
    // The large blocks handed out, with their sizes.
    std::unordered_map<const void*, std::size_t, std::hash<const void*>, std::equal_to<const void*>,
                       RuntimeAllocator<std::pair<const void* const, std::size_t>>>
        live;
};

void NewHandler();

// Never destroyed: objects that outlive static destruction still free their blocks here.
AllocatorState& State() {
    static AllocatorState* state = [] {
        auto* made = ::new (RuntimeAcquire(sizeof(AllocatorState))) AllocatorState;
        std::set_new_handler(&NewHandler);
        return made;
    }();
    return *state;
}

void GiveBackReserve() {
    AllocatorState& s = State();
    if (s.reserve != nullptr) {
        RuntimeRelease(s.reserve);
        s.reserve = nullptr;
    }
}

void CountFailure(AllocatorState& s) {
    ++s.stats.failedAllocations;
}

// Whether the reserve is held, taken again if it was spent and there is room for it.
bool HoldsReserve(AllocatorState& s) {
    if (s.reserve == nullptr) {
        s.reserve = RuntimeAcquire(kReserveBytes);
    }
    return s.reserve != nullptr;
}

// The host's own containers grow through the runtime's operator new: the first time it finds
// no memory it is given the reserve and tries again; without a reserve it throws.
void NewHandler() {
    if (State().reserve == nullptr) {
        throw std::bad_alloc();
    }
    GiveBackReserve();
}

bool ShouldFail(AllocatorState& s) {
    if (s.failAll) {
        return true;
    }
    if (s.failCountdown > 0 && --s.failCountdown == 0) {
        return true;
    }
    return false;
}

// Takes a large block off the books; false when the allocator does not know it.
bool Forget(AllocatorState& s, const void* block) {
    const auto it = s.live.find(block);
    if (it == s.live.end()) {
        return false;
    }
    --s.stats.liveBlocks;
    s.stats.liveBytes -= it->second;
    s.live.erase(it);
    return true;
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
    // An aligned place is found by reserving twice the size and giving it back; another
    // thread could take it in between, so a few tries are allowed.
    for (int attempt = 0; attempt < 4; ++attempt) {
        void* probe = VirtualAlloc(nullptr, 2 * kSlabBytes, MEM_RESERVE, PAGE_NOACCESS);
        if (probe == nullptr) {
            return nullptr;
        }
        char* aligned = reinterpret_cast<char*>((std::uintptr_t(probe) + kSlabBytes - 1) &
                                                ~std::uintptr_t(kSlabBytes - 1));
        VirtualFree(probe, 0, MEM_RELEASE);
        void* mapped = VirtualAlloc(aligned, kSlabBytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
        if (mapped == aligned) {
            return aligned;
        }
        if (mapped != nullptr) {
            VirtualFree(mapped, 0, MEM_RELEASE);
        }
    }
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
#if defined(_WIN32)
    VirtualFree(memory, 0, MEM_RELEASE);
#else
    munmap(memory, kSlabBytes);
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
                        Slab{sizeClass, RuntimeVector<std::uint64_t>((blocks + 63) / 64), number});
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
    // Without room for the reserve there is none for the block either, and trying could only
    // end in a throw with no memory to throw with.
    if (ShouldFail(s) || !HoldsReserve(s)) {
        CountFailure(s);
        return nullptr;
    }
    if (kSlabs && size <= kLargestSmall) {
        const std::size_t sizeClass = ClassOf(size);
        void* block = TakeSmall(s, sizeClass);
        if (block == nullptr) {
            CountFailure(s);
            return nullptr;
        }
        ++s.stats.liveBlocks;
        s.stats.liveBytes += BlockBytes(sizeClass);
        return block;
    }
    void* block = RuntimeAcquire(size);
    if (block == nullptr) {
        CountFailure(s);
        return nullptr;
    }
    // A block at this address that is still on the books went back to the heap elsewhere.
    Forget(s, block);
    try {
        s.live.emplace(block, size);
    } catch (const std::bad_alloc&) {
        RuntimeRelease(block);
        CountFailure(s);
        return nullptr;
    }
    ++s.stats.liveBlocks;
    s.stats.liveBytes += size;
    return block;
}

extern "C" void MyFree(void* block) {
    if (block == nullptr) {
        return;
    }
    AllocatorState& s = State();
    if (GiveBackSmall(s, block)) {
        return;
    }
    if (!Forget(s, block)) {
        ++s.stats.foreignFrees;
    }
    RuntimeRelease(block);
}

namespace vzt {

void ReleaseArray(void* block) {
    if (block == nullptr) {
        return;
    }
    AllocatorState& s = State();
    // A block of MyAllocate's is a single object's block, whatever it held.
    if (GiveBackSmall(s, block)) {
        return;
    }
    if (Forget(s, block)) {
        RuntimeRelease(block);
    } else {
        ++s.stats.foreignFrees;
        RuntimeReleaseArray(block);
    }
}

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
void detail::CountFailedAllocation() {
    CountFailure(State());
}
void ThrowOutOfMemory() {
    GiveBackReserve();
    throw std::bad_alloc();
}
void detail::ForgetForeignFrees() {
    State().stats.foreignFrees = 0;
}

} // namespace vzt
