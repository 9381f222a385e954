// Whole-model balance: a distribution's equations, together with what a model adds, are as
// many as its unknowns, for every method and layout.
#include <gtest/gtest.h>

#include <string>

#include "tests/distribution/fake_distribution.h"
#include "types/distribution1d/statements.h"

namespace pellorin::testing {
namespace {

BalanceCount CountModel(const std::string& method, int sections, const std::string& ebc, int used,
                        bool idx) {
    FakeDistribution d(MakeLayout(method, sections), {used, used, idx, "", ebc});
    EquationModel model;
    const Walks walks = RunWalks(d, model);
    BalanceCount count;
    count.used = used;
    count.endNode = d.EndNode();
    count.distributionEquations = walks.instances.instances;
    for (int array : {dist1d::kValue, dist1d::kDdx, dist1d::kD2dx2, dist1d::kIdx}) {
        for (int i = 0; i <= count.endNode; ++i) {
            count.unknowns += d.InDeclaredSet(array, i) ? 1 : 0;
        }
    }
    for (int i = 0; i <= count.endNode; ++i) {
        count.secondDerivativeNodes += d.InDeclaredSet(dist1d::kD2dx2, i) ? 1 : 0;
    }
    return count;
}

// Every method, one to four sections, both boundary conditions, with and without integrals.
template <class Check>
void ForEveryLayout(int used, Check check) {
    for (const char* method : kMethods) {
        for (int sections = 1; sections <= 4; ++sections) {
            for (const char* ebc : {"Backward", "Forward"}) {
                for (bool idx : {false, true}) {
                    SCOPED_TRACE(std::string(method) + " " + std::to_string(sections) +
                                 " sections " + ebc + (idx ? " idx" : ""));
                    check(CountModel(method, sections, ebc, used, idx));
                }
            }
        }
    }
}

TEST(ModelBalance, SecondOrderModelIsSquareForEveryMethodAndLayout) {
    ForEveryLayout(2, [](const BalanceCount& c) {
        EXPECT_EQ(c.distributionEquations + EquationsTheModelAdds(c), c.unknowns);
    });
}

TEST(ModelBalance, FirstOrderModelIsSquareForEveryMethodAndLayout) {
    ForEveryLayout(1, [](const BalanceCount& c) {
        EXPECT_EQ(c.secondDerivativeNodes, 0);
        EXPECT_EQ(c.distributionEquations + EquationsTheModelAdds(c), c.unknowns);
    });
}

} // namespace
} // namespace pellorin::testing
