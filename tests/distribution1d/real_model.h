// A real domain and a one-dimensional distribution over it, set up as a modeller sets them
// (user-specified values, which the library's own assignments leave standing) and driven as
// the host drives them, with the checks every end-to-end test of them makes.
#pragma once

#include <array>
#include <ostream>
#include <string>
#include <vector>

#include "drive.h"
#include "tests/distribution/exact_field.h"
#include "types/distribution1d/distribution1d.h"

namespace testsupport {

struct Configuration {
    std::string method;
    int sections = 1;
    int hod = 1; // the domain's HIGHESTORDERDERIVATIVE, which the distribution uses
    bool idx = false;
    std::string ebc = "Backward";
};

void PrintTo(const Configuration& c, std::ostream* out);
std::string TestName(const Configuration& c);

// Every method, 1 to `maxSections` sections, highest derivative 1 and 2, with and without
// integrals, under "Backward" and "Forward" (for the collocation methods only, unless
// `boundaryConditionsForAll`).
std::vector<Configuration> EveryMethod(int maxSections, bool boundaryConditionsForAll = false);

struct RealModel {
    // The domain linked, nothing specified.
    RealModel();
    explicit RealModel(const Configuration& c);

    std::vector<vzt::ModelOutcome> Drive() { return vzt::Drive({&domain, &distribution}); }
    int EndNode() { return domain.ENDNODE.v(); }

    // An exact field over the elements of the distribution's declared index sets and the
    // sections' element lengths, on the domain's node positions.
    pellorin::testing::ExactField Field();
    // The distribution's unknowns and registered instances.
    pellorin::testing::BalanceCount Count();

    QV_DOMAIN domain;
    QV_DISTRIBUTION1D distribution;
};

// What one Drive of a distribution returned and registered hangs together: the k-th instance
// of SetUpEquations is the k-th of JacPattern, in group and in incidence (the residual's terms
// in stream order); both results advance their base by the number of instances; JacPattern
// numbers its equations from its base and writes one rows/cols entry per incidence entry.
void ExpectWalksAgree(const QV_EquationStore& store, const vzt::ModelOutcome& outcome,
                      int setUpBase, int jacPatternBase);

// No lookup made an element of `array` outside the declared set of each of its dimensions
// (an array makes its elements when they are first looked up).
void ExpectInside(const QV_Matrix& array, const std::vector<const QV_Set*>& sets, const char* name);

// The first term of an equation's residual: the unknown it defines.
const QV_VarParam* Unknown(const QV_EquationView& eq);
// An element's index from its name: "(3,0)" gives {3, 0, 0}.
std::array<int, 3> IndexOf(const QV_VarParam* element);

// The size of `domain`'s bordered set: node 0, the interior nodes and the end node.
int BorderedSize(QV_DOMAIN& domain);

// ExpectInside for every array of `d`; with `everyElement`, the walks also looked up every
// element of every set. Meaningful only before anything but the walks has looked elements up.
void ExpectLookupsInsideTheIndexSets(QV_DISTRIBUTION1D& d, bool everyElement = false);

} // namespace testsupport
