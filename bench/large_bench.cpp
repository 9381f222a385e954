// The largest models: 2-D grids of about 3·10^6 to 1.4·10^7 instances and 3-D grids of about
// 3·10^6 to 10^7, CFD4 in every direction, one iteration each (walk_bench.h says what is
// measured). The floor's copies of the tokens take 16 bytes a token, so the largest case
// needs about 10 GB; the tests never run them.
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
    Large(b, {400000, 1200000, 2000000});
});
BENCHMARK_CAPTURE(Distribution3D, CFD4, "CFD4")->Apply([](benchmark::internal::Benchmark* b) {
    Large(b, {220000, 420000, 750000});
});

} // namespace

BENCHMARK_MAIN();
