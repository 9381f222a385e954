// How the cost of a one-dimensional distribution grows with its node count (walk_bench.h says
// what is measured).
#include "bench/walk_bench.h"
#include "types/distribution1d/distribution1d.h"

namespace {

struct Model1D {
    QV_DOMAIN domain;
    QV_DISTRIBUTION1D distribution;

    Model1D(const char* method, long nodes) {
        walkbench::SpecifyDomain(domain, method, nodes);
        vzt::Specify(distribution.INTEGRALS, QV_Value("idx", 0u));
        distribution.XDOMAIN.Link(&domain);
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

void Distribution1D(benchmark::State& state, const char* method) {
    const long nodes = long(state.range(0));
    walkbench::Measure(state, [&] { return std::make_unique<Model1D>(method, nodes); });
}

void Sizes(benchmark::internal::Benchmark* b) {
    walkbench::Sizes(b, 1000, 1000000);
}

BENCHMARK_CAPTURE(Distribution1D, BFD1, "BFD1")->Apply(Sizes);
BENCHMARK_CAPTURE(Distribution1D, CFD4, "CFD4")->Apply(Sizes);
BENCHMARK_CAPTURE(Distribution1D, OCFE4, "OCFE4")->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
