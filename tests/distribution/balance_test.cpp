// Whole-model balance: a distribution's equations, together with what a model adds, are as
// many as its unknowns, for every method and layout.
#include <gtest/gtest.h>

#include <string>

#include "tests/distribution/fake_distribution.h"
#include "types/distribution1d/statements.h"

namespace pellorin::testing {
namespace {

struct Count {
    int unknowns = 0;
    int secondDerivativeNodes = 0;
    int distributionEquations = 0;
    int endNode = 0;
};

Count CountModel(const std::string& method, int sections, const std::string& ebc, int used,
                 bool idx) {
    FakeDistribution d(MakeLayout(method, sections), {used, used, idx, "", ebc});
    EquationModel model;
    const Walks walks = RunWalks(d, model);
    Count count;
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

const char* const kMethods[] = {"BFD1", "BFD2",  "FFD1",  "FFD2",  "CFD2",
                                "CFD4", "UBFD4", "OCFE2", "OCFE3", "OCFE4"};

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

// A second-order model adds one equation per second-derivative node and two boundary
// conditions.
TEST(ModelBalance, SecondOrderModelIsSquareForEveryMethodAndLayout) {
    ForEveryLayout(2, [](const Count& c) {
        EXPECT_EQ(c.distributionEquations + c.secondDerivativeNodes + 2, c.unknowns);
    });
}

// A first-order model adds one equation per node but one, and one boundary condition.
TEST(ModelBalance, FirstOrderModelIsSquareForEveryMethodAndLayout) {
    ForEveryLayout(1, [](const Count& c) {
        EXPECT_EQ(c.secondDerivativeNodes, 0);
        EXPECT_EQ(c.distributionEquations + c.endNode + 1, c.unknowns);
    });
}

} // namespace
} // namespace pellorin::testing
