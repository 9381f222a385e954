// Numerical truth: on an exact polynomial field every registered residual vanishes up to its
// statement's degree, and one degree higher it does not.
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
           (c.idx ? "_idx" : "") + "_" + c.ebc + (c.points == Points::Stored ? "_stored" : "");
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

std::vector<Config> AllConfigs() {
    std::vector<Config> configs;
    for (const char* method : kMethods) {
        const bool ocfe = IsCollocation(method);
        for (int sections = 1; sections <= 3; ++sections) {
            for (int used = 1; used <= 2; ++used) {
                for (bool idx : {false, true}) {
                    for (const char* ebc : {"Backward", "Forward"}) {
                        for (Points points : {Points::Gauss, Points::Stored}) {
                            if (!ocfe &&
                                (std::string(ebc) == "Forward" || points == Points::Stored)) {
                                continue;
                            }
                            configs.push_back({method, sections, used, idx, ebc, points});
                        }
                    }
                }
            }
        }
    }
    return configs;
}

INSTANTIATE_TEST_SUITE_P(EveryMethod, NumericalTruth, ::testing::ValuesIn(AllConfigs()),
                         [](const auto& info) { return Name(info.param); });

} // namespace
} // namespace pellorin::testing
