// Collocation residuals at the exact Gauss points, which a domain (with its rounded points)
// cannot give: there the stored constants must hold to their five decimals.
#include <gtest/gtest.h>

#include <string>

#include "tests/distribution/fake_distribution.h"
#include "types/distribution1d/statements.h"

namespace testsupport {
namespace {

TEST(NumericalTruth, ResidualsVanishAtGaussPointsToEachStatementsDegreeAndNoHigher) {
    for (const char* method : {"OCFE2", "OCFE3", "OCFE4"}) {
        for (int sections : {1, 3}) {
            for (int used = 1; used <= 2; ++used) {
                for (const char* ebc : {"Backward", "Forward"}) {
                    SCOPED_TRACE(std::string(method) + " " + std::to_string(sections) +
                                 " sections, used " + std::to_string(used) + ", " + ebc);
                    FakeDistribution d(MakeLayout(method, std::vector<int>(sections, 12)),
                                       {used, used, true, ebc});
                    EquationModel model;
                    const Walks walks = RunWalks(d, model);
                    ASSERT_TRUE(walks.expressions.complete);
                    ASSERT_GT(walks.expressions.instances, 0);
                    const Statements statements{
                        pellorin::dist1d::Statements(), [](int) { return 0; }, {true}, 2e-5};
                    ExpectResidualsVanish(vzt::Equations(model), statements, d.field);
                    ExpectOneDegreeHigherLeavesAResidual(vzt::Equations(model), statements,
                                                         d.field);
                }
            }
        }
    }
}

} // namespace
} // namespace testsupport
