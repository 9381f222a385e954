// The host's allocator: the process heap with accounting and injected failures. A block is
// an ordinary block of the C++ runtime's heap, so that it may be released there too: code
// that a header defines inline runs in whichever library calls it, and may release there what
// the other library allocated. The accounting keeps each live block's size by its address,
// and every release of the host's (release.cpp) goes through it, so the books stay true.
#include <cstdint>
#include <cstdlib>
#if !defined(_WIN32)
#include <dlfcn.h>
#endif
#include <new>
#include <unordered_map>

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
            throw std::bad_alloc();
        }
        return static_cast<T*>(block);
    }
    void deallocate(T* p, std::size_t) noexcept { RuntimeRelease(p); }
    friend bool operator==(const RuntimeAllocator&, const RuntimeAllocator&) { return true; }
};

struct AllocatorState {
    vzt::AllocatorStats stats;
    std::size_t failCountdown = 0;
    bool failAll = false;
    std::unordered_map<const void*, std::size_t, std::hash<const void*>, std::equal_to<const void*>,
                       RuntimeAllocator<std::pair<const void* const, std::size_t>>>
        live;
};

AllocatorState& State() {
    static AllocatorState state;
    return state;
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

// Takes a block off the books; false when the allocator does not know it.
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

} // namespace

extern "C" void* MyAllocate(std::size_t size) {
    AllocatorState& s = State();
    ++s.stats.totalAllocations;
    if (ShouldFail(s)) {
        ++s.stats.failedAllocations;
        return nullptr;
    }
    void* block = RuntimeAcquire(size);
    if (block == nullptr) {
        ++s.stats.failedAllocations;
        return nullptr;
    }
    // A block at this address that is still on the books went back to the heap elsewhere.
    Forget(s, block);
    try {
        s.live.emplace(block, size);
    } catch (const std::bad_alloc&) {
        RuntimeRelease(block);
        ++s.stats.failedAllocations;
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

} // namespace vzt
