// The two- and three-dimensional models the benches build: one method in every direction,
// each domain of one section with highest derivative 2, every integral asked for.
#pragma once

#include <array>
#include <cmath>
#include <memory>
#include <string_view>
#include <vector>

#include "bench/walk_bench.h"
#include "types/distribution2d/arrays.h"
#include "types/distribution2d/distribution2d.h"
#include "types/distribution3d/arrays.h"
#include "types/distribution3d/distribution3d.h"

namespace walkbench {

template <class Distribution, int Rank, const auto& Integrals>
struct GridModel {
    std::array<QV_DOMAIN, Rank> axes;
    Distribution distribution;

    // Each direction one section of unit length with about `side` nodes; every derivative
    // and integral in use.
    GridModel(const char* method, long side) {
        for (QV_DOMAIN& domain : axes) {
            SpecifyDomain(domain, method, side);
        }
        QV_StrSetValue integrals;
        for (std::string_view name : Integrals) {
            integrals += name.data();
        }
        vzt::Specify(distribution.INTEGRALS, QV_Value(integrals, 0u));
        vzt::Link(distribution.XDOMAIN, &axes[0]);
        vzt::Link(distribution.YDOMAIN, &axes[1]);
        if constexpr (Rank == 3) {
            vzt::Link(distribution.ZDOMAIN, &axes[2]);
        }
    }
    std::vector<QV_ModelType*> domains() {
        std::vector<QV_ModelType*> models;
        for (QV_DOMAIN& domain : axes) {
            models.push_back(&domain);
        }
        return models;
    }
    void Assign() {
        std::vector<QV_ModelType*> models = domains();
        models.push_back(&distribution);
        for (QV_ModelType* model : models) {
            model->SetDims();
            model->ExecuteAssignments(1, 0);
        }
    }
    double Nodes() {
        double nodes = 1.0;
        for (const QV_DOMAIN& domain : axes) {
            nodes *= domain.ENDNODE.v() + 1.0;
        }
        return nodes;
    }
};

using Model2D = GridModel<QV_DISTRIBUTION2D, 2, pellorin::dist2d::kIntegrals>;
using Model3D = GridModel<QV_DISTRIBUTION3D, 3, pellorin::dist3d::kIntegrals>;

// The argument is the node count of the grid; each side gets its square or cube root.
template <class Model, int Rank>
void DistributionOnGrid(benchmark::State& state, const char* method) {
    const double nodes = double(state.range(0));
    const long side = std::lround(Rank == 2 ? std::sqrt(nodes) : std::cbrt(nodes));
    Measure(state, [&] { return std::make_unique<Model>(method, side); });
}
inline void Distribution2D(benchmark::State& state, const char* method) {
    DistributionOnGrid<Model2D, 2>(state, method);
}
inline void Distribution3D(benchmark::State& state, const char* method) {
    DistributionOnGrid<Model3D, 3>(state, method);
}

} // namespace walkbench
