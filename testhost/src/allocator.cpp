// The host's allocator: malloc with accounting and injected failures. Each block carries
// a small header with its size and a marker, so that a free of memory the allocator never
// handed out (or handed out and took back) is counted instead of corrupting the heap.
#include <cstdint>
#include <cstdlib>

#include "vuzizev/alloc.h"
#include "vuzizev/testing.h"

namespace {

constexpr std::uint64_t kLiveMarker = 0x5a56'4c49'5645'0001ULL;
constexpr std::uint64_t kDeadMarker = 0x5a56'4445'4144'0002ULL;

struct alignas(16) BlockHeader {
    std::uint64_t size;
    std::uint64_t marker;
};

struct AllocatorState {
    vzt::AllocatorStats stats;
    std::size_t failCountdown = 0;
    bool failAll = false;
};

AllocatorState& State() {
    static AllocatorState state;
    return state;
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

} // namespace

extern "C" void* MyAllocate(std::size_t size) {
    AllocatorState& s = State();
    ++s.stats.totalAllocations;
    if (ShouldFail() || size > SIZE_MAX - sizeof(BlockHeader)) {
        ++s.stats.failedAllocations;
        return nullptr;
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

} // namespace vzt
