// Multiports: the multiport itself and then its connection ports, one per connection name,
// made once each; unknown names find nothing.
#include <string>

#include "support/counting_array.h"
#include "types/generic/models.h"
#include "types/generic/multiports.h"

namespace {

template <class M>
class Multiport : public HostTest {};

using Named =
    ::testing::Types<QV_QV_MICONTROLPORT, QV_QV_MOCONTROLPORT, QV_QV_MIOCONTROLPORT,
                     QV_QV_MIGENERICPORT, QV_QV_MOGENERICPORT, QV_QV_MIOGENERICPORT,
                     QV_QV_MICONNECTIONPORT, QV_QV_MOCONNECTIONPORT, QV_QV_MIOCONNECTIONPORT>;
TYPED_TEST_SUITE(Multiport, Named);

TYPED_TEST(Multiport, RegistersItsConnectionArrayAndWalksItselfFirstThenEachConnectionPort) {
    TypeParam m;
    ASSERT_EQ(m.Properties().size(), 1u);
    EXPECT_EQ(m.Properties()[0], &m.CONNECTION);
    EXPECT_EQ(m.CONNECTION.DeclaredSet(0), &m.ConnectionNames());
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
    const QV_Value& names = m.ConnectionNames().LastAssignment();
    EXPECT_EQ(names.plainTag(), 7u) << "the unsigned argument tags the assigned names";
    EXPECT_EQ(names.AsSet().Size(), 1u);
    EXPECT_EQ(first->PropertyName(), std::string("(\"pump\")"));

    EXPECT_EQ(m.FindConnectionPort("unknown"), nullptr);
    EXPECT_EQ(m.FindConnectionPort("PUMP"), nullptr);
    EXPECT_EQ(m.FindConnectionPort(nullptr), nullptr);
    EXPECT_EQ(m.CreateConnectionPort(nullptr, 0), nullptr);
    EXPECT_EQ(m.CreateConnectionPort("", 0), nullptr);
    EXPECT_EQ(m.CONNECTION.Elements().Size(), 1u);
    EXPECT_EQ(m.PortCount(true), 2);
}

class Multiports : public HostTest {};

TEST_F(Multiports, ConnectionPortsAreCompletePortsWithoutParent) {
    QV_QV_MIGENERICPORT m;
    auto* port = dynamic_cast<QV_GENERICPORT*>(m.CreateConnectionPort("x", 0));
    ASSERT_NE(port, nullptr);
    EXPECT_EQ(port->m_parent, nullptr);
    EXPECT_EQ(port->Properties().size(), 3u) << "its own Construct ran";
}

TEST_F(Multiports, ArrayTakesDirectionAndExportSettingsBeforeThePortIsMade) {
    QV_GENERICMODEL owner;
    QV_QV_MOCONTROLPORT exported;
    exported.AddProperty(&owner, "OUTLETS", nullptr, QV_DirectionOutput, false);
    exported.HostPortType(9);
    vzt::ClearJournal();
    exported.CreateConnectionPort("a", 0);
    EXPECT_EQ(exported.CONNECTION.Direction(), QV_DirectionOutput);
    auto hostTypes = EventsOf(vzt::EventKind::HostPortType);
    ASSERT_EQ(hostTypes.size(), 1u);
    EXPECT_EQ(hostTypes[0].object, &exported.CONNECTION);
    EXPECT_EQ(hostTypes[0].a, 9);

    QV_QV_MOCONTROLPORT hidden;
    hidden.UnsetIsToBeExported();
    hidden.CreateConnectionPort("a", 0);
    EXPECT_FALSE(hidden.CONNECTION.IsToBeExported());
    EXPECT_EQ(hidden.CONNECTION.HostPortType(), 0);
}

TEST_F(Multiports, AssignedMultiportKeepsItsOwnNamesBound) {
    QV_QV_MICONTROLPORT source;
    source.Connect("a");
    QV_QV_MICONTROLPORT target;
    target = source;
    EXPECT_EQ(target.CONNECTION.DeclaredSet(0), &target.ConnectionNames());
    EXPECT_NE(target.FindConnectionPort("a"), nullptr);
    EXPECT_NE(target.FindConnectionPort("a"), source.FindConnectionPort("a"));
}

} // namespace
