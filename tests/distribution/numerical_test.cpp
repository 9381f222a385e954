// Collocation residuals at the exact Gauss points, which a domain (with its rounded points)
// cannot give: there the stored constants must hold to their five decimals.
#include <gtest/gtest.h>

#include <string>

#include "tests/distribution/fake_distribution.h"

namespace pellorin::testing {
namespace {

struct Config {
    std::string method;
    int sections;
    int used;
    std::string ebc;
};

std::string Name(const Config& c) {
    return c.method + "_" + std::to_string(c.sections) + "s_used" + std::to_string(c.used) + "_" +
           c.ebc;
}

void PrintTo(const Config& c, std::ostream* out) {
    *out << Name(c);
}

class NumericalTruth : public ::testing::TestWithParam<Config> {};

TEST_P(NumericalTruth, ResidualsVanishToEachStatementsDegreeAndNoHigher) {
    const Config& c = GetParam();
    FakeDistribution d(MakeLayout(c.method, c.sections), {c.used, c.used, true, c.ebc});
    EquationModel model;
    const Walks walks = RunWalks(d, model);
    ASSERT_TRUE(walks.expressions.complete);
    ASSERT_GT(walks.expressions.instances, 0);
    ExpectResidualsVanishUpToTheirDegree(model.Equations(), d.field, [&](const auto& eq) {
        return Tolerance(c.method, Points::Gauss, eq, d.field);
    });
    ExpectOneDegreeHigherLeavesAResidual(model.Equations(), d.field);
}

std::vector<Config> GaussConfigs() {
    std::vector<Config> configs;
    for (const char* method : {"OCFE2", "OCFE3", "OCFE4"}) {
        for (int sections : {1, 3}) {
            for (int used = 1; used <= 2; ++used) {
                for (const char* ebc : {"Backward", "Forward"}) {
                    configs.push_back({method, sections, used, ebc});
                }
            }
        }
    }
    return configs;
}

INSTANTIATE_TEST_SUITE_P(GaussPoints, NumericalTruth, ::testing::ValuesIn(GaussConfigs()),
                         [](const auto& info) { return Name(info.param); });

} // namespace
} // namespace pellorin::testing
