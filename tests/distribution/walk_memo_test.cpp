// The walk's memo of looked-up elements: what it remembers, and what it leaves to the host.
#include <gtest/gtest.h>

#include <cstddef>

#include <standin/testing.h>

#include "types/distribution/walk_memo.h"

namespace {

using pellorin::eqn::NodeMemo;
using pellorin::eqn::WalkMemo;

struct Element {};

// Counts the lookups that reach the host.
struct Host {
    Element elements[200];
    int lookups = 0;
    Element* operator()(int i) {
        ++lookups;
        return i >= 0 && i < 200 ? &elements[i] : nullptr;
    }
};

// Sized once, the memo remembers every index below its size and sends every other to the
// host each time; a memo already grown keeps its slots and grows no further.
TEST(WalkMemo, SizedOnceRemembersOnlyTheIndicesItWasSizedFor) {
    const struct {
        std::size_t size;
        bool growFirst;
        int index;
        int lookupsForTwoGets;
    } cases[] = {
        {10, false, 0, 1}, {10, false, 9, 1}, {10, false, 10, 2}, {10, false, 150, 2},
        {0, false, 0, 2},  {10, true, 50, 1}, {10, true, 64, 2},  {100, true, 99, 2},
    };
    for (const auto& c : cases) {
        Host host;
        WalkMemo<Element> memo;
        if (c.growFirst) {
            memo.Get(5, host); // grows to 64 slots
        }
        memo.SizeOnce(c.size);
        host.lookups = 0;
        Element* first = memo.Get(c.index, host);
        Element* second = memo.Get(c.index, host);
        EXPECT_EQ(first, &host.elements[c.index]);
        EXPECT_EQ(second, first);
        EXPECT_EQ(host.lookups, c.lookupsForTwoGets)
            << "size " << c.size << ", index " << c.index << ", grown first " << c.growFirst;
    }
}

// Over one direction, an array the walk passes over once takes no memo of every node (its
// bytes stay those of the small cache of recent nodes); when the walk comes back over the
// direction, each node reaches the host once more and is remembered from then on.
TEST(NodeMemo, RemembersEveryNodeOnlyOnceTheWalkComesBack) {
    constexpr int kNodes = 200;
    Host host;
    NodeMemo<Element> memo;
    const std::size_t bytesBefore = vzt::Allocator().liveBytes;
    const int expectedLookups[] = {kNodes, kNodes, 0, 0};
    for (int pass = 0; pass < 4; ++pass) {
        host.lookups = 0;
        for (int i = 0; i < kNodes; ++i) {
            ASSERT_EQ(memo.Get(
                          &i, [&] { return host(i); }, [] { return std::size_t(kNodes); }),
                      &host.elements[i]);
        }
        EXPECT_EQ(host.lookups, expectedLookups[pass]) << "pass " << pass + 1;
        if (pass == 0) {
            EXPECT_LT(vzt::Allocator().liveBytes - bytesBefore, kNodes * sizeof(Element*));
        }
    }
}

} // namespace
