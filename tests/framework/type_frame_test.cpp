// The frame every type runs in: what reaches the host base, once per class level, and what
// comes back unchanged.
#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "support/host_fixture.h"
#include "support/type_cases.h"
#include "types/generic/models.h"
#include "types/generic/signals.h"

namespace {

using testsupport::TypeCase;

class TypeFrame : public testsupport::HostTest, public ::testing::WithParamInterface<TypeCase> {
protected:
    void SetUp() override {
        HostTest::SetUp();
        object = GetParam().make(true, nullptr);
        vzt::ClearJournal();
    }
    void TearDown() override {
        delete object;
        HostTest::TearDown();
    }
    QV_ModelType* object = nullptr;
};

TEST_P(TypeFrame, ExecuteAssignmentsLowersTheFirstArgumentOncePerLevelAndReturnsTheHostStatus) {
    vzt::Base().executeAssignments = 12345;
    EXPECT_EQ(object->ExecuteAssignments(5, 7), 12345);
    const auto calls = EventsOf(vzt::EventKind::ContainerExecuteAssignments);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].a, 5 - GetParam().levels);
    EXPECT_EQ(calls[0].b, 7);
    // Types without assignments make none; a distribution without a domain has nothing to
    // follow and makes none either.
    if (!GetParam().assigns || GetParam().equations) {
        EXPECT_EQ(CountOf(vzt::EventKind::Assign), 0u);
    }

    vzt::ClearJournal();
    object->ExecuteAssignments(INT_MIN, 0); // saturates instead of overflowing
    EXPECT_EQ(EventsOf(vzt::EventKind::ContainerExecuteAssignments)[0].a, INT_MIN);
}

TEST_P(TypeFrame, SetUpEquationsPassesTheCountThroughEveryLevel) {
    vzt::Base().setUpEquations = 10;
    vzt::Base().localEqnCountOffset = 1000;
    QV_ModelType::m_stLastGroup = 3;
    const int levels = GetParam().levels;
    if (GetParam().equations) {
        // Without a linked domain a distribution cannot register its equations.
        EXPECT_LT(object->SetUpEquations(), 0);
        EXPECT_EQ(CountOf(vzt::EventKind::SetLocalEqnCount), std::size_t(levels - 1));
        return;
    }
    EXPECT_EQ(object->SetUpEquations(), 10 + 1000 * levels);
    const auto counts = EventsOf(vzt::EventKind::SetLocalEqnCount);
    ASSERT_EQ(counts.size(), std::size_t(levels));
    for (int level = 0; level < levels; ++level) {
        EXPECT_EQ(counts[level].a, 10 + 1000 * level);
    }
}

TEST_P(TypeFrame, JacPatternResetsExpressionsOncePerLevelBeforeTheHostAndReturnsItsCounter) {
    vzt::Base().jacPattern = 77;
    int* rows = nullptr;
    int* cols = nullptr;
    // Without a linked domain a distribution fails here too; a failing host is passed on.
    const int r = object->JacPattern(rows, cols, nullptr);
    EXPECT_EQ(r, GetParam().equations ? -1 : 77);
    vzt::Base().jacPattern = -5;
    EXPECT_EQ(object->JacPattern(rows, cols, nullptr), -5);
    vzt::ClearJournal();
    vzt::Base().jacPattern = 77;
    object->JacPattern(rows, cols, nullptr);
    const auto& journal = vzt::Journal();
    std::size_t resets = 0;
    for (const vzt::Event& e : journal) {
        if (e.kind == vzt::EventKind::ModelJacPattern) {
            break;
        }
        resets += e.kind == vzt::EventKind::ResetExpressions;
    }
    EXPECT_EQ(resets, std::size_t(GetParam().levels));
    EXPECT_EQ(CountOf(vzt::EventKind::ModelJacPattern), 1u);
}

TEST_P(TypeFrame, SetDimsReachesTheHostOnceAndResidualsAndJacobianAreZero) {
    object->SetDims();
    EXPECT_EQ(CountOf(vzt::EventKind::ContainerSetDims), 1u);
    EXPECT_EQ(object->Residuals(nullptr, 0, 0), 0);
    EXPECT_EQ(object->Jacobian(nullptr, -1, 5), 0);
}

INSTANTIATE_TEST_SUITE_P(AllTypes, TypeFrame, ::testing::ValuesIn(testsupport::AllTypes()),
                         [](const auto& info) { return info.param.type; });

using LevelBookkeeping = testsupport::HostTest;

TEST_F(LevelBookkeeping, SetUpEquationsRecordsEachLevelsGroupBaseOnlyOnSuccess) {
    QV_CONTROLSIGNAL signal;
    QV_GENERICCONTROLSIGNAL& base = signal;
    QV_ModelType::m_stLastGroup = 3;
    vzt::Base().setUpEquations = 10;
    signal.SetUpEquations();
    EXPECT_EQ(signal.m_groupBase, 3);
    EXPECT_EQ(base.m_groupBase, 3);
    EXPECT_EQ(signal.m_localEqnCount, 0);

    QV_ModelType::m_stLastGroup = 9;
    vzt::Base().setUpEquations = -4;
    EXPECT_EQ(signal.SetUpEquations(), -4);
    EXPECT_EQ(signal.m_groupBase, 3);
    EXPECT_EQ(base.m_groupBase, 3);
}

TEST_F(LevelBookkeeping, CopyAssignmentCopiesTheFourWordsOfEveryLevel) {
    QV_GENERICMODEL parentA;
    QV_GENERICMODEL parentB;
    QV_CONNECTION source(true, &parentA);
    QV_CONNECTION target(true, &parentB);
    QV_GENERICCONNECTION& sourceBase = source;
    std::tie(source.m_groupBase, source.m_localEqnCount, source.m_localNZCount) =
        std::make_tuple(1, 2, 3);
    std::tie(sourceBase.m_groupBase, sourceBase.m_localEqnCount, sourceBase.m_localNZCount) =
        std::make_tuple(4, 5, 6);

    target = source;
    const QV_GENERICCONNECTION& targetBase = target;
    EXPECT_EQ(std::tie(target.m_groupBase, target.m_localEqnCount, target.m_localNZCount,
                       target.m_parent),
              std::make_tuple(1, 2, 3, &parentA));
    EXPECT_EQ(std::tie(targetBase.m_groupBase, targetBase.m_localEqnCount,
                       targetBase.m_localNZCount, targetBase.m_parent),
              std::make_tuple(4, 5, 6, &parentA));
    // The registrations stay where they were made.
    EXPECT_EQ(parentB.Properties().size(), 4u + 3u);
}

} // namespace
