// The stand-in host's set values and set properties, as index sets, loops and the
// string-set parameters use them.
#include <algorithm>
#include <iterator>
#include <new>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include <climits>

#include "framework/assign.h"
#include "support/counting_array.h"

namespace {

std::vector<int> Integers(const QV_SetValue& s) {
    std::vector<int> values;
    for (int p = 0; p < int(s.Size()); ++p) {
        values.push_back(s.Integer(p));
    }
    return values;
}
std::vector<std::string> Strings(const QV_SetValue& s) {
    std::vector<std::string> values;
    for (int p = 0; p < int(s.Size()); ++p) {
        values.emplace_back(s.String(p));
    }
    return values;
}

TEST(SetValue, RangesAreClosedAndEmptyWhenReversed) {
    EXPECT_EQ(Integers(QV_IntSetValue(-1, 2)), (std::vector<int>{-1, 0, 1, 2}));
    EXPECT_EQ(QV_IntSetValue(3, 2).Size(), 0u);
    EXPECT_EQ(Integers(QV_IntSetValue(INT_MAX, INT_MAX)), (std::vector<int>{INT_MAX}));
    EXPECT_EQ(QV_IntSetValue().Type(), QV_SetTypeInteger);
}

TEST(SetValue, UnionAndIntersectionKeepOrderWithoutRepeats) {
    QV_SetValue s = QV_IntSetValue(5, 7);
    s += QV_IntSetValue(1, 2);
    s += 6;
    s += -3;
    EXPECT_EQ(Integers(s), (std::vector<int>{-3, 1, 2, 5, 6, 7}));
    s *= QV_IntSetValue(2, 6);
    EXPECT_EQ(Integers(s), (std::vector<int>{2, 5, 6}));
    s *= QV_SetValue();
    EXPECT_EQ(s.Size(), 0u);

    // Pieces in ascending order, one sharing its first value with the last piece.
    QV_SetValue pieces;
    for (auto [lo, hi] : {std::pair{1, 2}, {4, 5}, {5, 7}, {9, 8}, {INT_MAX, INT_MAX}}) {
        pieces += QV_IntSetValue(lo, hi);
    }
    EXPECT_EQ(Integers(pieces), (std::vector<int>{1, 2, 4, 5, 6, 7, INT_MAX}));
}

TEST(SetValue, OtherKindIsRefusedAndChangesNothing) {
    QV_SetValue s = QV_IntSetValue(1, 2);
    s += "a";
    s += QV_StrSetValue("b\"");
    s *= QV_StrSetValue("b\"");
    EXPECT_EQ(Integers(s), (std::vector<int>{1, 2}));
    int pos = -1;
    EXPECT_FALSE(s.SetContains("a", pos));
    EXPECT_EQ(pos, 0);
    EXPECT_FALSE(s.SetAddAtOffset("a", 0));
    EXPECT_STREQ(s.String(0), "");
}

TEST(SetValue, ContainsReportsWhereAValueIsOrWouldGo) {
    // With gaps, a value's place is not its distance from the first value.
    QV_SetValue s = QV_IntSetValue(10, 12), gaps = QV_IntSetValue(INT_MIN, INT_MIN);
    for (int v : {1, 3, 4, 8, INT_MAX}) {
        gaps += v;
    }
    int pos = -1;
    for (auto [set, value, held, at] : {std::tuple{&s, 11, true, 1},
                                        {&s, 9, false, 0},
                                        {&s, 13, false, 3},
                                        {&gaps, 4, true, 3},
                                        {&gaps, 3, true, 2},
                                        {&gaps, 2, false, 2},
                                        {&gaps, INT_MAX, true, 5},
                                        {&gaps, INT_MIN, true, 0},
                                        {&gaps, 9, false, 5}}) {
        EXPECT_EQ(set->SetContains(value, pos), held) << value;
        EXPECT_EQ(pos, at) << value;
    }
    EXPECT_TRUE(s.SetAddAtOffset(13, 3));
    EXPECT_FALSE(s.SetAddAtOffset(13, 4)) << "already held";
    EXPECT_FALSE(s.SetAddAtOffset(0, 2)) << "out of order";
    EXPECT_FALSE(s.SetAddAtOffset(20, 9)) << "outside the set";
    EXPECT_EQ(Integers(s), (std::vector<int>{10, 11, 12, 13}));
}

// Sets built member by member in the orders the host meets: ascending runs (an array's own
// index set), runs entered from both ends, scattered members, and a mixture, each checked
// against a plain ordered set at every position and for every value around its members.
TEST(SetValue, MembersAddedInAnyOrderAnswerLikeAnOrderedSet) {
    std::mt19937 random(7);
    std::vector<std::vector<int>> orders = {{}, {}, {}, {}};
    for (int v = -40; v < 200; ++v) {
        orders[0].push_back(v);
        orders[1].push_back(v % 2 == 0 ? v : 400 - v);
        orders[2].push_back(v * 7 % 1009);
        orders[3].push_back(v % 50 < 30 ? v : int(random() % 1000));
    }
    std::shuffle(orders[3].begin(), orders[3].end(), random);
    for (const std::vector<int>& order : orders) {
        QV_SetValue built = QV_IntSetValue(), inserted = QV_IntSetValue();
        std::set<int> model;
        for (int v : order) {
            built += v;
            int pos = -1;
            if (!inserted.SetContains(v, pos)) {
                ASSERT_TRUE(inserted.SetAddAtOffset(v, pos)) << v;
            }
            model.insert(v);
        }
        const std::vector<int> expected(model.begin(), model.end());
        ASSERT_EQ(Integers(built), expected);
        ASSERT_EQ(Integers(inserted), expected);
        EXPECT_TRUE(built == inserted);
        for (int v = expected.front() - 2; v <= expected.back() + 2; ++v) {
            int pos = -1;
            const auto at = std::lower_bound(expected.begin(), expected.end(), v);
            EXPECT_EQ(built.SetContains(v, pos), at != expected.end() && *at == v) << v;
            EXPECT_EQ(pos, at - expected.begin()) << v;
        }
    }
}

TEST(SetValue, SetAlgebraMatchesOrderedSets) {
    const std::vector<std::vector<int>> sets = {
        {}, {0, 1, 2, 3, 10, 11, 12, 20}, {2, 3, 4, 12, 13, 19, 21}, {1, 3, 5, 7, 9, 11}, {12}};
    for (const std::vector<int>& a : sets) {
        for (const std::vector<int>& b : sets) {
            QV_SetValue x = QV_IntSetValue(), y = QV_IntSetValue();
            for (int v : a) {
                x += v;
            }
            for (int v : b) {
                y += v;
            }
            std::vector<int> united, common;
            std::set_union(a.begin(), a.end(), b.begin(), b.end(), std::back_inserter(united));
            std::set_intersection(a.begin(), a.end(), b.begin(), b.end(),
                                  std::back_inserter(common));
            QV_SetValue u = x, c = x;
            u += y;
            c *= y;
            EXPECT_EQ(Integers(u), united);
            EXPECT_EQ(Integers(c), common);
            EXPECT_EQ(x >= y, std::includes(a.begin(), a.end(), b.begin(), b.end()));
            EXPECT_EQ(x == y, a == b);
        }
    }
}

TEST(SetValue, CopiesStayApartWhenOneChanges) {
    const QV_SetValue original = QV_IntSetValue(1, 5);
    QV_SetValue copy = original, united;
    united += original;
    copy += 7;
    EXPECT_TRUE(united.SetAddAtOffset(0, 0));
    EXPECT_EQ(Integers(original), (std::vector<int>{1, 2, 3, 4, 5}));
    EXPECT_EQ(Integers(copy), (std::vector<int>{1, 2, 3, 4, 5, 7}));
    EXPECT_EQ(Integers(united), (std::vector<int>{0, 1, 2, 3, 4, 5}));
}

// Pieces that each lie after the set's last member, as the domain builds its collocation
// points: single members, runs touching the last member or after a gap, sets of two runs,
// added as integers and as sets; the single members, then the runs, then the single members
// again switch the set from one of its forms to the other and back. The set copies what the
// pieces add, plus each copy taken on the way, which keeps its members.
TEST(SetValue, AscendingPiecesExtendTheSetByWhatTheyAdd) {
    std::mt19937 random(11);
    QV_SetValue built;
    std::vector<int> expected;
    std::vector<std::pair<QV_SetValue, std::vector<int>>> copies;
    std::size_t copiedMembers = 0;
    const auto add = [&](int lo, int hi) {
        for (int v = lo; v <= hi; ++v) {
            expected.push_back(v);
        }
    };
    const std::size_t before = vzt::SetEntriesCopied();
    for (int piece = 0; piece < 7500; ++piece) {
        const bool longRuns = piece >= 1000 && piece < 1200;
        const int gap = longRuns ? int(random() % 3) : 1 + int(random() % 2);
        const int lo = (expected.empty() ? -3 : expected.back() + 1) + gap;
        const int hi = longRuns ? lo + 20 + int(random() % 20) : lo;
        if (!longRuns && piece % 3 == 0) {
            built += lo;
            add(lo, lo);
        } else if (piece % 7 == 0) {
            QV_SetValue twoRuns = QV_IntSetValue(lo, hi);
            twoRuns += QV_IntSetValue(hi + 2, hi + 3);
            built += twoRuns;
            add(lo, hi);
            add(hi + 2, hi + 3);
        } else {
            built += QV_IntSetValue(lo, hi);
            add(lo, hi);
        }
        if (piece % 500 == 499) {
            copies.emplace_back(built, expected);
            copiedMembers += expected.size();
        }
    }
    const std::size_t copied = vzt::SetEntriesCopied() - before;
    EXPECT_EQ(Integers(built), expected);
    for (const auto& [copy, members] : copies) {
        EXPECT_EQ(Integers(copy), members);
    }
    EXPECT_LE(copied, 2 * expected.size() + copiedMembers) << copied;
}

// Positions are ints: a set of more members than that cannot be held. Whether made as a range,
// grown past them or joined with such a set, it is counted once as a failed allocation, holds
// nothing, and no set property takes it, so that the assignment that was to receive it fails.
// What joins it later leaves it so, at no cost.
TEST(SetValue, SetOfMoreMembersThanPositionsIsAFailedAllocationThatNoSetTakes) {
    const std::size_t failed = vzt::Allocator().failedAllocations;
    const QV_IntSetValue range(INT_MIN, INT_MAX);
    QV_SetValue grown = QV_IntSetValue(0, INT_MAX - 1);
    grown += -1;
    QV_SetValue joined = QV_IntSetValue(1, 3);
    joined += range;
    QV_SetValue intersected = QV_IntSetValue(1, 3);
    intersected *= range;
    const QV_IntSetValue small(1, 3);
    QV_SetValue after = grown;
    const std::size_t copied = vzt::SetEntriesCopied();
    after += small;
    after += 4;
    after *= small;
    EXPECT_EQ(vzt::SetEntriesCopied(), copied);
    EXPECT_EQ(vzt::Allocator().failedAllocations, failed + 2);
    QV_INTEGERSET set;
    QV_Value held(QV_IntSetValue(1, 3), 0u);
    EXPECT_EQ(set.Assign(&held), 0);
    for (const QV_SetValue* notHeld :
         std::initializer_list<const QV_SetValue*>{&range, &grown, &joined, &intersected, &after}) {
        EXPECT_EQ(notHeld->Size(), 0u);
        QV_Value value(*notHeld, 0u);
        EXPECT_EQ(set.Assign(&value), -1);
    }
    EXPECT_EQ(QV_IntSetValue(0, INT_MAX - 1).Size(), std::size_t(INT_MAX));
    EXPECT_EQ(QV_IntSetValue(INT_MIN, -2).Integer(INT_MAX - 1), -2);
}

TEST(SetValue, StringSetsSortByBytes) {
    QV_StrSetValue s;
    for (const char* v : {"b", "B", "a", "ab", "", "\xc3\xa9"}) {
        s += v;
    }
    EXPECT_EQ(Strings(s), (std::vector<std::string>{"", "B", "a", "ab", "b", "\xc3\xa9"}));
    EXPECT_TRUE(s >= "ab");
    EXPECT_FALSE(s >= "AB");
    EXPECT_TRUE(s >= QV_StrSetValue("a\"b\""));
    EXPECT_FALSE(s >= QV_StrSetValue("a\"c\""));
    EXPECT_TRUE(s >= QV_SetValue()) << "every set holds the empty set";
}

TEST(SetValue, QuotedMembersBuildAStringSet) {
    EXPECT_EQ(Strings(QV_StrSetValue("Backward\"Forward\"")),
              (std::vector<std::string>{"Backward", "Forward"}));
    EXPECT_EQ(QV_StrSetValue("").Size(), 0u);
    EXPECT_EQ(QV_StrSetValue("Backward\"Forward").Size(), 0u) << "last member unterminated";
    EXPECT_EQ(QV_StrSetValue(static_cast<const char*>(nullptr)).Size(), 0u);
    QV_StrSetValue kept("x\"");
    EXPECT_FALSE(QV_StrSetValue::Parse("y", kept));
    EXPECT_EQ(Strings(kept), (std::vector<std::string>{"x"}));
}

TEST(SetValue, CompareCIFoldsOnlyAsciiLetters) {
    EXPECT_EQ(SUValue::CompareCI("ocfe2", "OCFE2"), 0);
    EXPECT_EQ(SUValue::CompareCI("Backward", "BACKWARD"), 0);
    EXPECT_NE(SUValue::CompareCI("BFD1", "BFD"), 0);
    EXPECT_NE(SUValue::CompareCI("\t", ")"), 0);
    EXPECT_NE(SUValue::CompareCI("\xc3\xa9", "\xc3\x89"), 0);
    EXPECT_LT(SUValue::CompareCI("a", "B"), 0);
    EXPECT_EQ(SUValue::CompareCI(nullptr, nullptr), 0);
    EXPECT_NE(SUValue::CompareCI(nullptr, ""), 0);
}

class SetProperty : public HostTest {};

TEST_F(SetProperty, HoldsOnlySetValuesOfItsKind) {
    QV_INTEGERSET integers;
    QV_STRINGSET strings(true);
    EXPECT_EQ(integers.v().kind(), SUValue::Kind::Integer);
    EXPECT_EQ(strings.v().kind(), SUValue::Kind::String);
    EXPECT_EQ(pellorin::Assign(integers, QV_Value(QV_IntSetValue(1, 3), 1, 2, 3)), 0);
    EXPECT_EQ(pellorin::Assign(integers, QV_Value(QV_StrSetValue("a\""), 1, 2, 4)), -1);
    EXPECT_EQ(pellorin::Assign(integers, QV_Value(7, 1, 2, 5)), -1);
    EXPECT_FALSE(vzt::Specify(strings, QV_Value(QV_IntSetValue(1, 1), 0u)));
    EXPECT_EQ(Integers(integers.fv()), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(vzt::Tag(vzt::LastAssignment(integers)), (QV_ValueTag{1, 2, 3}));
}

TEST_F(SetProperty, UserSpecifiedSetStandsOverTheLibrarysValue) {
    QV_STRINGSET integrals(true);
    ASSERT_TRUE(vzt::Specify(integrals, QV_Value(QV_StrSetValue("idx\""), 0u)));
    pellorin::Assign(integrals, QV_Value(QV_StrSetValue("None\""), 0, 0, 9));
    EXPECT_TRUE(integrals.v() >= "idx");
    EXPECT_FALSE(integrals.v() >= "None");
}

TEST_F(SetProperty, InternalIndexSetIsKeptAndRecorded) {
    QV_ModelTypeEx2 model;
    QV_INTEGERSET interior;
    vzt::ClearJournal();
    EXPECT_EQ(
        pellorin::InitialiseIndexSet(model, interior, QV_Value(QV_IntSetValue(1, 4), 7, 5, 2), 1),
        0);
    EXPECT_EQ(pellorin::InitialiseIndexSet(model, interior, QV_Value(1.5, 7, 5, 3), 1), -1);
    EXPECT_EQ(interior.v().Size(), 4u);
    const auto events = EventsOf(vzt::EventKind::InitialiseInternalIndexSet);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].object, &interior);
    EXPECT_EQ(events[0].owner, &model);
    EXPECT_EQ(events[0].a, 1);
    EXPECT_EQ(events[0].b, 2);
    EXPECT_TRUE(EventsOf(vzt::EventKind::Assign).empty());
}

} // namespace
