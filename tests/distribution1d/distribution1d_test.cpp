// A one-dimensional distribution over a real domain, driven as the host drives a model: its
// index sets, its two equation walks, and its residuals on an exact field.
#include <optional>
#include <string>

#include "distribution1d/real_model.h"
#include "domain/domain_fixture.h"

namespace testsupport {
namespace {

using pellorin::testing::ExactField;

using Distribution1DTest = HostTest;

// With no derivative in use DDX keeps node 0 alone and D2DX2 nothing; the sets of the other
// orders are checked end to end, where the walks look up every element of them.
TEST_F(Distribution1DTest, IndexSetsFollowTheDerivativeOrderInUseAndTheIntegrals) {
    RealModel m({"BFD1", 1, 1, false});
    m.distribution.HIGHESTORDERXDERIVATIVEUSED.Specify(QV_Value(0, 0u));
    m.Drive();
    EXPECT_EQ(Members(m.distribution.QV_VALUE_SET1.v()), Range(0, 8));
    EXPECT_EQ(Members(m.distribution.QV_DDX_SET1.v()), std::vector<int>{0});
    EXPECT_TRUE(m.distribution.QV_D2DX2_SET1.v().IsEmpty());
    // The host applies the default "None", so no integral is asked for.
    EXPECT_TRUE(m.distribution.QV_IDX_SET1.v().IsEmpty());
}

TEST_F(Distribution1DTest, WithoutADomainNothingIsAssignedAndSetUpFails) {
    QV_DISTRIBUTION1D distribution;
    vzt::Base().setUpEquations = 5;
    const auto outcome = vzt::Drive({&distribution});
    EXPECT_EQ(CountOf(vzt::EventKind::Assign), 0u);
    EXPECT_LT(outcome[0].setUpResult, 0);
    EXPECT_EQ(distribution.Equations().EquationCount(), 0u);
}

TEST_F(Distribution1DTest, AnUnknownMethodTakesNoBlock) {
    RealModel m({"SPLINE", 1, 1, true});
    m.domain.DISCRETIZATIONMETHOD.Specify(QV_Value("BFD1", 0u));
    m.Drive(); // lay the domain out, then change the method under the distribution
    m.domain.DISCRETIZATIONMETHOD.Specify(QV_Value("SPLINE", 0u));
    EXPECT_EQ(m.distribution.SetUpEquations(), 1);
    EXPECT_EQ(m.distribution.Equations().Instance(0).incidenceCount, 1u);
}

// A model of a real domain and distribution is square once it adds the equations the balance
// rule names, whatever the method, the sections, the element boundary condition and the
// highest derivative.
TEST_F(Distribution1DTest, EveryMethodIsSquareThroughRealDomainObjects) {
    vzt::EnableJournal(false);
    for (const Configuration& c : EveryMethod(4, true)) {
        SCOPED_TRACE(::testing::PrintToString(c));
        RealModel model(c);
        model.Drive();
        const pellorin::testing::BalanceCount count = model.Count();
        ASSERT_EQ(count.used, c.hod);
        EXPECT_EQ(count.distributionEquations + pellorin::testing::EquationsTheModelAdds(count),
                  count.unknowns);
    }
}

// ---- Every method end to end --------------------------------------------------------------

class Distribution1DEndToEnd : public HostTest,
                               public ::testing::WithParamInterface<Configuration> {
protected:
    void SetUp() override {
        HostTest::SetUp();
        vzt::Base().setUpEquations = 100;
        vzt::Base().jacPattern = 200;
        QV_ModelType::m_stLastGroup = 40;
        model.emplace(GetParam());
        outcome = model->Drive()[1];
    }
    void TearDown() override {
        model.reset();
        HostTest::TearDown();
    }

    const QV_EquationStore& Store() { return model->distribution.Equations(); }

    std::optional<RealModel> model;
    vzt::ModelOutcome outcome;
};

TEST_P(Distribution1DEndToEnd, BothWalksAgreeWithinTheDeclaredIndexSets) {
    ExpectLookupsInsideTheIndexSets(model->distribution, true);
    ASSERT_GT(Store().InstanceCount(), 0u);
    ExpectWalksAgree(Store(), outcome, 100, 200);
    for (std::size_t k = 0; k < Store().InstanceCount(); ++k) {
        EXPECT_GT(Store().Instance(k).group, 40);
    }
}

// The collocation points are the domain's stored 5-decimal positions, not the exact
// Gauss-Legendre ones.
TEST_P(Distribution1DEndToEnd, ResidualsVanishUpToEachStatementsDegree) {
    ExactField field = model->Field();
    const std::string& method = GetParam().method;
    ExpectResidualsVanishUpToTheirDegree(Store(), field, [&](const QV_EquationView& eq) {
        return Tolerance(method, pellorin::testing::Points::Stored, eq, field);
    });
}

TEST_P(Distribution1DEndToEnd, OneDegreeHigherLeavesAClearResidual) {
    ExactField field = model->Field();
    ExpectOneDegreeHigherLeavesAResidual(Store(), field);
}

INSTANTIATE_TEST_SUITE_P(EveryMethod, Distribution1DEndToEnd, ::testing::ValuesIn(EveryMethod(3)),
                         [](const auto& info) { return TestName(info.param); });

} // namespace
} // namespace testsupport
