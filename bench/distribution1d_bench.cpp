// How the cost of a one-dimensional distribution grows with its node count: the host's three
// steps (assignments, SetUpEquations, JacPattern) per equation instance, the host's bytes per
// instance, and a floor: the same instances, incidence entries and tokens written into arrays
// allocated and cleared beforehand, which no walk can beat.
//
// Every iteration builds a fresh domain and distribution (not timed), so each step runs as it
// does in a solve: first time, on a model that has not made its elements yet.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <vuzizev/testing.h>
#include <vuzizev/vuzizev.h>

#include "types/distribution1d/distribution1d.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Bytes the process has taken from malloc, mapped blocks included.
std::size_t HeapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

struct Model {
    QV_DOMAIN domain;
    QV_DISTRIBUTION1D distribution;

    // One section of unit length cut at spacing 1 / (nodes - 1); the method may raise the
    // node count to fill its last element.
    Model(const char* method, long nodes) {
        domain.DISCRETIZATIONMETHOD.Specify(QV_Value(method, 0u));
        domain.NUMSECTIONS.Specify(QV_Value(1, 0u));
        domain.HIGHESTORDERDERIVATIVE.Specify(QV_Value(2, 0u));
        domain.SPACINGPREFERENCE.get()->Specify(QV_Value(1.0 / double(nodes - 1), 0u));
        distribution.INTEGRALS.Specify(QV_Value("idx", 0u));
        distribution.XDOMAIN.Link(&domain);
    }
};

// The floor of SetUpEquations: each instance's group and incidence written into arrays that
// are already there.
struct SetUpFloor {
    std::size_t count;
    std::vector<int> groups;
    std::vector<std::uint32_t> starts;
    std::vector<const QV_VarParam*> incidence;

    explicit SetUpFloor(const QV_EquationStore& store)
        : count(store.InstanceCount()), groups(count), starts(count),
          incidence(store.IncidenceCount()) {}

    void Write(const QV_EquationStore& store) {
        std::size_t at = 0;
        for (std::size_t k = 0; k < count; ++k) {
            const QV_InstanceView instance = store.Instance(k);
            groups[k] = instance.group;
            starts[k] = std::uint32_t(at);
            for (std::size_t t = 0; t < instance.incidenceCount; ++t) {
                incidence[at++] = instance.incidence[t];
            }
        }
        benchmark::DoNotOptimize(incidence.data());
        benchmark::ClobberMemory();
    }
};

// The floor of JacPattern: each equation's name, group and number, its tokens, and a row and
// a column entry per term, written into arrays that are already there.
struct JacobianFloor {
    std::size_t count;
    std::vector<const char*> names;
    std::vector<int> groups;
    std::vector<int> counters;
    std::vector<std::uint32_t> starts;
    std::vector<QV_Token> tokens;
    std::vector<int> rows;
    std::vector<int> cols;

    explicit JacobianFloor(const QV_EquationStore& store)
        : count(store.EquationCount()), names(count), groups(count), counters(count), starts(count),
          tokens(store.TokenCount()), rows(store.IncidenceCount()), cols(store.IncidenceCount()) {}

    void Write(const QV_EquationStore& store) {
        std::size_t at = 0;
        std::size_t entry = 0;
        for (std::size_t k = 0; k < count; ++k) {
            const QV_EquationView equation = store.Equation(k);
            names[k] = equation.name;
            groups[k] = equation.group;
            counters[k] = equation.counter;
            starts[k] = std::uint32_t(at);
            for (std::size_t t = 0; t < equation.tokenCount; ++t) {
                const QV_Token& token = equation.tokens[t];
                tokens[at++] = token;
                if (token.kind == QV_Token::Kind::Term) {
                    rows[entry] = equation.counter - 1;
                    cols[entry++] = 0;
                }
            }
        }
        benchmark::DoNotOptimize(tokens.data());
        benchmark::DoNotOptimize(rows.data());
        benchmark::DoNotOptimize(cols.data());
        benchmark::ClobberMemory();
    }
};

struct Totals {
    double assign = 0;
    double setUp = 0;
    double jacobian = 0;
    double setUpFloor = 0;
    double jacobianFloor = 0;
};

