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

TEST_F(AllocatorTest, CountsAFreeOfMemoryItNeverHandedOut) {
    alignas(16) unsigned char foreign[64] = {};
    MyFree(foreign + 16);
    EXPECT_EQ(vzt::Allocator().foreignFrees, 1u);
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
