// Values, registrations and equation records of the stand-in host.
#include <climits>
#include <cmath>
#include <memory>
#include <vector>

#include "framework/assign.h"
#include "standin/host_access.h"
#include "support/host_fixture.h"

namespace {

using PropertiesTest = testsupport::HostTest;

TEST_F(PropertiesTest, UserValueStandsAgainstLaterDefaultAssignments) {
    QV_INTEGERPARAMETER sections(true);
    EXPECT_EQ(sections.v(), 0); // the host class's own default

    pellorin::Assign(sections, QV_Value(3, 7, 4, 12));
    EXPECT_EQ(sections.v(), 3);
    EXPECT_EQ(vzt::Tag(vzt::LastAssignment(sections)), (QV_ValueTag{7, 4, 12}));

    vzt::Specify(sections, QV_Value(5, 0u));
    pellorin::Assign(sections, QV_Value(9, 7, 4, 12));
    EXPECT_EQ(sections.v(), 5);
    EXPECT_EQ(vzt::AsInteger(vzt::LastAssignment(sections)), 9);

    vzt::Unspecify(sections);
    EXPECT_EQ(sections.v(), 9);
}

TEST_F(PropertiesTest, ValuesConvertBetweenKindsWithoutOverflow) {
    QV_INTEGERPARAMETER p(true);
    pellorin::Assign(p, QV_Value(1e300, 0, 0, 1));
    EXPECT_EQ(p.v(), INT_MAX);
    pellorin::Assign(p, QV_Value(-1e300, 0, 0, 1));
    EXPECT_EQ(p.v(), INT_MIN);
    pellorin::Assign(p, QV_Value(std::nan(""), 0, 0, 1));
    EXPECT_EQ(p.v(), 0);
    QV_REALPARAMETER r(true);
    pellorin::Assign(r, QV_Value(7, 0, 0, 1));
    EXPECT_EQ(r.v(), 7.0);
    QV_STRINGPARAMETER s(true);
    EXPECT_STREQ(s.v(), "");
    pellorin::Assign(s, QV_Value("OCFE3", 0, 0, 1));
    EXPECT_STREQ(static_cast<const char*>(s), "OCFE3");
}

TEST_F(PropertiesTest, CopiedPropertyKeepsItsOwnUserValueAndAssignment) {
    QV_STRINGPARAMETER original(true);
    pellorin::Assign(original, QV_Value("BFD1", 2, 3, 4));
    vzt::Specify(original, QV_Value("CFD4", 0u));

    QV_STRINGPARAMETER copy(original);
    EXPECT_TRUE(vzt::IsSpecified(copy));
    EXPECT_STREQ(copy.v(), "CFD4");
    vzt::Specify(copy, QV_Value("OCFE2", 0u));
    EXPECT_STREQ(original.v(), "CFD4");
    vzt::Unspecify(copy);
    EXPECT_FALSE(vzt::IsSpecified(copy));
    EXPECT_STREQ(copy.v(), "BFD1");
    EXPECT_TRUE(vzt::IsSpecified(original));

    original = copy;
    EXPECT_FALSE(vzt::IsSpecified(original));
    EXPECT_EQ(vzt::Tag(vzt::LastAssignment(original)), (QV_ValueTag{2, 3, 4}));
}

// Every kind reads back as itself and as nothing of another kind, copies compare equal,
// and a reset value keeps its tags.
TEST_F(PropertiesTest, ValuesOfEveryKindReadBackAndCompare) {
    const QV_Value values[] = {QV_Value(), QV_Value(4, 1, 2, 3), QV_Value(2.5, 1, 2, 3),
                               QV_Value("idx", 1, 2, 3), QV_Value(QV_IntSetValue(1, 3), 1, 2, 3)};
    for (const QV_Value& value : values) {
        const QV_Value copy = value;
        EXPECT_TRUE(copy == value);
        const bool text = vzt::Kind(value) == vzt::ValueKind::Text;
        EXPECT_STREQ(vzt::AsText(value), text ? "idx" : "");
        EXPECT_EQ(vzt::AsSet(value).Size(), vzt::Kind(value) == vzt::ValueKind::Set ? 3u : 0u);
        EXPECT_FALSE(value == QV_Value("other", 1, 2, 3));
    }
    QV_Value reset = values[3];
    reset.ResetValue(1.5);
    EXPECT_EQ(vzt::Kind(reset), vzt::ValueKind::Real);
    EXPECT_STREQ(vzt::AsText(reset), "");
    EXPECT_EQ(vzt::Tag(reset), (QV_ValueTag{1, 2, 3}));
    reset.ResetValue("idy");
    EXPECT_STREQ(vzt::AsText(reset), "idy");
    EXPECT_STREQ(vzt::AsText(values[3]), "idx");
}

// Assignments, user values and their removal in any order: the user's value stands while
// there is one, the last assignment otherwise, and a copy reads the same.
TEST_F(PropertiesTest, HeldValuesFollowEveryOrderOfAssignmentAndUserValue) {
    const struct {
        const char* steps; // a: assign, s: specify, u: unspecify
        double value;
        bool specified;
    } cases[] = {{"", 0.0, false},     {"a", 1.0, false},   {"s", 2.0, true},    {"as", 2.0, true},
                 {"sa", 2.0, true},    {"asu", 1.0, false}, {"sua", 1.0, false}, {"su", 0.0, false},
                 {"asua", 1.0, false}, {"asus", 2.0, true}};
    for (const auto& c : cases) {
        QV_REALPARAMETER p(true);
        for (const char* step = c.steps; *step != 0; ++step) {
            QV_Value assigned(1.0, 1, 2, 3);
            if (*step == 'a') {
                EXPECT_EQ(p.Assign(&assigned), 0);
            } else if (*step == 's') {
                EXPECT_TRUE(vzt::Specify(p, QV_Value(2.0, 0u)));
            } else {
                vzt::Unspecify(p);
            }
        }
        QV_REALPARAMETER copy(p);
        for (const QV_REALPARAMETER* read : {&p, &copy}) {
            EXPECT_EQ(read->v(), c.value) << c.steps;
            EXPECT_EQ(vzt::IsSpecified(*read), c.specified) << c.steps;
        }
    }
}

// Without memory for its values a property refuses them and carries on as it was; the
// allocator counts the failure.
TEST_F(PropertiesTest, PropertyWithoutMemoryForItsValuesRefusesThemAndCarriesOn) {
    QV_REALPARAMETER real(true);
    QV_Value value(2.5, 1, 2, 3);
    const std::size_t failed = vzt::Allocator().failedAllocations;
    vzt::FailAllAllocations(true);
    EXPECT_EQ(real.Assign(&value), -1);
    EXPECT_FALSE(vzt::Specify(real, QV_Value(4.0, 0u)));
    vzt::FailAllAllocations(false);
    EXPECT_EQ(vzt::Allocator().failedAllocations, failed + 2);
    EXPECT_EQ(real.v(), 0.0);
    EXPECT_TRUE(real.IsDefaultAssignment());
    EXPECT_EQ(real.Assign(&value), 0);
    EXPECT_EQ(real.v(), 2.5);
}

// Copies and moves between values of every kind leave each value whole: a shared text or set
// lives as long as its last holder.
TEST_F(PropertiesTest, ValuesCopiedMovedAndOverwrittenAcrossKindsStayWhole) {
    const QV_Value values[] = {QV_Value(), QV_Value(4, 1, 2, 3), QV_Value(2.5, 7u),
                               QV_Value("idx", 1, 2, 3), QV_Value(QV_IntSetValue(1, 3), 1, 2, 3)};
    for (const QV_Value& from : values) {
        for (const QV_Value& to : values) {
            QV_Value target = to;
            target = from;
            EXPECT_TRUE(target == from);
            QV_Value source = target;
            QV_Value moved = std::move(source);
            EXPECT_TRUE(moved == from);
            source = to; // a moved-from value takes a new one
            EXPECT_TRUE(source == to);
            moved = std::move(source);
            EXPECT_TRUE(moved == to);
            const QV_Value& alias = target;
            target = alias;
            EXPECT_TRUE(target == from);
        }
    }
    EXPECT_STREQ(vzt::AsText(values[3]), "idx");
    EXPECT_EQ(vzt::AsSet(values[4]).Size(), 3u);
    // A value has one tag or the other; a reset keeps the one it has.
    QV_Value plain = values[2];
    plain.ResetValue("text");
    EXPECT_EQ(vzt::PlainTag(plain), 7u);
    EXPECT_EQ(vzt::Tag(plain), QV_ValueTag{});
    EXPECT_EQ(vzt::PlainTag(values[1]), 0u);
    EXPECT_FALSE(values[2] == QV_Value(2.5, 0, 0, 7));
}

TEST_F(PropertiesTest, RegistrationsAreListedByOwnerInOrderAndUnlinkedFromEitherSide) {
    auto* owner = new QV_ModelTypeEx2;
    {
        QV_STRINGPARAMETER notes(true);
        QV_REALPARAMETER length(true);
        notes.AddProperty(owner, "NOTES", nullptr, QV_DirectionNone, false);
        EXPECT_EQ(length.AddProperty(owner, "LENGTH", "Length of it", QV_DirectionInput, false),
                  &length);
        ASSERT_EQ(vzt::Properties(*owner).size(), 2u);
        EXPECT_EQ(vzt::Properties(*owner)[0], &notes);
        EXPECT_EQ(vzt::FindProperty(*owner, "LENGTH"), &length);
        EXPECT_STREQ(vzt::PropertyDescription(length), "Length of it");
        EXPECT_EQ(vzt::PropertyDescription(notes), nullptr);
    }
    EXPECT_TRUE(vzt::Properties(*owner).empty()); // members destroyed first unlink themselves

    QV_STRINGPARAMETER outlives(true);
    outlives.AddProperty(owner, "OUTLIVES", nullptr, QV_DirectionNone, false);
    delete owner; // the owner destroyed first unlinks its properties
    EXPECT_EQ(vzt::PropertyOwner(outlives), nullptr);
}

TEST_F(PropertiesTest, EquationStoreKeepsInstancesAndTokenStreamsApart) {
    QV_ModelTypeEx2 model;
    QV_REALVARIABLE x(true);
    QV_REALPARAMETER h(true);

    model.SetGroupLimits(3);
    model.AddNonZero(x);
    model.AddNonZero(h);
    model.SetGroupLimits(4);
    EXPECT_EQ(QV_ModelType::m_stLastGroup, 4);

    int counter = 10;
    int rows[2] = {-1, -1}, cols[2] = {-1, -1};
    int *r = rows, *c = cols;
    model.AddOp(EOp_Plus, 0);                             // nothing open yet
    vzt::SetJacobianBufferEnd(model, rows + 1, cols + 1); // room for one entry only
    model.AddEquation("QV_Eqn3", counter, 3);
    model.AddOp(EOp_Times, 10);
    model.AddTerm(x, r, c, 10);
    model.AddTerm(h, r, c, 10);
    model.AddTerm(2.5, 9); // names an equation other than the open one

    const QV_EquationStore& store = vzt::Equations(model);
    ASSERT_EQ(store.InstanceCount(), 2u);
    EXPECT_EQ(store.Instance(0).incidenceCount, 2u);
    EXPECT_EQ(store.Instance(1).incidenceCount, 0u);
    ASSERT_EQ(store.EquationCount(), 1u);
    EXPECT_EQ(store.Equation(0).tokenCount, 3u);
    EXPECT_EQ(store.MisroutedTokens(), 2u);
    EXPECT_EQ(rows[0], 10);
    EXPECT_EQ(r, rows + 1);
    EXPECT_EQ(vzt::JacobianOverruns(model), 1u);

    model.ResetExpressions();
    model.AddTerm(2, 10); // the open equation was reset
    EXPECT_EQ(vzt::Equations(model).EquationCount(), 0u);
    EXPECT_EQ(vzt::Equations(model).TokenCount(), 0u);
    EXPECT_EQ(vzt::Equations(model).MisroutedTokens(), 1u); // counted since the reset
    EXPECT_EQ(vzt::Equations(model).InstanceCount(), 2u);
}

// Every incidence entry reads back as the term registered, whether the term lives in a block
// of the host's allocator or elsewhere (on the stack, inside a model), and so do the tokens
// that name their instance's terms.
TEST_F(PropertiesTest, IncidenceReadsBackEachTermWhereverItLives) {
    QV_ModelTypeEx2 model;
    QV_REALVARIABLE onStack(true);
    struct Holder {
        double before = 0;
        QV_REALVARIABLE member{true};
    };
    const auto holder = std::make_unique<Holder>(); // from the global heap, not the host's
    std::vector<std::unique_ptr<QV_REALVARIABLE>> made;
    for (int k = 0; k < 20000; ++k) { // more than one slab
        made.emplace_back(new QV_REALVARIABLE(true));
    }
    const std::vector<QV_REALVARIABLE*> terms = {made[0].get(),   &onStack, made[19999].get(),
                                                 &holder->member, &onStack, made[7].get()};
    model.SetGroupLimits(1);
    for (QV_REALVARIABLE* term : terms) {
        model.AddNonZero(*term);
    }
    int counter = 1;
    int rows[8] = {}, cols[8] = {};
    int *r = rows, *c = cols;
    vzt::SetJacobianBufferEnd(model, rows + 8, cols + 8);
    model.AddEquation("QV_Eqn1", counter, 1);
    for (QV_REALVARIABLE* term : terms) {
        model.AddTerm(*term, r, c, 1);
    }
    const QV_EquationStore& store = vzt::Equations(model);
    ASSERT_EQ(store.Instance(0).incidenceCount, terms.size());
    ASSERT_EQ(store.Equation(0).tokenCount, terms.size());
    for (std::size_t k = 0; k < terms.size(); ++k) {
        EXPECT_EQ(store.Instance(0).incidence[k], terms[k]) << k;
        EXPECT_EQ(store.Equation(0).tokens[k].term, terms[k]) << k;
    }
}

} // namespace
