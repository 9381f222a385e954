// Collocation residuals at the exact Gauss points, which a domain (with its rounded points)
// cannot give: there the stored constants must hold to their five decimals.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/distribution/fake_distribution.h"

namespace pellorin::testing {
namespace {

struct Config {
    std::string method;
    int sections;
    int used;
    bool idx;
    std::string ebc;
    Points points;
};

std::string Name(const Config& c) {
    return c.method + "_" + std::to_string(c.sections) + "s_used" + std::to_string(c.used) +
           (c.idx ? "_idx" : "") + "_" + c.ebc;
}

void PrintTo(const Config& c, std::ostream* out) {
    *out << Name(c);
}

class NumericalTruth : public ::testing::TestWithParam<Config> {
protected:
    void SetUp() override {
        const Config& c = GetParam();
        distribution = std::make_unique<FakeDistribution>(
            MakeLayout(c.method, c.sections, c.points), Settings{c.used, c.used, c.idx, "", c.ebc});
        walks = RunWalks(*distribution, model);
        ASSERT_TRUE(walks.expressions.complete);
        ASSERT_GT(walks.expressions.instances, 0);
    }

    const QV_EquationStore& Store() const { return model.Equations(); }

    EquationModel model;
    std::unique_ptr<FakeDistribution> distribution;
    Walks walks;
};

TEST_P(NumericalTruth, ResidualsVanishUpToEachStatementsDegree) {
    ExactField& field = distribution->field;
    ExpectResidualsVanishUpToTheirDegree(Store(), field, [&](const QV_EquationView& eq) {
        return Tolerance(GetParam().method, GetParam().points, eq, field);
    });
}

TEST_P(NumericalTruth, OneDegreeHigherLeavesAClearResidual) {
    ExpectOneDegreeHigherLeavesAResidual(Store(), distribution->field);
}

std::vector<Config> GaussConfigs() {
    std::vector<Config> configs;
    for (const char* method : {"OCFE2", "OCFE3", "OCFE4"}) {
        for (int sections : {1, 3}) {
            for (int used = 1; used <= 2; ++used) {
                for (const char* ebc : {"Backward", "Forward"}) {
                    configs.push_back({method, sections, used, true, ebc, Points::Gauss});
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
