// References: the identity each kind of referred type reports, default objects made through
// the host's allocator, and the object the host linked, taken as it is.
// Multiports: the multiport itself and then its connection ports, one per connection name,
// made once each; unknown names find nothing.
#include <string>

#include "framework/arrays.h"
#include "framework/frame.h"
#include "framework/references.h"
#include "standin/host_access.h"
#include "support/counting_array.h"
#include "types/generic/models.h"
#include "types/generic/multiports.h"
#include "types/generic/signals.h"

namespace {

// A referred type and the identity its references report (its own unless said otherwise).
template <class T, const char* (*Id)() = &T::QV_ContainerId>
struct Expect {
    using Type = T;
    static const char* Identity() { return Id(); }
};

template <class T>
using ExpectMatrix = Expect<T, &QV_Matrix::QV_ContainerId>;
template <class T>
using ExpectMultiport = Expect<T, &QV_MULTIPORT_BaseType::QV_ContainerId>;

using Referred =
    ::testing::Types<Expect<QV_GENERICMODEL>, Expect<QV_GENERICSTREAM>, Expect<QV_GENERICSTRUCTURE>,
                     Expect<QV_GENERICPORT>, Expect<QV_CONTROLPORT>, Expect<QV_CONNECTIONPORT>,
                     Expect<QV_GENERICCONTROLSIGNAL>, Expect<QV_CONTROLSIGNAL>,
                     Expect<QV_GENERICCONNECTION>, Expect<QV_CONNECTION>,
                     ExpectMatrix<QV_ARRAY_S<QV_CONTROLPORT, QV_CONTROLPORT>>,
                     ExpectMatrix<QV_ARRAY_I<QV_REALPARAMETER, QV_REALPARAMETER>>,
                     ExpectMatrix<QV_ARRAY_II<QV_PARTIALDERIVATIVE, QV_PARTIALDERIVATIVE>>,
                     ExpectMatrix<QV_ARRAY_III<QV_REALVARIABLE, QV_REALVARIABLE>>,
                     ExpectMultiport<QV_QV_MICONTROLPORT>, ExpectMultiport<QV_QV_MIOGENERICPORT>,
                     ExpectMultiport<QV_QV_MOCONNECTIONPORT>, Expect<QV_REALPARAMETER>>;

template <class E>
class Reference : public HostTest {};
TYPED_TEST_SUITE(Reference, Referred);

TYPED_TEST(Reference, DefaultObjectIsANewTFromTheHostsAllocatorOrNullWithNothingConstructed) {
    using T = typename TypeParam::Type;
    QV_Virtual<T> named;
    const auto before = vzt::Allocator();
    QV_Type* first = named.NewDefaultVirtual();
    QV_Type* second = named.NewDefaultVirtual();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first, second);
    EXPECT_NE(dynamic_cast<T*>(first), nullptr);
    EXPECT_EQ(vzt::RefCount(*first), 0u) << "the caller owns it; no reference is taken";
    EXPECT_GT(vzt::Allocator().liveBlocks, before.liveBlocks);
    delete first;
    delete second;
    EXPECT_EQ(vzt::Allocator().liveBlocks, before.liveBlocks);

    vzt::ClearJournal();
    vzt::FailAllocation(1);
    EXPECT_EQ(named.NewDefaultVirtual(), nullptr);
    EXPECT_TRUE(vzt::Journal().empty()) << "no constructor ran, nothing registered";
    EXPECT_EQ(vzt::Allocator().failedAllocations, before.failedAllocations + 1);
    EXPECT_EQ(vzt::Allocator().liveBlocks, before.liveBlocks);
}

// Unresolved, a virtual reference stands for a default the host makes and owns; unlinked or
// unresolvable, a reference is null. Linked, it yields the very object the host linked.
TYPED_TEST(Reference, ReferenceReportsItsKindAndYieldsTheObjectTheHostLinked) {
    using T = typename TypeParam::Type;
    {
        QV_Virtual<T> named;
        T* object = pellorin::Linked(named);
        ASSERT_NE(object, nullptr);
        EXPECT_EQ(&*named, object);
    }
    EXPECT_TRUE(this->AllocatorBalanced());

    QV_External<T> external;
    QV_Virtual<T> named;
    EXPECT_STREQ(external.ExternalTypeName(), TypeParam::Identity());
    EXPECT_STREQ(named.VirtualBaseType(), TypeParam::Identity());
    EXPECT_EQ(pellorin::Linked(external), nullptr);
    vzt::FailAllAllocations(true);
    EXPECT_EQ(pellorin::Linked(named), nullptr);
    vzt::FailAllAllocations(false);

    QV_Type* object = named.NewDefaultVirtual();
    ASSERT_NE(object, nullptr);
    vzt::Link(external, object);
    vzt::Resolve(named, object);
    EXPECT_EQ(&*external, dynamic_cast<T*>(object));
    EXPECT_EQ(&*named, dynamic_cast<T*>(object));
    QV_External<T> copy(external);
    EXPECT_EQ(pellorin::Linked(copy), pellorin::Linked(external));
    delete object;
}

class References : public HostTest {};

