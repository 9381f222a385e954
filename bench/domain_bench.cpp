// How a domain's assignments grow with its number of sections: the time per section of
// SetDims and ExecuteAssignments for a BFD1 domain of 10^2 to 10^5 sections.
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

#include <standin/testing.h>

#include "types/domain/domain.h"

namespace {

void DomainSections(benchmark::State& state) {
    const int sections = int(state.range(0));
    vzt::Reset();
    vzt::EnableJournal(false);
    double seconds = 0;
    for (auto _ : state) {
        auto domain = std::make_unique<QV_DOMAIN>();
        vzt::Specify(domain->NUMSECTIONS, QV_Value(sections, 0u));
        const auto t0 = std::chrono::steady_clock::now();
        domain->SetDims();
        domain->ExecuteAssignments(1, 0);
        const double s =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.SetIterationTime(s);
        seconds += s;
    }
    state.counters["sections"] = sections;
    state.counters["per_section_us"] = 1e6 * seconds / (double(state.iterations()) * sections);
}

BENCHMARK(DomainSections)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000);

} // namespace

BENCHMARK_MAIN();
