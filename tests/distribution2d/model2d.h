// Two real domains and a two-dimensional distribution over them, set up as a modeller sets
// them and driven as the host drives them; an exact field p(x)·q(y) on their terms.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "tests/distribution/grid_checks.h"
#include "tests/distribution/grid_model.h"
#include "types/distribution2d/distribution2d.h"

namespace testsupport {

using Direction2D = pellorin::testing::Direction;

struct Configuration2D {
    Direction2D x, y;
    std::string integrals = "idx,idy,idxdy";
};

void PrintTo(const Configuration2D& c, std::ostream* out);
std::string TestName(const Configuration2D& c);

struct RealModel2D : pellorin::testing::GridModel<QV_DISTRIBUTION2D, 2> {
    RealModel2D() = default; // both domains linked, nothing specified
    explicit RealModel2D(const Configuration2D& c) : GridModel({c.x, c.y}, c.integrals) {}
};

// Every element of the distribution's declared sets and every section's element length, on
// p(x)·q(y).
pellorin::testing::GridField FieldOf(RealModel2D& model);

// What the numerical checks need to know of the statements.
pellorin::testing::GridStatements Statements2D(const Configuration2D& c);

// The direction a statement's block runs in: 0 (x) or 1 (y).
int OwnDirection(int statement);

} // namespace testsupport
