// The stand-in host's allocator and reference counting: what every "no leak" and "failure
// handled" claim of the library's tests rests on.
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "support/host_fixture.h"

namespace {

using AllocatorTest = testsupport::HostTest;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kUnderAddressSanitizer = true;
#else
constexpr bool kUnderAddressSanitizer = false;
#endif

class Probe : public QV_Type {
public:
    static int destroyed;
    ~Probe() override { ++destroyed; }
};
int Probe::destroyed = 0;

TEST_F(AllocatorTest, FailsExactlyTheRequestedAllocation) {
    vzt::FailAllocation(3);
    for (int k = 1; k <= 4; ++k) {
        void* block = MyAllocate(8);
        EXPECT_EQ(block == nullptr, k == 3) << k;
        if (block != nullptr) {
            MyFree(block);
        }
    }
    EXPECT_TRUE(AllocatorBalanced());
}

TEST_F(AllocatorTest, CountsAFreeOfMemoryItNeverHandedOut) {
    alignas(16) unsigned char foreign[64] = {};
    MyFree(foreign + 16);
    EXPECT_EQ(vzt::Allocator().foreignFrees, 1u);
}

// Blocks of every small size and a few large ones: aligned as an object of that size needs,
// never overlapping, and each given back once; a second free, or a free of an address
// inside a block, is counted and harms nothing.
TEST_F(AllocatorTest, BlocksOfEverySizeAreAlignedDisjointAndFreedOnce) {
    const vzt::AllocatorStats before = vzt::Allocator();
    std::vector<std::pair<unsigned char*, std::size_t>> blocks;
    for (int round = 0; round < 3; ++round) {
        for (std::size_t size : {1, 7, 8, 9, 16, 24, 72, 80, 120, 128, 129, 4096}) {
            auto* block = static_cast<unsigned char*>(MyAllocate(size));
            ASSERT_NE(block, nullptr) << size;
            const std::size_t alignment = size % 16 == 0 ? 16 : size % 8 == 0 ? 8 : 1;
            EXPECT_EQ(std::uintptr_t(block) % alignment, 0u) << size;
            std::memset(block, int(blocks.size() % 251), size);
            blocks.emplace_back(block, size);
        }
    }
    for (std::size_t k = 0; k < blocks.size(); ++k) {
        const auto [block, size] = blocks[k];
        for (std::size_t i = 0; i < size; ++i) {
            ASSERT_EQ(block[i], k % 251) << "block " << k << " overwritten";
        }
    }
    MyFree(blocks[6].first + 16);
    EXPECT_EQ(vzt::Allocator().foreignFrees, 1u) << "an address inside a block";
    for (std::size_t k = 0; k < blocks.size(); k += 2) {
        MyFree(blocks[k].first);
    }
    if (!kUnderAddressSanitizer) { // which reports the second free itself
        MyFree(blocks[0].first);
        EXPECT_EQ(vzt::Allocator().foreignFrees, 2u) << "a second free";
    }
    void* reused = MyAllocate(72);
    ASSERT_NE(reused, nullptr);
    std::memset(reused, 0xee, 72);
    for (std::size_t k = 1; k < blocks.size(); k += 2) {
        EXPECT_EQ(blocks[k].first[0], k % 251) << "a reused block overlaps block " << k;
        MyFree(blocks[k].first);
    }
    MyFree(reused);
    EXPECT_EQ(vzt::Allocator().liveBlocks, before.liveBlocks);
    EXPECT_EQ(vzt::Allocator().liveBytes, before.liveBytes);
    void* again = MyAllocate(72);
    EXPECT_NE(again, nullptr) << "a class whose blocks were all freed starts afresh";
    MyFree(again);
}

TEST_F(AllocatorTest, NewOfAHostObjectYieldsNullWithoutConstructingWhenAllocationFails) {
    vzt::FailAllAllocations(true);
    Probe* p = new Probe;
    vzt::FailAllAllocations(false);
    EXPECT_EQ(p, nullptr);
    EXPECT_TRUE(AllocatorBalanced());
}

TEST_F(AllocatorTest, LastReleaseDestroysAndFreesOnceAndExtraReleasesAreHarmless) {
    Probe::destroyed = 0;
    Probe* p = new Probe;
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->AddRef(), 1u);
    EXPECT_EQ(p->AddRef(), 2u);
    EXPECT_EQ(p->Release(), 1u);
    EXPECT_EQ(Probe::destroyed, 0);
    EXPECT_EQ(p->Release(), 0u);
    EXPECT_EQ(Probe::destroyed, 1);
    EXPECT_TRUE(AllocatorBalanced());

    Probe unowned; // never referenced: a release must not destroy it
    EXPECT_EQ(unowned.Release(), 0u);
    EXPECT_EQ(Probe::destroyed, 1);
}

} // namespace
