// The largest models: 2-D grids of about 2.8·10^6 to 2·10^7 instances and 3-D grids of about
// 2.9·10^6 to 10^7, CFD4 in every direction, one iteration each (walk_bench.h says what is
// measured). The largest 2-D case needs about 4.7 GB; the tests never run them.
#include "bench/grid_model.h"

namespace {

using walkbench::Distribution2D;
using walkbench::Distribution3D;

void Large(benchmark::internal::Benchmark* b, std::initializer_list<long> nodes) {
    b->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);
    for (long n : nodes) {
        b->Arg(n);
    }
}

BENCHMARK_CAPTURE(Distribution2D, CFD4, "CFD4")->Apply([](benchmark::internal::Benchmark* b) {
    Large(b, {400000, 1200000, 2860000});
});
BENCHMARK_CAPTURE(Distribution3D, CFD4, "CFD4")->Apply([](benchmark::internal::Benchmark* b) {
    Large(b, {220000, 420000, 750000});
});

} // namespace

BENCHMARK_MAIN();
