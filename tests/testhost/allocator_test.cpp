// The stand-in host's allocator and reference counting: what every "no leak" and "failure
// handled" claim of the library's tests rests on.
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
