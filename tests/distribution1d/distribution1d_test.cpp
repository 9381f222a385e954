// A one-dimensional distribution over a real domain, driven as the host drives a model: its
// index sets, its two equation walks, and its residuals on an exact field.
#include <cmath>
#include <map>
#include <memory>
#include <string>

#include <vuzizev/expressions.h>

#include "drive.h"
#include "support/host_fixture.h"
#include "types/distribution1d/distribution1d.h"

namespace {

struct Model {
    QV_DOMAIN domain;
    QV_DISTRIBUTION1D distribution;

    Model(const std::string& method, int sections, int hod, bool idx,
          const std::string& ebc = "Backward") {
        domain.DISCRETIZATIONMETHOD.Specify(QV_Value(method.c_str(), 0u));
        domain.NUMSECTIONS.Specify(QV_Value(sections, 0u));
        domain.HIGHESTORDERDERIVATIVE.Specify(QV_Value(hod, 0u));
        domain.ELEMENTBOUNDARYCONDITION.Specify(QV_Value(ebc.c_str(), 0u));
        if (idx) {
            distribution.INTEGRALS.Specify(QV_Value("idx", 0u));
        }
        distribution.XDOMAIN.Link(&domain);
    }

    std::vector<vzt::ModelOutcome> Drive() { return vzt::Drive({&domain, &distribution}); }
    int EndNode() { return domain.ENDNODE.v(); }
    double X(int i) { return domain.VALUE.get()->Get(i)->v(); }
};

std::vector<int> Members(const SUValue& set) {
    std::vector<int> members;
    for (std::size_t i = 0; i < set.Size(); ++i) {
        members.push_back(set.Integer(int(i)));
    }
    return members;
}

std::vector<int> Range(int lo, int hi) {
    std::vector<int> r;
    for (int i = lo; i <= hi; ++i) {
        r.push_back(i);
    }
    return r;
}

using Distribution1DTest = testsupport::HostTest;

TEST_F(Distribution1DTest, IndexSetsFollowTheDerivativeOrderInUseAndTheIntegrals) {
    {
        Model m("BFD1", 1, 1, false);
        m.distribution.HIGHESTORDERXDERIVATIVEUSED.Specify(QV_Value(0, 0u));
        m.Drive();
        EXPECT_EQ(Members(m.distribution.QV_VALUE_SET1.v()), Range(0, 8));
        EXPECT_EQ(Members(m.distribution.QV_DDX_SET1.v()), std::vector<int>{0});
        EXPECT_TRUE(m.distribution.QV_D2DX2_SET1.v().IsEmpty());
        // The host applies the default "None", so no integral is asked for.
        EXPECT_TRUE(m.distribution.QV_IDX_SET1.v().IsEmpty());
    }
    {
        Model m("OCFE3", 1, 2, true);
        m.Drive();
        EXPECT_EQ(m.distribution.HIGHESTORDERXDERIVATIVE.v(), 2);
        EXPECT_EQ(m.distribution.HIGHESTORDERXDERIVATIVEUSED.v(), 2);
        EXPECT_EQ(Members(m.distribution.QV_DDX_SET1.v()), Range(0, 9));
        EXPECT_EQ(Members(m.distribution.QV_D2DX2_SET1.v()), (std::vector<int>{1, 2, 4, 5, 7, 8}));
        EXPECT_EQ(Members(m.distribution.QV_IDX_SET1.v()), Range(0, 9));
        EXPECT_EQ(m.distribution.INTEGRALS.LastAssignment().tag(), (QV_ValueTag{0, 1, 7}));
    }
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
    Model m("SPLINE", 1, 1, true);
    m.domain.DISCRETIZATIONMETHOD.Specify(QV_Value("BFD1", 0u));
    m.Drive(); // lay the domain out, then change the method under the distribution
    m.domain.DISCRETIZATIONMETHOD.Specify(QV_Value("SPLINE", 0u));
    EXPECT_EQ(m.distribution.SetUpEquations(), 1);
    EXPECT_EQ(m.distribution.Equations().Instance(0).incidenceCount, 1u);
}

// ---- Every method end to end --------------------------------------------------------------

struct Configuration {
    std::string method;
    int sections;
    int used;
    bool idx;
    std::string ebc;
};

void PrintTo(const Configuration& c, std::ostream* out) {
    *out << c.method << ", " << c.sections << " sections, used " << c.used
         << (c.idx ? ", idx, " : ", ") << c.ebc;
}

class Distribution1DEndToEnd : public testsupport::HostTest,
                               public ::testing::WithParamInterface<Configuration> {};

TEST_P(Distribution1DEndToEnd, BothWalksAgreeAndResidualsVanishOnALinearField) {
    const Configuration& c = GetParam();
    Model m(c.method, c.sections, c.used, c.idx, c.ebc);
    vzt::Base().setUpEquations = 100;
    vzt::Base().jacPattern = 200;
    QV_ModelType::m_stLastGroup = 40;
    const auto outcome = m.Drive();
    const QV_EquationStore& store = m.distribution.Equations();
    const std::size_t n = store.InstanceCount();
    ASSERT_GT(n, 0u);
    EXPECT_EQ(outcome[1].setUpResult, 100 + int(n));
    EXPECT_EQ(outcome[1].jacPatternResult, 200 + int(n));
    EXPECT_EQ(outcome[1].overruns, 0u);
    EXPECT_EQ(outcome[1].misroutedTokens, 0u);
    EXPECT_EQ(outcome[1].rowsWritten, store.IncidenceCount());
    ASSERT_EQ(store.EquationCount(), n);
    auto& d = m.distribution;

    // No lookup made an element outside its array's declared index set.
    EXPECT_EQ(Members(d.DDX.IndexValues(0)), Members(d.QV_DDX_SET1.v()));
    EXPECT_EQ(Members(d.D2DX2.IndexValues(0)), Members(d.QV_D2DX2_SET1.v()));
    EXPECT_EQ(Members(d.IDX.IndexValues(0)), Members(d.QV_IDX_SET1.v()));
    EXPECT_EQ(Members(d.VALUE.get()->IndexValues(0)), Members(d.QV_VALUE_SET1.v()));

    // The field f(x) = 1.5 + 2x, its derivatives and its integrals over each node interval,
    // on the elements of the declared index sets.
    std::map<const QV_VarParam*, double> value;
    for (int i : Members(d.QV_VALUE_SET1.v())) {
        value[d.VALUE.get()->Get(i)] = 1.5 + 2 * m.X(i);
    }
    for (int i : Members(d.QV_DDX_SET1.v())) {
        value[d.DDX.Get(i)] = 2.0;
    }
    for (int i : Members(d.QV_D2DX2_SET1.v())) {
        value[d.D2DX2.Get(i)] = 0.0;
    }
    for (int i : Members(d.QV_IDX_SET1.v())) {
        const double x = m.X(i);
        const double x0 = i > 0 ? m.X(i - 1) : x;
        value[d.IDX.Get(i)] = 1.5 * (x - x0) + (x * x - x0 * x0);
    }
    for (int s = 1; s <= c.sections; ++s) {
        QV_REALPARAMETER& h = m.domain.SECTION.get()->Get(s)->ELEMENTLENGTH;
        value[&h] = h.v();
    }
    const bool collocation = c.method.rfind("OCFE", 0) == 0;
    const double tolerance = collocation ? 2e-4 : 1e-12;

    for (std::size_t k = 0; k < n; ++k) {
        const QV_InstanceView instance = store.Instance(k);
        const QV_EquationView equation = store.Equation(k);
        ASSERT_EQ(instance.group, equation.group) << k;
        EXPECT_GT(instance.group, 40);
        EXPECT_EQ(equation.counter, 200 + int(k));
        std::vector<const QV_VarParam*> terms;
        for (std::size_t t = 0; t < equation.tokenCount; ++t) {
            if (equation.tokens[t].kind == QV_Token::Kind::Term) {
                terms.push_back(equation.tokens[t].term);
            }
        }
        ASSERT_EQ(std::vector<const QV_VarParam*>(instance.incidence,
                                                  instance.incidence + instance.incidenceCount),
                  terms)
            << equation.name;
        const auto residual = vzt::Evaluate(equation, store, [&](const QV_VarParam* p) {
            const auto it = value.find(p);
            return it != value.end() ? it->second : std::nan("");
        });
        ASSERT_TRUE(residual.has_value()) << equation.name;
        EXPECT_NEAR(*residual, 0.0, tolerance) << equation.name << " instance " << k;
    }
}

std::vector<Configuration> AllConfigurations() {
    std::vector<Configuration> all;
    for (const char* method :
         {"BFD1", "BFD2", "CFD2", "CFD4", "FFD1", "FFD2", "OCFE2", "OCFE3", "OCFE4", "UBFD4"}) {
        for (int sections = 1; sections <= 3; ++sections) {
            for (int used : {1, 2}) {
                for (bool idx : {false, true}) {
                    for (const char* ebc : {"Backward", "Forward"}) {
                        if (std::string(method).rfind("OCFE", 0) != 0 &&
                            std::string(ebc) == "Forward") {
                            continue;
                        }
                        all.push_back({method, sections, used, idx, ebc});
                    }
                }
            }
        }
    }
    return all;
}

INSTANTIATE_TEST_SUITE_P(EveryMethod, Distribution1DEndToEnd,
                         ::testing::ValuesIn(AllConfigurations()), [](const auto& info) {
                             const Configuration& c = info.param;
                             return c.method + "_" + std::to_string(c.sections) + "s_used" +
                                    std::to_string(c.used) + (c.idx ? "_idx_" : "_") + c.ebc;
                         });

} // namespace