TEST_F(References, StructureReferenceAcceptsOnlyGenericStructures) {
    QV_GLOBALSTRUCTUREREFNAME<QV_GENERICSTRUCTURE> ref;
    QV_ModelType* dummy = ref.CreateDummyInstance();
    ASSERT_NE(dummy, nullptr);
    QV_GENERICMODEL model;
    EXPECT_TRUE(ref.CheckCompatibleStructureType(dummy));
    EXPECT_FALSE(ref.CheckCompatibleStructureType(&model));
    EXPECT_FALSE(ref.CheckCompatibleStructureType(nullptr));
    EXPECT_EQ(ref.get(), nullptr);
    vzt::Link(ref, dummy);
    EXPECT_EQ(&static_cast<QV_GENERICSTRUCTURE&>(ref), dummy);
    delete dummy;
    vzt::FailAllocation(1);
    EXPECT_EQ(ref.CreateDummyInstance(), nullptr);
}

template <class M>
class Multiport : public HostTest {};

using Named =
    ::testing::Types<QV_QV_MICONTROLPORT, QV_QV_MOCONTROLPORT, QV_QV_MIOCONTROLPORT,
                     QV_QV_MIGENERICPORT, QV_QV_MOGENERICPORT, QV_QV_MIOGENERICPORT,
                     QV_QV_MICONNECTIONPORT, QV_QV_MOCONNECTIONPORT, QV_QV_MIOCONNECTIONPORT>;
TYPED_TEST_SUITE(Multiport, Named);

TYPED_TEST(Multiport, RegistersItsConnectionArrayAndWalksItselfFirstThenEachConnectionPort) {
    TypeParam m;
    ASSERT_EQ(vzt::Properties(m).size(), 1u);
    EXPECT_EQ(vzt::Properties(m)[0], &m.CONNECTION);
    EXPECT_EQ(vzt::DeclaredSet(m.CONNECTION, 0), &m.ConnectionNames());
    EXPECT_EQ(m.PortCount(true), 1) << "a new multiport counts only itself";
    QV_PortType* b = m.CreateConnectionPort("b", 3);
    QV_PortType* a = m.CreateConnectionPort("a", 3);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(m.PortCount(false), 3);
    const QV_Type* expected[] = {&m, a, b, nullptr}; // ports in the order of their names
    for (int n = 0; n < 4; ++n) {
        int counter = n;
        EXPECT_EQ(m.GetPort(counter, true), expected[n]) << "port " << n;
        EXPECT_EQ(counter, n < 3 ? -1 : 0) << "port " << n;
    }
}

TYPED_TEST(Multiport, EachNamedConnectionPortIsMadeOnceAndOtherNamesFindNothing) {
    TypeParam m;
    QV_PortType* first = m.CreateConnectionPort("pump", 7);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(m.CreateConnectionPort("pump", 7), first);
    EXPECT_EQ(m.FindConnectionPort("pump"), first);
    EXPECT_EQ(m.Connect("pump"), first);
    const QV_Value& names = vzt::LastAssignment(m.ConnectionNames());
    EXPECT_EQ(vzt::PlainTag(names), 7u) << "the unsigned argument tags the assigned names";
    EXPECT_EQ(vzt::AsSet(names).Size(), 1u);
    EXPECT_EQ(vzt::PropertyName(*first), std::string("(\"pump\")"));

    EXPECT_EQ(m.FindConnectionPort("unknown"), nullptr);
    EXPECT_EQ(m.FindConnectionPort("PUMP"), nullptr);
    EXPECT_EQ(m.FindConnectionPort(nullptr), nullptr);
    EXPECT_EQ(m.CreateConnectionPort(nullptr, 0), nullptr);
    EXPECT_EQ(m.CreateConnectionPort("", 0), nullptr);
    EXPECT_EQ(vzt::Elements(m.CONNECTION).Size(), 1u);
    EXPECT_EQ(m.PortCount(true), 2);
}

class Multiports : public HostTest {};

// The array takes the multiport's direction and export settings before the port is made.
TEST_F(Multiports, ConnectionPortIsACompletePortWithoutParentOnAnArraySetLikeItsMultiport) {
    QV_GENERICMODEL owner;
    QV_QV_MOGENERICPORT exported;
    exported.AddProperty(&owner, "OUTLETS", nullptr, QV_DirectionOutput, false);
    exported.HostPortType(9);
    auto* port = dynamic_cast<QV_GENERICPORT*>(exported.CreateConnectionPort("a", 0));
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->m_parent, nullptr);
    EXPECT_EQ(vzt::Properties(*port).size(), 3u) << "its own Construct ran";
    EXPECT_EQ(vzt::Direction(exported.CONNECTION), QV_DirectionOutput);
    EXPECT_EQ(vzt::HostPortType(exported.CONNECTION), 9);

    QV_QV_MOGENERICPORT hidden;
    hidden.UnsetIsToBeExported();
    hidden.CreateConnectionPort("a", 0);
    EXPECT_FALSE(vzt::IsToBeExported(hidden.CONNECTION));
}

TEST_F(Multiports, AssignedMultiportKeepsItsOwnNamesBound) {
    QV_QV_MICONTROLPORT source;
    source.Connect("a");
    QV_QV_MICONTROLPORT target;
    target = source;
    EXPECT_EQ(vzt::DeclaredSet(target.CONNECTION, 0), &target.ConnectionNames());
    EXPECT_NE(target.FindConnectionPort("a"), nullptr);
    EXPECT_NE(target.FindConnectionPort("a"), source.FindConnectionPort("a"));
}

} // namespace
