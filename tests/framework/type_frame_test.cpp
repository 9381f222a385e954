// Every type through the frame: what it registers and with whom, its identity, and what
// reaches the host base once per class level.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <tuple>

#include "drive.h"
#include "standin/host_access.h"
#include "support/host_fixture.h"
#include "support/type_cases.h"
#include "types/distribution1d/distribution1d.h"
#include "types/distribution2d/distribution2d.h"
#include "types/distribution3d/distribution3d.h"
#include "types/generic/models.h"
#include "types/generic/signals.h"

namespace {

using testsupport::FollowUp;
using testsupport::TypeCase;

// Checks the journal's registrations with owner against the table: names, directions,
// descriptions, flavours, flag false, and each port's follow-up right after its own
// registration.
void ExpectRegistrations(const TypeCase& c, const void* owner) {
    const auto& journal = vzt::Journal();
    std::size_t next = 0;
    for (std::size_t i = 0; i < journal.size(); ++i) {
        const vzt::Event& e = journal[i];
        if (e.kind != vzt::EventKind::AddProperty || e.owner != owner) {
            continue;
        }
        ASSERT_LT(next, c.registrations.size()) << "extra registration " << e.name;
        const testsupport::Registration& expected = c.registrations[next++];
        EXPECT_EQ(e.name, expected.name);
        EXPECT_EQ(e.direction, expected.direction) << e.name;
        EXPECT_EQ(e.hasDescription, expected.description.has_value()) << e.name;
        EXPECT_EQ(e.description, expected.description.value_or("")) << e.name;
        EXPECT_FALSE(e.flag) << e.name;
        EXPECT_EQ(e.flavour, expected.flavour) << e.name;
        const vzt::Event* after =
            i + 1 < journal.size() && journal[i + 1].object == e.object ? &journal[i + 1] : nullptr;
        EXPECT_EQ(after && after->kind == vzt::EventKind::UnsetIsToBeExported,
                  expected.followUp == FollowUp::Unexport)
            << e.name;
        EXPECT_EQ(after && after->kind == vzt::EventKind::HostPortType && after->a == 4,
                  expected.followUp == FollowUp::HostPortType4)
            << e.name;
    }
    EXPECT_EQ(next, c.registrations.size());
}

auto TypeName = [](const auto& info) { return info.param.type; };

// One object of the type, made with construction on and no parent; the journal starts after.
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

TEST_P(TypeFrame, SetDimsAndExecuteAssignmentsReachTheHostOnceLoweringTheFirstArgumentPerLevel) {
    object->SetDims();
    EXPECT_EQ(CountOf(vzt::EventKind::ContainerSetDims), 1u);
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
    EXPECT_EQ(object->Residuals(nullptr, 0, 0), 0);
    EXPECT_EQ(object->Jacobian(nullptr, -1, 5), 0);
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
    int* rows = nullptr;
    int* cols = nullptr;
    // The host's counter is the running counter, negative or not; a type without equations,
    // and a distribution without a linked domain, leave it as it is.
    vzt::Base().jacPattern = -5;
    EXPECT_EQ(object->JacPattern(rows, cols, nullptr), -5);
    vzt::ClearJournal();
    vzt::Base().jacPattern = 77;
    EXPECT_EQ(object->JacPattern(rows, cols, nullptr), 77);
    std::size_t resets = 0;
    for (const vzt::Event& e : vzt::Journal()) {
        if (e.kind == vzt::EventKind::ModelJacPattern) {
            break;
        }
        resets += e.kind == vzt::EventKind::ResetExpressions;
    }
    EXPECT_EQ(resets, std::size_t(GetParam().levels));
    EXPECT_EQ(CountOf(vzt::EventKind::ModelJacPattern), 1u);
}

TEST_P(TypeFrame, MemberPortsHaveNoParentButBelongToTheirOwner) {
    for (const QV_Containable* property : vzt::Properties(*object)) {
        EXPECT_EQ(vzt::PropertyOwner(*property), object);
        if (auto* port = dynamic_cast<const QV_CONTROLPORT*>(property)) {
            EXPECT_EQ(port->m_parent, nullptr);
            EXPECT_FALSE(port->IsToBeExported());
        }
        if (auto* port = dynamic_cast<const QV_CONNECTIONPORT*>(property)) {
            EXPECT_EQ(port->m_parent, nullptr);
            EXPECT_TRUE(port->IsToBeExported());
            EXPECT_EQ(port->HostPortType(), 4);
        }
    }
    // The component list and connection flag the host asks for are the registered members.
    EXPECT_EQ(object->ComponentList(), vzt::FindProperty(*object, "COMPONENTLIST"));
    EXPECT_EQ(object->IsConnected(), vzt::FindProperty(*object, "ISCONNECTED"));
}

TEST_P(TypeFrame, ConstructSwitchOffRegistersNothingUntilConstructThenWithTheParent) {
    QV_GENERICMODEL parent(true, nullptr);
    vzt::ClearJournal();
    QV_ModelType* late = GetParam().make(false, &parent);
    // Member ports still run their own (empty) declaration; nothing reaches the parent.
    for (const vzt::Event& e : EventsOf(vzt::EventKind::AddProperty)) {
        EXPECT_NE(e.owner, &parent) << e.name;
        EXPECT_NE(e.owner, late) << e.name;
    }
    vzt::ClearJournal();
    GetParam().construct(late);
    ExpectRegistrations(GetParam(), &parent);
    delete late;
}

TEST_P(TypeFrame, DerivesFromItselfAndItsAncestorsOnlyFoldingOnlyAsciiLetters) {
    const std::string& id = GetParam().identity;
    const auto& ancestors = GetParam().ancestors;
    EXPECT_EQ(object->QV_DefaultDESCRIPTION(), id);
    for (const TypeCase& other : testsupport::AllTypes()) {
        const std::string& o = other.identity;
        const bool expected =
            o == id || std::find(ancestors.begin(), ancestors.end(), o) != ancestors.end();
        EXPECT_EQ(object->ContainerDerivesFrom(o.c_str()), expected) << o;
    }
    std::string swapped = id;
    for (char& ch : swapped) {
        ch = std::isalpha(static_cast<unsigned char>(ch)) ? static_cast<char>(ch ^ 0x20) : ch;
    }
    EXPECT_TRUE(object->ContainerDerivesFrom(swapped.c_str())) << swapped;
    const std::size_t tab = id.find('\t');
    const std::string chopped = id.substr(0, id.size() - 1);
    // A naive fold would match ')' with the tab (0x09 | 0x20) and 0x10 with '0' (0x10 | 0x20).
    for (const std::string& nearMiss :
         {id.substr(0, tab), id + " ", std::string(id).replace(tab, 1, ")"), chopped + '\x10',
          chopped, std::string()}) {
        EXPECT_FALSE(object->ContainerDerivesFrom(nearMiss.c_str())) << nearMiss;
    }
    EXPECT_FALSE(object->ContainerDerivesFrom(nullptr));
}

INSTANTIATE_TEST_SUITE_P(AllTypes, TypeFrame, ::testing::ValuesIn(testsupport::AllTypes()),
                         TypeName);

class CreatableType : public testsupport::HostTest,
                      public ::testing::WithParamInterface<TypeCase> {};

TEST_P(CreatableType, FactoryMakesOneReferenceRegisteredWithItselfOrNothingAtAll) {
    vzt::FailAllAllocations(true);
    EXPECT_EQ(GetParam().factory(), nullptr);
    vzt::FailAllAllocations(false);
    EXPECT_TRUE(vzt::Journal().empty());
    EXPECT_TRUE(AllocatorBalanced());

    QV_ModelType* made = GetParam().factory();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(vzt::RefCount(*made), 1u);
    const auto addRefs = EventsOf(vzt::EventKind::AddRef);
    ASSERT_EQ(addRefs.size(), 1u);
    EXPECT_EQ(addRefs[0].object, made);
    EXPECT_EQ(static_cast<void*>(made), static_cast<QV_PtrVectorObject*>(made));
    ExpectRegistrations(GetParam(), made);
    // Nothing is registered with any other owner (member ports have none of their own).
    for (const vzt::Event& e : EventsOf(vzt::EventKind::AddProperty)) {
        EXPECT_EQ(e.owner, made) << e.name;
    }
    EXPECT_FALSE(AllocatorBalanced()) << "made through the host's allocator";
    EXPECT_EQ(made->Release(), 0u);
    EXPECT_TRUE(AllocatorBalanced()) << "release returns every byte";
}

INSTANTIATE_TEST_SUITE_P(AllTypes, CreatableType,
                         ::testing::ValuesIn(testsupport::CreatableTypes()), TypeName);

using LevelBookkeeping = testsupport::HostTest;

// A distribution over linked domains counts its instances on from the host's counter, a
// negative one included, and its own entries are those past the host's.
TEST_F(LevelBookkeeping, JacPatternCountsOnFromANegativeHostCounter) {
    QV_DOMAIN x, y, z;
    QV_DISTRIBUTION1D d1;
    QV_DISTRIBUTION2D d2;
    QV_DISTRIBUTION3D d3;
    vzt::Link(d1.XDOMAIN, &x);
    for (auto* d : {&d2.XDOMAIN, &d3.XDOMAIN})
        vzt::Link(*d, &x);
    for (auto* d : {&d2.YDOMAIN, &d3.YDOMAIN})
        vzt::Link(*d, &y);
    vzt::Link(d3.ZDOMAIN, &z);
    struct Case {
        QV_ModelType* distribution;
        std::vector<QV_ModelType*> models;
        int* ownEntries;
    };
    for (const Case& c :
         {Case{&d1, {&x, &d1}, &d1.m_localNZCount}, Case{&d2, {&x, &y, &d2}, &d2.m_localNZCount},
          Case{&d3, {&x, &y, &z, &d3}, &d3.m_localNZCount}}) {
        vzt::Base().setUpEquations = 0;
        vzt::Base().jacPattern = -7;
        const vzt::ModelOutcome outcome = vzt::Drive(c.models).back();
        ASSERT_GT(outcome.setUpResult, 0) << c.distribution->QV_DefaultDESCRIPTION();
        EXPECT_EQ(outcome.jacPatternResult, -7 + outcome.setUpResult);
        EXPECT_EQ(std::size_t(*c.ownEntries), outcome.rowsWritten);
    }
}

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
    EXPECT_EQ(vzt::Properties(parentB).size(), 4u + 3u);
}

} // namespace
