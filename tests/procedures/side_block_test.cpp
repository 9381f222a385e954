// Blocks kept beside their owners: each owner finds its own among many, through releases in
// any order and past the fixed table, and the host's allocator gets everything back.
#include <vector>

#include "procedures/interpolate/side_block.h"
#include "standin/testing.h"
#include "support/host_fixture.h"

namespace {

namespace side = pellorin::side;
using SideBlocks = testsupport::HostTest;

int* Make(const void* owner, int value) {
    auto* block = static_cast<int*>(side::Make(owner, sizeof(int)));
    if (block != nullptr) {
        *block = value;
    }
    return block;
}

TEST_F(SideBlocks, EachOwnerFindsItsOwnBlockAmongManyUntilItReleasesIt) {
    std::vector<char> owners(1000);
    for (std::size_t i = 0; i < owners.size(); ++i) {
        ASSERT_NE(Make(&owners[i], int(i)), nullptr) << i;
    }
    for (std::size_t i = 1; i < owners.size(); i += 2) {
        side::Release(&owners[i]);
    }
    for (std::size_t i = 0; i < owners.size(); ++i) {
        const auto* block = static_cast<const int*>(side::Find(&owners[i]));
        if (i % 2 == 0) {
            ASSERT_NE(block, nullptr) << i;
            EXPECT_EQ(*block, int(i));
        } else {
            EXPECT_EQ(block, nullptr) << i;
        }
    }
    ASSERT_NE(Make(&owners[0], -1), nullptr) << "a new block in place of the old";
    EXPECT_EQ(*static_cast<const int*>(side::Find(&owners[0])), -1);
    for (std::size_t i = 0; i < owners.size(); i += 2) {
        side::Release(&owners[i]);
    }
    EXPECT_EQ(side::Find(&owners[0]), nullptr);
    EXPECT_TRUE(AllocatorBalanced());
}

// When the table cannot grow, the new owner gets no block and keeps nothing; the others keep
// theirs.
TEST_F(SideBlocks, AnOwnerTheTableCannotTakeGetsNoBlock) {
    std::vector<char> owners(129);
    for (std::size_t i = 0; i + 1 < owners.size(); ++i) {
        ASSERT_NE(Make(&owners[i], int(i)), nullptr);
    }
    vzt::FailAllocation(2); // the block is made, the larger table is not
    EXPECT_EQ(Make(&owners.back(), 7), nullptr);
    EXPECT_EQ(side::Find(&owners.back()), nullptr);
    EXPECT_EQ(*static_cast<const int*>(side::Find(&owners[5])), 5);
    for (char& owner : owners) {
        side::Release(&owner);
    }
    EXPECT_TRUE(AllocatorBalanced());
}

} // namespace
