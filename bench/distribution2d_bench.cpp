// How the cost of a two-dimensional distribution grows with its node count, on square grids
// of the same method in both directions (walk_bench.h says what is measured).
#include <cmath>

#include "bench/walk_bench.h"
#include "types/distribution2d/arrays.h"
#include "types/distribution2d/distribution2d.h"

namespace {

struct Model2D {
    QV_DOMAIN x, y;
    QV_DISTRIBUTION2D distribution;

    // Each direction one section of unit length with about `side` nodes; every derivative
    // and integral in use.
    Model2D(const char* method, long side) {
        for (QV_DOMAIN* domain : {&x, &y}) {
            domain->DISCRETIZATIONMETHOD.Specify(QV_Value(method, 0u));
            domain->NUMSECTIONS.Specify(QV_Value(1, 0u));
            domain->HIGHESTORDERDERIVATIVE.Specify(QV_Value(2, 0u));
            pellorin::Linked(domain->SPACINGPREFERENCE)
                ->Specify(QV_Value(1.0 / double(side - 1), 0u));
        }
        QV_StrSetValue integrals;
        for (std::string_view name : pellorin::dist2d::kIntegrals) {
            integrals += name.data();
        }
        distribution.INTEGRALS.Specify(QV_Value(integrals, 0u));
        distribution.XDOMAIN.Link(&x);
        distribution.YDOMAIN.Link(&y);
    }
    std::vector<QV_ModelType*> domains() { return {&x, &y}; }
    void Assign() {
        for (QV_ModelType* model : std::initializer_list<QV_ModelType*>{&x, &y, &distribution}) {
            model->SetDims();
            model->ExecuteAssignments(1, 0);
        }
    }
    double Nodes() { return (x.ENDNODE.v() + 1.0) * (y.ENDNODE.v() + 1.0); }
};

// The argument is the node count of the grid; each side gets its square root.
void Distribution2D(benchmark::State& state, const char* method) {
    const long side = std::lround(std::sqrt(double(state.range(0))));
    walkbench::Measure(state, [&] { return std::make_unique<Model2D>(method, side); });
}

void Sizes(benchmark::internal::Benchmark* b) {
    walkbench::Sizes(b, 125, 125000);
}

BENCHMARK_CAPTURE(Distribution2D, BFD1, "BFD1")->Apply(Sizes);
BENCHMARK_CAPTURE(Distribution2D, CFD4, "CFD4")->Apply(Sizes);
BENCHMARK_CAPTURE(Distribution2D, OCFE4, "OCFE4")->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
