// How the cost of a three-dimensional distribution grows with its node count, on cubic grids
// of the same method in every direction (walk_bench.h says what is measured).
#include <cmath>

#include "bench/walk_bench.h"
#include "types/distribution3d/arrays.h"
#include "types/distribution3d/distribution3d.h"

namespace {

struct Model3D {
    QV_DOMAIN x, y, z;
    QV_DISTRIBUTION3D distribution;

    // Each direction one section of unit length with about `side` nodes; every derivative
    // and integral in use.
    Model3D(const char* method, long side) {
        for (QV_DOMAIN* domain : {&x, &y, &z}) {
            domain->DISCRETIZATIONMETHOD.Specify(QV_Value(method, 0u));
            domain->NUMSECTIONS.Specify(QV_Value(1, 0u));
            domain->HIGHESTORDERDERIVATIVE.Specify(QV_Value(2, 0u));
            pellorin::Linked(domain->SPACINGPREFERENCE)
                ->Specify(QV_Value(1.0 / double(side - 1), 0u));
        }
        QV_StrSetValue integrals;
        for (std::string_view name : pellorin::dist3d::kIntegrals) {
            integrals += name.data();
        }
        distribution.INTEGRALS.Specify(QV_Value(integrals, 0u));
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
void Distribution3D(benchmark::State& state, const char* method) {
    const long side = std::lround(std::cbrt(double(state.range(0))));
    walkbench::Measure(state, [&] { return std::make_unique<Model3D>(method, side); });
}

void Sizes(benchmark::internal::Benchmark* b) {
    walkbench::Sizes(b, 125, 125000);
}

BENCHMARK_CAPTURE(Distribution3D, BFD1, "BFD1")->Apply(Sizes);
BENCHMARK_CAPTURE(Distribution3D, CFD4, "CFD4")->Apply(Sizes);
BENCHMARK_CAPTURE(Distribution3D, OCFE4, "OCFE4")->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
