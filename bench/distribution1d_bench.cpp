// How the cost of a one-dimensional distribution grows with its node count, for every method
// and for domains of many sections (walk_bench.h says what is measured).
#include <algorithm>
#include <string>

#include "bench/walk_bench.h"
#include "types/distribution1d/distribution1d.h"

namespace {

struct Model1D {
    QV_DOMAIN domain;
    QV_DISTRIBUTION1D distribution;

    Model1D(const char* method, long nodes, int sections) {
        walkbench::SpecifyDomain(domain, method, nodes, sections);
        vzt::Specify(distribution.INTEGRALS, QV_Value("idx", 0u));
        vzt::Link(distribution.XDOMAIN, &domain);
    }
    std::vector<QV_ModelType*> domains() { return {&domain}; }
    void Assign() {
        domain.SetDims();
        domain.ExecuteAssignments(1, 0);
        distribution.SetDims();
        distribution.ExecuteAssignments(1, 0);
    }
    double Nodes() { return domain.ENDNODE.v() + 1.0; }
};

// A method over one section, or over sections of nodesPerSection nodes each.
struct Case {
    const char* name;
    const char* method;
    long nodesPerSection;
};

constexpr Case kCases[] = {
    {"BFD1", "BFD1", 0},
    {"BFD2", "BFD2", 0},
    {"FFD1", "FFD1", 0},
    {"FFD2", "FFD2", 0},
    {"CFD2", "CFD2", 0},
    {"CFD4", "CFD4", 0},
    {"UBFD4", "UBFD4", 0},
    {"OCFE2", "OCFE2", 0},
    {"OCFE3", "OCFE3", 0},
    {"OCFE4", "OCFE4", 0},
    {"BFD1_sections_of_8", "BFD1", 8},
    {"OCFE3_sections_of_9", "OCFE3", 9},
};

// The argument is the number of instances to aim at, about three a node.
void Distribution1D(benchmark::State& state, const Case& c) {
    long nodes = long(state.range(0)) / 3 + 1;
    int sections = 1;
    if (c.nodesPerSection > 0) {
        sections = int(std::max(1L, (nodes - 1) / c.nodesPerSection));
        nodes = sections * c.nodesPerSection + 1;
    }
    walkbench::Measure(state, [&] { return std::make_unique<Model1D>(c.method, nodes, sections); });
}

[[maybe_unused]] const int kRegistered = [] {
    for (const Case& c : kCases) {
        benchmark::RegisterBenchmark((std::string("Distribution1D/") + c.name).c_str(),
                                     Distribution1D, c)
            ->Apply([](benchmark::internal::Benchmark* b) { walkbench::Sizes(b, 1000, 1000000); });
    }
    return 0;
}();

} // namespace

BENCHMARK_MAIN();
