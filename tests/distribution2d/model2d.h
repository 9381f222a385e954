// Two real domains and a two-dimensional distribution over them, set up as a modeller sets
// them and driven as the host drives them; an exact field p(x)·q(y) on their terms.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "drive.h"
#include "tests/distribution/exact_field.h"
#include "types/distribution2d/distribution2d.h"

namespace testsupport {

struct Direction2D {
    std::string method;
    int sections = 1;
    std::string ebc = "Backward";
    int used = 2; // HIGHESTORDER<D>DERIVATIVEUSED; the domain's highest order is 2
};

struct Configuration2D {
    Direction2D x, y;
    std::string integrals = "idx,idy,idxdy";
};

void PrintTo(const Configuration2D& c, std::ostream* out);
std::string TestName(const Configuration2D& c);

struct RealModel2D {
    RealModel2D(); // both domains linked, nothing specified
    explicit RealModel2D(const Configuration2D& c);

    std::vector<vzt::ModelOutcome> Drive() {
        return vzt::Drive({&domains[0], &domains[1], &distribution});
    }

    QV_DOMAIN domains[2];
    QV_DISTRIBUTION2D distribution;
};

// Every element of the distribution's declared sets and every section's element length, with
// its value on p(x)·q(y): derivatives exact, IDX the x integral over the interval ending at
// its node (0 at x node 0), IDY likewise along y, IDXDY over the cell ending at its node.
class Field2D {
public:
    explicit Field2D(RealModel2D& model);

    void Set(const pellorin::testing::Polynomial& p, const pellorin::testing::Polynomial& q);
    double ValueOf(const QV_VarParam* term) const { return m_values.at(term); }
    double X(int d, int node) const { return m_nodes[d].at(node); }

    struct Id {
        int array = -1; // a dist2d::Array, or -1 for an element length
        int i = 0;      // x node, or the direction of an element length
        int j = 0;      // y node, or the section
    };
    Id Identify(const QV_VarParam* term) const { return m_ids.at(term); }

private:
    std::vector<double> m_nodes[2];
    std::vector<double> m_lengths[2];
    std::map<const QV_VarParam*, Id> m_ids;
    std::map<const QV_VarParam*, double> m_values;
};

// The direction a statement's block runs in: 0 (x) or 1 (y).
int OwnDirection(int statement);
// The one-dimensional statement with the same residual, whose degree it shares.
int Equivalent1D(int statement);

} // namespace testsupport
