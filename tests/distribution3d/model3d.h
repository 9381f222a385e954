// Three real domains and a three-dimensional distribution over them, and an exact field
// p(x)·q(y)·r(z) on their terms.
#pragma once

#include <ostream>
#include <string>

#include "tests/distribution/grid_checks.h"
#include "tests/distribution/grid_model.h"
#include "types/distribution3d/distribution3d.h"

namespace testsupport {

struct Configuration3D {
    pellorin::testing::Direction x, y, z;
    std::string integrals = "idx,idy,idz,idxdy,idxdz,idydz,idxdydz";
};

void PrintTo(const Configuration3D& c, std::ostream* out);
std::string TestName(const Configuration3D& c);

struct RealModel3D : pellorin::testing::GridModel<QV_DISTRIBUTION3D, 3> {
    RealModel3D() = default; // the domains linked, nothing specified
    explicit RealModel3D(const Configuration3D& c) : GridModel({c.x, c.y, c.z}, c.integrals) {}
};

// Every element of the distribution's declared sets and every section's element length.
pellorin::testing::GridField FieldOf(RealModel3D& model);
pellorin::testing::GridStatements Statements3D(const Configuration3D& c);

// The direction a statement's block runs in: 0 (x), 1 (y) or 2 (z).
int OwnDirection3D(int statement);

} // namespace testsupport