void Distribution1D(benchmark::State& state, const char* method) {
    const long nodes = long(state.range(0));
    vzt::Reset();
    vzt::EnableJournal(false);
    Totals total;
    std::size_t instances = 0;
    std::size_t endNode = 0;
    double hostBytes = 0;
    double heapBytes = 0;
    for (auto _ : state) {
        const std::size_t heapBefore = HeapBytes();
        const std::size_t liveBefore = vzt::Allocator().liveBytes;
        auto model = std::make_unique<Model>(method, nodes);
        QV_DOMAIN& domain = model->domain;
        QV_DISTRIBUTION1D& distribution = model->distribution;

        const Clock::time_point t0 = Clock::now();
        domain.SetDims();
        domain.ExecuteAssignments(1, 0);
        distribution.SetDims();
        distribution.ExecuteAssignments(1, 0);
        const Clock::time_point t1 = Clock::now();
        domain.SetUpEquations();
        distribution.SetUpEquations();
        const Clock::time_point t2 = Clock::now();

        const QV_EquationStore& store = distribution.Equations();
        std::vector<int> rows(store.IncidenceCount());
        std::vector<int> cols(store.IncidenceCount());
        int* r = rows.data();
        int* c = cols.data();
        distribution.SetJacobianBufferEnd(rows.data() + rows.size(), cols.data() + cols.size());
        const Clock::time_point t3 = Clock::now();
        domain.JacPattern(r, c, nullptr);
        distribution.JacPattern(r, c, nullptr);
        const Clock::time_point t4 = Clock::now();
        distribution.SetJacobianBufferEnd(nullptr, nullptr);
        benchmark::DoNotOptimize(r);

        instances = store.InstanceCount();
        endNode = std::size_t(domain.ENDNODE.v());
        hostBytes = double(store.BytesUsed() + (vzt::Allocator().liveBytes - liveBefore));
        heapBytes = double(HeapBytes() - heapBefore) - double(rows.size() + cols.size()) * 4;

        SetUpFloor setUpFloor(store);
        JacobianFloor jacobianFloor(store);
        const Clock::time_point f0 = Clock::now();
        setUpFloor.Write(store);
        const Clock::time_point f1 = Clock::now();
        jacobianFloor.Write(store);
        const Clock::time_point f2 = Clock::now();

        total.assign += Seconds(t0, t1);
        total.setUp += Seconds(t1, t2);
        total.jacobian += Seconds(t3, t4);
        total.setUpFloor += Seconds(f0, f1);
        total.jacobianFloor += Seconds(f1, f2);
        state.SetIterationTime(Seconds(t0, t2) + Seconds(t3, t4));
    }
    const double runs = double(state.iterations());
    const double perInstance = 1e9 / (runs * double(instances));
    state.counters["nodes"] = double(endNode + 1);
    state.counters["instances"] = double(instances);
    state.counters["assign_ns"] = total.assign * perInstance;
    state.counters["setup_ns"] = total.setUp * perInstance;
    state.counters["jac_ns"] = total.jacobian * perInstance;
    state.counters["setup_floor_ns"] = total.setUpFloor * perInstance;
    state.counters["jac_floor_ns"] = total.jacobianFloor * perInstance;
    state.counters["setup_x_floor"] = total.setUp / total.setUpFloor;
    state.counters["jac_x_floor"] = total.jacobian / total.jacobianFloor;
    state.counters["host_B"] = hostBytes / double(instances);
    state.counters["heap_B"] = heapBytes / double(instances);
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->UseManualTime()->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
    for (long nodes = 1000; nodes <= 1000000; nodes *= 10) {
        b->Arg(nodes);
    }
}

BENCHMARK_CAPTURE(Distribution1D, BFD1, "BFD1")->Apply(Sizes);
BENCHMARK_CAPTURE(Distribution1D, CFD4, "CFD4")->Apply(Sizes);
BENCHMARK_CAPTURE(Distribution1D, OCFE4, "OCFE4")->Apply(Sizes);

} // namespace

BENCHMARK_MAIN();
