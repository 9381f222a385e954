// How the cost of a three-dimensional distribution grows with its node count, on cubic grids
// of the same method in every direction (walk_bench.h says what is measured).
#include "bench/grid_model.h"

namespace {

using walkbench::Distribution3D;

void Sizes(benchmark::internal::Benchmark* b) {
    walkbench::Sizes(b, 125, 125000);
}

BENCHMARK_CAPTURE(Distribution3D, BFD1, "BFD1")->Apply(Sizes);
BENCHMARK_CAPTURE(Distribution3D, CFD4, "CFD4")->Apply(Sizes);
BENCHMARK_CAPTURE(Distribution3D, OCFE4, "OCFE4")->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
