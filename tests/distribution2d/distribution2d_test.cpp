// A two-dimensional distribution over two real domains, driven as the host drives a model:
// its residuals on exact fields, the structure of its walks, and the instance orders and
// failures its outlines fix.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "distribution1d/real_model.h"
#include "distribution2d/model2d.h"
#include "domain/domain_fixture.h"
#include "tests/distribution/grid_suite.h"
#include "types/distribution2d/statements.h"

namespace testsupport {
namespace {

using pellorin::testing::kMethods;
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

using Distribution2DEndToEnd = GridEndToEnd<RealModel2D, Configuration2D>;

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

TEST_P(Distribution2DEndToEnd, ResidualsVanishUpToEachStatementsDegree) {
    pellorin::testing::GridField field = FieldOf(*model);
    pellorin::testing::ExpectGridResidualsVanish(Store(), Statements2D(GetParam()), field);
}

TEST_P(Distribution2DEndToEnd, OneDegreeHigherLeavesAClearResidual) {
    pellorin::testing::GridField field = FieldOf(*model);
    pellorin::testing::ExpectGridOneDegreeHigherLeavesAResidual(Store(), Statements2D(GetParam()),
                                                                field);
}

INSTANTIATE_TEST_SUITE_P(MixedMethods, Distribution2DEndToEnd,
                         ::testing::ValuesIn(Configurations()),
                         [](const auto& info) { return TestName(info.param); });

} // namespace
} // namespace testsupport
