// The three-dimensional model the benches build: one method in every direction, each
// domain of one section with highest derivative 2, every integral asked for.
#pragma once

#include <cmath>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <vector>

#include "bench/walk_bench.h"
#include "types/distribution3d/arrays.h"
#include "types/distribution3d/distribution3d.h"

namespace walkbench {

struct Model3D {
    QV_DOMAIN x, y, z;
    QV_DISTRIBUTION3D distribution;

    // Each direction one section of unit length with about `side` nodes; every derivative
    // and integral in use.
    Model3D(const char* method, long side) {
        for (QV_DOMAIN* domain : {&x, &y, &z}) {
            SpecifyDomain(*domain, method, side);
        }
        QV_StrSetValue integrals;
        for (std::string_view name : pellorin::dist3d::kIntegrals) {
            integrals += name.data();
        }
        vzt::Specify(distribution.INTEGRALS, QV_Value(integrals, 0u));
        distribution.XDOMAIN.Link(&x);
        distribution.YDOMAIN.Link(&y);
        distribution.ZDOMAIN.Link(&z);
    }
    std::vector<QV_ModelType*> domains() { return {&x, &y, &z}; }
    void Assign() {
        for (QV_ModelType* model :
             std::initializer_list<QV_ModelType*>{&x, &y, &z, &distribution}) {
            model->SetDims();
            model->ExecuteAssignments(1, 0);
        }
    }
    double Nodes() { return (x.ENDNODE.v() + 1.0) * (y.ENDNODE.v() + 1.0) * (z.ENDNODE.v() + 1.0); }
};

// The argument is the node count of the grid; each side gets its cube root.
inline void Distribution3D(benchmark::State& state, const char* method) {
    const long side = std::lround(std::cbrt(double(state.range(0))));
    walkbench::Measure(state, [&] { return std::make_unique<Model3D>(method, side); });
}

} // namespace walkbench
