// A two-dimensional distribution over two real domains, driven as the host drives a model:
// its residuals on exact fields, the structure of its walks, and the instance orders and
// failures its outlines fix.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "distribution1d/real_model.h"
#include "distribution2d/model2d.h"
#include "domain/domain_fixture.h"
#include "types/distribution2d/statements.h"

namespace testsupport {
namespace {

using pellorin::testing::Evaluate;
using pellorin::testing::IsCollocation;
using pellorin::testing::kMethods;
using pellorin::testing::Polynomial;
using pellorin::testing::StatementNumber;
namespace dist2d = pellorin::dist2d;

// Mixed methods across x and y, 1 to 3 sections, used orders 0 to 2, both boundary
// conditions, every integral.
std::vector<Configuration2D> Configurations() {
    std::vector<Configuration2D> all;
    const int n = int(std::size(kMethods));
    for (int m = 0; m < n; ++m) {
        const std::string own = kMethods[m];
        const std::string other = kMethods[(m + 3) % n];
        const std::string third = kMethods[(m + 7) % n];
        all.push_back({{own, 3, "Backward", 2}, {other, 2, "Forward", 1}});
        all.push_back({{third, 1, "Forward", 0}, {own, 3, "Backward", 2}});
        all.push_back({{own, 3, "Forward", 1}, {own, 2, "Forward", 2}});
    }
    return all;
}

const QV_VarParam* FirstTerm(const QV_EquationView& eq) {
    for (std::size_t k = 0; k < eq.tokenCount; ++k) {
        if (eq.tokens[k].kind == QV_Token::Kind::Term) {
            return eq.tokens[k].term;
        }
    }
    return nullptr;
}

class Distribution2DEndToEnd : public HostTest,
                               public ::testing::WithParamInterface<Configuration2D> {
protected:
    void SetUp() override {
        HostTest::SetUp();
        vzt::EnableJournal(false);
        model = std::make_unique<RealModel2D>(GetParam());
        outcomes = model->Drive();
        ASSERT_GT(outcomes.back().setUpResult, 0);
    }

    void TearDown() override {
        model.reset();
        HostTest::TearDown();
    }

    const QV_EquationStore& Store() const { return model->distribution.Equations(); }
    const Direction2D& Own(int statement) const {
        return OwnDirection(statement) == 0 ? GetParam().x : GetParam().y;
    }

    int Degree(const QV_EquationView& eq, const Field2D& field) const {
        std::vector<double> spacings;
        for (std::size_t k = 0; k < eq.tokenCount; ++k) {
            const QV_Token& t = eq.tokens[k];
            if (t.kind == QV_Token::Kind::Term && field.Identify(t.term).array < 0) {
                spacings.push_back(field.ValueOf(t.term));
            }
        }
        return pellorin::testing::StatementDegree(
            Equivalent1D(StatementNumber(eq)), spacings.size() == 2 && spacings[0] == spacings[1]);
    }

    double Tolerance(const QV_EquationView& eq, const Field2D& field) const {
        if (!IsCollocation(Own(StatementNumber(eq)).method)) {
            return 1e-12;
        }
        const int array = field.Identify(FirstTerm(eq)).array;
        const bool integral =
            array == dist2d::kIdx || array == dist2d::kIdy || array == dist2d::kIdxdy;
        return integral ? 5e-4 : 1e-4;
    }

    std::unique_ptr<RealModel2D> model;
    std::vector<vzt::ModelOutcome> outcomes;
};

TEST_P(Distribution2DEndToEnd, BothWalksAgreeWithinTheDeclaredIndexSets) {
    ExpectWalksAgree(Store(), outcomes.back(), 0, 0);
    QV_DISTRIBUTION2D& d = model->distribution;
    auto inside = [](const QV_Matrix& array, const QV_Set& first, const QV_Set& second,
                     const char* name) {
        for (int dim = 0; dim < 2; ++dim) {
            const std::vector<int> made = Members(array.IndexValues(dim));
            const std::vector<int> declared = Members((dim == 0 ? first : second).v());
            EXPECT_TRUE(std::includes(declared.begin(), declared.end(), made.begin(), made.end()))
                << name << " has elements outside its index set " << dim + 1;
        }
    };
    inside(*d.VALUE.get(), d.QV_VALUE_SET1, d.QV_VALUE_SET2, "VALUE");
    inside(d.DDX, d.QV_DDX_SET1, d.QV_DDX_SET2, "DDX");
    inside(d.DDY, d.QV_DDY_SET1, d.QV_DDY_SET2, "DDY");
    inside(d.D2DX2, d.QV_D2DX2_SET1, d.QV_D2DX2_SET2, "D2DX2");
    inside(d.D2DY2, d.QV_D2DY2_SET1, model->domains[1].INTERIOR, "D2DY2");
    inside(d.IDX, d.QV_IDX_SET1, d.QV_IDX_SET2, "IDX");
    inside(d.IDY, d.QV_IDY_SET1, d.QV_IDY_SET2, "IDY");
    inside(d.IDXDY, d.QV_IDXDY_SET1, d.QV_IDXDY_SET2, "IDXDY");
}

// p(x)·q(y): a statement of an x block is exact when p is within its degree, whatever q;
// a y block's likewise with q.
TEST_P(Distribution2DEndToEnd, ResidualsVanishUpToEachStatementsDegree) {
    Field2D field(*model);
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> coefficient(-1.0, 1.0);
    auto polynomial = [&](int degree, double centre) {
        Polynomial f{{}, centre};
        for (int k = 0; k <= degree; ++k) {
            f.c.push_back(coefficient(random));
        }
        return f;
    };
    for (int own = 0; own < 2; ++own) {
        for (int degree = 0; degree <= 5; ++degree) {
            const Polynomial a = polynomial(degree, 0.37), b = polynomial(5, 0.61);
            own == 0 ? field.Set(a, b) : field.Set(b, a);
            for (std::size_t k = 0; k < Store().EquationCount(); ++k) {
                const QV_EquationView eq = Store().Equation(k);
                if (OwnDirection(StatementNumber(eq)) != own || Degree(eq, field) < degree) {
                    continue;
                }
                const auto value = [&](const QV_VarParam* t) { return field.ValueOf(t); };
                EXPECT_LE(Evaluate(eq, value).Relative(), Tolerance(eq, field))
                    << eq.name << " (instance " << k << "), degree " << degree;
            }
        }
    }
}

TEST_P(Distribution2DEndToEnd, OneDegreeHigherLeavesAClearResidual) {
    Field2D field(*model);
    const Polynomial one_{{1.0}, 0.0};
    field.Set(one_, one_);
    std::set<int> checked;
    for (std::size_t k = 0; k < Store().EquationCount(); ++k) {
        const QV_EquationView eq = Store().Equation(k);
        const int n = StatementNumber(eq);
        if (n <= 4 || !checked.insert(n).second) {
            continue;
        }
        const int own = OwnDirection(n);
        const int one = Equivalent1D(n);
        const int degree = one == 29 || one == 41 ? 3 : Degree(eq, field) + 1;
        const Field2D::Id at = field.Identify(FirstTerm(eq));
        Polynomial monomial{std::vector<double>(degree + 1, 0.0), field.X(own, own ? at.j : at.i)};
        monomial.c[degree] = 1.0;
        own == 0 ? field.Set(monomial, one_) : field.Set(one_, monomial);
        const auto value = [&](const QV_VarParam* t) { return field.ValueOf(t); };
        EXPECT_GT(Evaluate(eq, value).Relative(), 1e-3) << eq.name << " with degree " << degree;
    }
}

INSTANTIATE_TEST_SUITE_P(MixedMethods, Distribution2DEndToEnd,
                         ::testing::ValuesIn(Configurations()),
                         [](const auto& info) { return TestName(info.param); });

} // namespace
} // namespace testsupport
