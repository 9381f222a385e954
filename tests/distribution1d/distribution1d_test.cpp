// A one-dimensional distribution over a real domain, driven as the host drives a model: its
// index sets, its two equation walks, and its residuals on an exact field.
#include "tests/distribution/real_model.h"
#include "types/distribution1d/distribution1d.h"
#include "types/distribution1d/statements.h"

namespace testsupport {

using Model1D = RealModel<QV_DISTRIBUTION1D, 1>;

// In the order of the distribution's arrays.
template <>
std::vector<ArrayRow> Model1D::Arrays() {
    QV_DISTRIBUTION1D& d = distribution;
    return {Row("VALUE", *d.VALUE.get(), {&d.QV_VALUE_SET1}, {Factor::Value}),
            Row("DDX", d.DDX, {&d.QV_DDX_SET1}, {Factor::First}),
            Row("D2DX2", d.D2DX2, {&d.QV_D2DX2_SET1}, {Factor::Second}),
            Row("IDX", d.IDX, {&d.QV_IDX_SET1}, {Factor::Interval})};
}
template <>
pellorin::eqn::StatementView Model1D::StatementTable() {
    return pellorin::dist1d::Statements();
}
template <>
int Model1D::OwnDirection(int) {
    return 0;
}

namespace {

// Every method, 1 to `maxSections` sections, highest derivative 1 and 2 (the distribution's
// used order by default), with and without integrals, under "Backward" and "Forward" (for
// the collocation methods only, unless `boundaryConditionsForAll`).
std::vector<Configuration<1>> EveryMethod(int maxSections, bool boundaryConditionsForAll = false) {
    std::vector<Configuration<1>> all;
    for (const char* method : kMethods) {
        for (int sections = 1; sections <= maxSections; ++sections) {
            for (int hod : {1, 2}) {
                for (const char* integrals : {"", "idx"}) {
                    for (const char* ebc : {"Backward", "Forward"}) {
                        if (boundaryConditionsForAll || IsCollocation(method) ||
                            std::string(ebc) == "Backward") {
                            all.push_back({{{{method, sections, ebc, -1, hod}}}, integrals});
                        }
                    }
                }
            }
        }
    }
    return all;
}

using Distribution1DTest = HostTest;

// With no derivative in use DDX keeps node 0 alone and D2DX2 nothing; the sets of the other
// orders are checked end to end, where the walks look up every element of them.
TEST_F(Distribution1DTest, IndexSetsFollowTheDerivativeOrderInUseAndTheIntegrals) {
    auto m = Model1D::From({"DISCRETIZATIONMETHOD=BFD1;HIGHESTORDERDERIVATIVE=1"},
                           "HIGHESTORDERXDERIVATIVEUSED=0");
    m->Drive();
    EXPECT_EQ(Members(m->distribution.QV_VALUE_SET1.v()), Range(0, 8));
    EXPECT_EQ(Members(m->distribution.QV_DDX_SET1.v()), std::vector<int>{0});
    EXPECT_TRUE(m->distribution.QV_D2DX2_SET1.v().IsEmpty());
    // The host applies the default "None", so no integral is asked for.
    EXPECT_TRUE(m->distribution.QV_IDX_SET1.v().IsEmpty());
}

TEST_F(Distribution1DTest, WithoutADomainNothingIsAssignedAndSetUpFails) {
    QV_DISTRIBUTION1D distribution;
    vzt::Base().setUpEquations = 5;
    const auto outcome = vzt::Drive({&distribution});
    EXPECT_EQ(CountOf(vzt::EventKind::Assign), 0u);
    EXPECT_LT(outcome[0].setUpResult, 0);
    EXPECT_EQ(vzt::Equations(distribution).EquationCount(), 0u);
}

TEST_F(Distribution1DTest, AnUnknownMethodTakesNoBlock) {
    auto m = Model1D::From({"DISCRETIZATIONMETHOD=BFD1"}, "INTEGRALS=idx");
    m->Drive(); // lay the domain out, then change the method under the distribution
    vzt::Specify(m->domains[0].DISCRETIZATIONMETHOD, QV_Value("SPLINE", 0u));
    EXPECT_EQ(m->distribution.SetUpEquations(), 1);
    EXPECT_EQ(vzt::Equations(m->distribution).Instance(0).incidenceCount, 1u);
}

// A domain whose sections are too short for the method's stencil leaves terms outside the
// declared sets: SetUpEquations fails and registers nothing, not even the instances it could
// have had before the first missing term.
TEST_F(Distribution1DTest, AWalkThatMeetsAMissingTermRegistersNothing) {
    for (const char* domain :
         {"DISCRETIZATIONMETHOD=CFD4;NUMPOLYPOINTS=0;MINNODECOUNT=1;SPACINGPREFERENCE=100",
          "DISCRETIZATIONMETHOD=OCFE3;NUMPOLYPOINTS=1"}) {
        SCOPED_TRACE(domain);
        auto m = Model1D::From({domain}, "INTEGRALS=idx;HIGHESTORDERXDERIVATIVEUSED=2");
        const int lastGroup = QV_ModelType::m_stLastGroup;
        const auto outcomes = m->Drive();
        EXPECT_LT(outcomes.back().setUpResult, 0);
        EXPECT_EQ(vzt::Equations(m->distribution).InstanceCount(), 0u);
        EXPECT_EQ(vzt::Equations(m->distribution).IncidenceCount(), 0u);
        EXPECT_EQ(QV_ModelType::m_stLastGroup, lastGroup);
    }
}

// A section the host cannot make ends the walk, and SetUpEquations fails, without asking for
// any later section.
TEST_F(Distribution1DTest, AWalkEndsAtTheFirstSectionTheHostCannotMake) {
    auto m = Model1D::From({"DISCRETIZATIONMETHOD=BFD1;NUMSECTIONS=2"});
    m->Drive(); // every element is made; then sections the domain has not laid out
    vzt::Specify(m->domains[0].NUMSECTIONS, QV_Value(1000, 0u));
    const std::size_t before = vzt::Allocator().totalAllocations;
    vzt::FailAllAllocations(true);
    EXPECT_LT(m->distribution.SetUpEquations(), 0);
    vzt::FailAllAllocations(false);
    // The third section, and the walk's own memo of sections.
    EXPECT_LE(vzt::Allocator().totalAllocations - before, 2u);
}

// A model of a real domain and distribution is square once it adds the equations the balance
// rule names: a second-order model one equation per second-derivative node and two boundary
// conditions, a first-order model one equation per node but one and one boundary condition.
TEST_F(Distribution1DTest, EveryMethodIsSquareThroughRealDomainObjects) {
    vzt::EnableJournal(false);
    for (const Configuration<1>& c : EveryMethod(4, true)) {
        SCOPED_TRACE(TestName(c));
        Model1D model(c);
        model.Drive();
        const QV_DISTRIBUTION1D& d = model.distribution;
        const int used = d.HIGHESTORDERXDERIVATIVEUSED.v();
        ASSERT_EQ(used, c.directions[0].hod);
        const int seconds = int(d.QV_D2DX2_SET1.v().Size());
        const int added = used > 1 ? seconds + 2 : model.domains[0].ENDNODE.v() + 1;
        EXPECT_EQ(int(vzt::Equations(d).InstanceCount()) + added,
                  int(d.QV_VALUE_SET1.v().Size() + d.QV_DDX_SET1.v().Size() + seconds +
                      d.QV_IDX_SET1.v().Size()));
    }
}

using Distribution1DEndToEnd = EndToEnd<QV_DISTRIBUTION1D, 1>;

TEST_P(Distribution1DEndToEnd, BothWalksAgreeAndLookUpEveryElementOfTheDeclaredSets) {
    ExpectWalksAgreeInsideTheSets(true);
}

// The collocation points are the domain's stored 5-decimal positions, not the exact
// Gauss-Legendre ones.
TEST_P(Distribution1DEndToEnd, ResidualsAreExactToEachStatementsDegreeAndNoHigher) {
    ExpectExactToEachStatementsDegree();
}

INSTANTIATE_TEST_SUITE_P(EveryMethod, Distribution1DEndToEnd, ::testing::ValuesIn(EveryMethod(3)),
                         [](const auto& info) { return TestName(info.param); });

} // namespace
} // namespace testsupport
