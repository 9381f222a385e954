// How the cost of a two-dimensional distribution grows with its node count, on square grids
// of the same method in both directions (walk_bench.h says what is measured).
#include "bench/grid_model.h"

namespace {

using walkbench::Distribution2D;

void Sizes(benchmark::internal::Benchmark* b) {
    walkbench::Sizes(b, 125, 125000);
}

BENCHMARK_CAPTURE(Distribution2D, BFD1, "BFD1")->Apply(Sizes);
BENCHMARK_CAPTURE(Distribution2D, CFD4, "CFD4")->Apply(Sizes);
BENCHMARK_CAPTURE(Distribution2D, OCFE4, "OCFE4")->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
