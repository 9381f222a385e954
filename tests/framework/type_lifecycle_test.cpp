// Creation, declaration and destruction of every general-purpose type.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/host_fixture.h"
#include "support/type_cases.h"
#include "types/generic/models.h"
#include "types/generic/signals.h"

namespace {

using testsupport::TypeCase;

class TypeLifeCycle : public testsupport::HostTest, public ::testing::WithParamInterface<TypeCase> {
protected:
    // The names owner registered, in order. Every registration leaves its flag false; inlets
    // are inputs, outlets outputs, and nothing else has a direction.
    static std::vector<std::string> Registered(const void* owner) {
        std::vector<std::string> names;
        for (const vzt::Event& e : EventsOf(vzt::EventKind::AddProperty)) {
            if (e.owner == owner) {
                EXPECT_FALSE(e.flag) << e.name;
                const bool in = e.name.find("INPUT") != std::string::npos || e.name == "SOURCE";
                const bool out = e.name.find("OUTPUT") != std::string::npos || e.name == "DEST";
                EXPECT_EQ(e.direction, in ? 4 : out ? 8 : 0) << e.name;
                names.push_back(e.name);
            }
        }
        return names;
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

TEST_P(CreatableTypeLifeCycle, FactoryTakesOneReferenceAndRegistersEverythingWithItself) {
    QV_ModelType* object = GetParam().factory();
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(object->RefCount(), 1u);
    const auto addRefs = EventsOf(vzt::EventKind::AddRef);
    ASSERT_EQ(addRefs.size(), 1u);
    EXPECT_EQ(addRefs[0].object, object);
    EXPECT_EQ(static_cast<void*>(object), static_cast<QV_Unknown*>(object));
    // Nothing is registered with any other owner (member ports have none of their own).
    EXPECT_EQ(Registered(object).size(), CountOf(vzt::EventKind::AddProperty));
    object->Release();
}

TEST_P(CreatableTypeLifeCycle, ReleaseReturnsEveryByteToTheAllocator) {
    QV_ModelType* object = GetParam().factory();
    ASSERT_NE(object, nullptr);
    EXPECT_FALSE(AllocatorBalanced());
    EXPECT_EQ(object->Release(), 0u);
    EXPECT_TRUE(AllocatorBalanced());
}

INSTANTIATE_TEST_SUITE_P(AllTypes, CreatableTypeLifeCycle,
                         ::testing::ValuesIn(testsupport::CreatableTypes()),
                         [](const auto& info) { return info.param.type; });

TEST_P(TypeLifeCycle, ConstructSwitchOffRegistersNothingUntilConstructThenWithTheParent) {
    QV_ModelType* alone = GetParam().make(true, nullptr);
    const std::vector<std::string> names = Registered(alone);
    delete alone;
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
    EXPECT_EQ(Registered(&parent), names) << "the same registrations, with the parent";
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
