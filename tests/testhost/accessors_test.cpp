// The host's two value accessors, and the test switch that sets them apart.
#include <utility>
#include <vector>

#include "framework/assign.h"
#include "support/host_fixture.h"

namespace {

using AccessorsTest = testsupport::HostTest;

// Set apart, fv() answers the second value of its own property alone; v() keeps answering
// the value in force, and a later change of it stays visible to v() only. Cleared, or after
// a reset, the two agree again.
TEST_F(AccessorsTest, SecondValueReachesOnlyFvOfItsOwnProperty) {
    QV_INTEGERPARAMETER n(true), untouched(true);
    QV_REALPARAMETER h(true);
    QV_STRINGPARAMETER method(true);
    pellorin::Assign(n, QV_Value(4, 0, 0, 1));
    pellorin::Assign(untouched, QV_Value(4, 0, 0, 1));
    pellorin::Assign(h, QV_Value(0.5, 0, 0, 1));
    pellorin::Assign(method, QV_Value("CFD4", 0, 0, 1));

    vzt::SetSecondValue(n, QV_Value(7, 0u));
    vzt::SetSecondValue(method, QV_Value("BFD1", 0u));
    vzt::Specify(n, QV_Value(5, 0u));

    EXPECT_EQ(n.v(), 5);
    EXPECT_EQ(n.fv(), 7);
    EXPECT_EQ(untouched.fv(), 4);
    EXPECT_STREQ(static_cast<const char*>(method), "CFD4");
    EXPECT_STREQ(method.fv(), "BFD1");

    vzt::ClearSecondValues();
    EXPECT_EQ(n.fv(), 5);
    EXPECT_STREQ(method.fv(), "CFD4");

    vzt::SetSecondValue(h, QV_Value(0.25, 0u));
    vzt::Reset();
    EXPECT_EQ(h.fv(), 0.5);
}

// Iterators advance, then test. An iterator's fv() answers its current value plus the
// shift; v() and the walk itself are unchanged.
TEST_F(AccessorsTest, IteratorsWalkTheSetAndFvIsShifted) {
    vzt::SetIteratorSecondShift(10);
    QV_IntegerSetIter it(QV_IntSetValue(3, 5));
    std::vector<std::pair<int, int>> seen;
    while (it.Next()) {
        seen.emplace_back(it.v(), it.fv());
    }
    EXPECT_EQ(seen, (std::vector<std::pair<int, int>>{{3, 13}, {4, 14}, {5, 15}}));
    EXPECT_FALSE(it.Next());
    EXPECT_FALSE(QV_IntegerSetIter(QV_IntSetValue{}).Next());
    vzt::SetIteratorSecondShift(0);
    QV_IntegerSetIter again(QV_IntSetValue(3, 3));
    ASSERT_TRUE(again.Next());
    EXPECT_EQ(again.fv(), 3);
    QV_StringSetIter names(QV_StrSetValue("x\"y\""));
    ASSERT_TRUE(names.Next());
    EXPECT_STREQ(names.fv(), "x");
}

} // namespace
