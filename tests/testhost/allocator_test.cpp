// The stand-in host's allocator and reference counting: what every "no leak" and "failure
// handled" claim of the library's tests rests on.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "support/host_fixture.h"

namespace {

using AllocatorTest = testsupport::HostTest;

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

// A block the host handed out may come back through MyFree or through a release function of
// the host or of a program; a block of the heap's own (or an array's) may come back through
// MyFree or an array release. The books stay true either way.
TEST_F(AllocatorTest, BlocksComeBackThroughEitherRelease) {
    Probe* made = vzt::New<Probe>();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(vzt::Allocator().liveBlocks, 1u);
    delete made;
    void* block = MyAllocate(24);
    ::operator delete(block);
    int* own = new int(7);
    MyFree(own);
    delete[] new int[3];
    delete[] static_cast<char*>(MyAllocate(5));
    EXPECT_TRUE(AllocatorBalanced());

    vzt::FailAllAllocations(true);
    EXPECT_EQ(vzt::New<Probe>(), nullptr);
    vzt::FailAllAllocations(false);
    EXPECT_TRUE(AllocatorBalanced());
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
            // No more than the platform's heap promises any block.
            const std::size_t alignment = std::min<std::size_t>(size % 16 == 0  ? 16
                                                                : size % 8 == 0 ? 8
                                                                                : 1,
                                                                alignof(std::max_align_t));
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
    // Only a slab's blocks are known by their place: any other block the books do not know
    // goes back to the runtime's heap.
    const bool slabs = vzt::Allocator().slabBytes > 0;
    if (slabs) {
        const std::size_t foreign = vzt::Allocator().foreignFrees;
        MyFree(blocks[6].first + 16);
        EXPECT_EQ(vzt::Allocator().foreignFrees, foreign + 1) << "an address inside a block";
    }
    for (std::size_t k = 0; k < blocks.size(); k += 2) {
        MyFree(blocks[k].first);
    }
    if (slabs) {
        const std::size_t foreign = vzt::Allocator().foreignFrees;
        MyFree(blocks[0].first);
        EXPECT_EQ(vzt::Allocator().foreignFrees, foreign + 1) << "a second free";
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

TEST_F(AllocatorTest, LastReleaseDestroysAndFreesOnceAndExtraReleasesAreHarmless) {
    Probe::destroyed = 0;
    Probe* p = vzt::New<Probe>();
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
