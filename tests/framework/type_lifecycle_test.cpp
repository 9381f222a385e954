// Creation, declaration and destruction of every general-purpose type, against the table of
// what each registers.
#include <gtest/gtest.h>

#include "support/host_fixture.h"
#include "support/type_cases.h"
#include "types/generic/models.h"
#include "types/generic/signals.h"

namespace {

using testsupport::FollowUp;
using testsupport::TypeCase;

class TypeLifeCycle : public testsupport::HostTest, public ::testing::WithParamInterface<TypeCase> {
protected:
    // Checks the journal's registrations of owner against the table: names, directions, no
    // description, flag false, each port's follow-up right after its own registration.
    static void ExpectRegistrations(const TypeCase& c, const void* owner) {
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
            if (expected.description) {
                EXPECT_EQ(e.description, *expected.description);
            }
            EXPECT_FALSE(e.flag) << e.name;
            EXPECT_EQ(e.flavour, expected.flavour) << e.name;

            // A port's follow-up comes right after its own registration, and only a port's.
            const bool followed = i + 1 < journal.size() && journal[i + 1].object == e.object;
            const vzt::Event* after = followed ? &journal[i + 1] : nullptr;
            const bool unexport = after && after->kind == vzt::EventKind::UnsetIsToBeExported;
            const bool hostType4 =
                after && after->kind == vzt::EventKind::HostPortType && after->a == 4;
            EXPECT_EQ(unexport, expected.followUp == FollowUp::Unexport) << e.name;
            EXPECT_EQ(hostType4, expected.followUp == FollowUp::HostPortType4) << e.name;
        }
        EXPECT_EQ(next, c.registrations.size());
    }
};

class CreatableTypeLifeCycle : public TypeLifeCycle {};

TEST_P(CreatableTypeLifeCycle, FactoryWithFailingAllocatorReturnsNullAndConstructsNothing) {
    vzt::FailAllAllocations(true);
    QV_ModelType* object = GetParam().factory();
    vzt::FailAllAllocations(false);
    EXPECT_EQ(object, nullptr);
    EXPECT_TRUE(vzt::Journal().empty());
    EXPECT_TRUE(AllocatorBalanced());
}

TEST_P(CreatableTypeLifeCycle, FactoryTakesOneReferenceRegistersWithItselfAndReleasesAll) {
    QV_ModelType* object = GetParam().factory();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->RefCount(), 1u);
    const auto addRefs = EventsOf(vzt::EventKind::AddRef);
    ASSERT_EQ(addRefs.size(), 1u);
    EXPECT_EQ(addRefs[0].object, object);
    EXPECT_EQ(static_cast<void*>(object), static_cast<QV_Unknown*>(object));
    ExpectRegistrations(GetParam(), object);
    // Nothing is registered with any other owner (member ports have none of their own).
    for (const vzt::Event& e : EventsOf(vzt::EventKind::AddProperty)) {
        EXPECT_EQ(e.owner, object) << e.name;
    }
    EXPECT_FALSE(AllocatorBalanced()) << "made through the host's allocator";
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(AllocatorBalanced()) << "release returns every byte";
}

INSTANTIATE_TEST_SUITE_P(AllTypes, CreatableTypeLifeCycle,
                         ::testing::ValuesIn(testsupport::CreatableTypes()),
                         [](const auto& info) { return info.param.type; });

TEST_P(TypeLifeCycle, ConstructSwitchOffRegistersNothingUntilConstructThenWithTheParent) {
    QV_GENERICMODEL parent(true, nullptr);
    vzt::ClearJournal();
    QV_ModelType* object = GetParam().make(false, &parent);
    ASSERT_NE(object, nullptr);
    // Member ports still run their own (empty) declaration; nothing reaches the parent.
    for (const vzt::Event& e : EventsOf(vzt::EventKind::AddProperty)) {
        EXPECT_NE(e.owner, &parent) << e.name;
        EXPECT_NE(e.owner, object) << e.name;
    }
    vzt::ClearJournal();

    GetParam().construct(object);
    ExpectRegistrations(GetParam(), &parent);
    delete object;
    EXPECT_TRUE(parent.Properties().size() == 4u);
}

TEST_P(TypeLifeCycle, MemberPortsHaveNoParentButBelongToTheirOwner) {
    QV_ModelType* object = GetParam().make(true, nullptr);
    ASSERT_NE(object, nullptr);
    for (const QV_Containable* property : object->Properties()) {
        EXPECT_EQ(property->PropertyOwner(), object);
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
    delete object;
    EXPECT_TRUE(AllocatorBalanced());
}

INSTANTIATE_TEST_SUITE_P(AllTypes, TypeLifeCycle, ::testing::ValuesIn(testsupport::AllTypes()),
                         [](const auto& info) { return info.param.type; });

TEST(ComponentLists, AreTheRegisteredMembers) {
    QV_GENERICMODEL model;
    QV_GENERICSTREAM stream;
    QV_GENERICSTRUCTURE structure;
    QV_GENERICPORT port;
    EXPECT_EQ(model.ComponentList(), model.FindProperty("COMPONENTLIST"));
    EXPECT_EQ(stream.ComponentList(), stream.FindProperty("COMPONENTLIST"));
    EXPECT_EQ(structure.ComponentList(), structure.FindProperty("COMPONENTLIST"));
    EXPECT_EQ(port.ComponentList(), port.FindProperty("COMPONENTLIST"));
    EXPECT_EQ(port.IsConnected(), port.FindProperty("ISCONNECTED"));
    EXPECT_EQ(model.ComponentList(), model.ComponentList());
}

} // namespace
