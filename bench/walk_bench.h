// The measurement both distributions' benchmarks share: the host's three steps (assignments,
// SetUpEquations, JacPattern) per equation instance, the host's bytes per instance, and a
// floor: the same instances, incidence entries and tokens written into arrays allocated
// beforehand, which no walk can beat.
//
// Every iteration starts with the heap given back to the system and builds a fresh model
// (not timed). The first walks then run as in a first solve: they make the elements and fill
// a new equation store, on memory touched for the first time; the floor's first write is
// measured on fresh arrays likewise. The walks and the floor then run a second time, on
// memory that is already there, as when the host sets the same model up again.
//
// The whole run (building the model, its assignments, the first walks and its destruction) is
// timed too, against the first walks alone.
//
// A model offers: Assign() (SetDims and ExecuteAssignments of its domains, then of its
// distribution), the domains and the distribution as `domains()` and `distribution`, and
// Nodes(), its node count.
#pragma once

#include <benchmark/benchmark.h>
#include <malloc.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <standin/testing.h>
#include <vuzizev/vuzizev.h>

#include "types/domain/domain.h"

namespace walkbench {

using Clock = std::chrono::steady_clock;

// One section of unit length cut at spacing 1 / (nodes - 1), highest derivative 2; the method
// may raise the node count to fill its last element.
inline void SpecifyDomain(QV_DOMAIN& domain, const char* method, long nodes) {
    vzt::Specify(domain.DISCRETIZATIONMETHOD, QV_Value(method, 0u));
    vzt::Specify(domain.NUMSECTIONS, QV_Value(1, 0u));
    vzt::Specify(domain.HIGHESTORDERDERIVATIVE, QV_Value(2, 0u));
    vzt::Specify(*pellorin::Linked(domain.SPACINGPREFERENCE),
                 QV_Value(1.0 / double(nodes - 1), 0u));
}

double Seconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

// Bytes the process has taken from malloc, mapped blocks included, and the host allocator's
// slabs.
std::size_t HeapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd + vzt::Allocator().slabBytes;
}

// An array allocated up front and not touched, so that the first write to it meets fresh pages.
template <class T>
class Preallocated {
public:
    explicit Preallocated(std::size_t n) : m_data(static_cast<T*>(std::malloc(n * sizeof(T) + 1))) {
        if (m_data == nullptr) {
            std::abort();
        }
    }
    Preallocated(const Preallocated&) = delete;
    Preallocated& operator=(const Preallocated&) = delete;
    ~Preallocated() { std::free(m_data); }
    T& operator[](std::size_t k) { return m_data[k]; }
    T* data() { return m_data; }

private:
    T* m_data;
};

// The floor: what the two walks write, written without a walk. Each instance's group and
// incidence, then each equation's name, group and number, its tokens, and a row and a column
// entry per term, copied from the host's store into arrays allocated beforehand.
struct Floor {
    std::size_t instanceCount;
    std::size_t equationCount;
    Preallocated<int> instanceGroups;
    Preallocated<std::uint32_t> incidenceStarts;
    Preallocated<const QV_VarParam*> incidence;
    Preallocated<const char*> names;
    Preallocated<int> groups;
    Preallocated<int> counters;
    Preallocated<std::uint32_t> tokenStarts;
    Preallocated<QV_Token> tokens;
    Preallocated<int> rows;
    Preallocated<int> cols;

    explicit Floor(const QV_EquationStore& store)
        : instanceCount(store.InstanceCount()), equationCount(store.EquationCount()),
          instanceGroups(instanceCount), incidenceStarts(instanceCount),
          incidence(store.IncidenceCount()), names(equationCount), groups(equationCount),
          counters(equationCount), tokenStarts(equationCount), tokens(store.TokenCount()),
          rows(store.IncidenceCount()), cols(store.IncidenceCount()) {}

    void Write(const QV_EquationStore& store) {
        std::size_t at = 0;
        for (std::size_t k = 0; k < instanceCount; ++k) {
            const QV_InstanceView instance = store.Instance(k);
            instanceGroups[k] = instance.group;
            incidenceStarts[k] = std::uint32_t(at);
            for (std::size_t t = 0; t < instance.incidenceCount; ++t) {
                incidence[at++] = instance.incidence[t];
            }
        }
        at = 0;
        std::size_t entry = 0;
        for (std::size_t k = 0; k < equationCount; ++k) {
            const QV_EquationView equation = store.Equation(k);
            names[k] = equation.name;
            groups[k] = equation.group;
            counters[k] = equation.counter;
            tokenStarts[k] = std::uint32_t(at);
            for (std::size_t t = 0; t < equation.tokenCount; ++t) {
                const QV_Token& token = equation.tokens[t];
                tokens[at++] = token;
                if (token.kind == QV_Token::Kind::Term) {
                    rows[entry] = equation.counter - 1;
                    cols[entry++] = 0;
                }
            }
        }
        benchmark::DoNotOptimize(incidence.data());
        benchmark::DoNotOptimize(tokens.data());
        benchmark::DoNotOptimize(rows.data());
        benchmark::DoNotOptimize(cols.data());
        benchmark::ClobberMemory();
    }
};

// Seconds summed over the iterations.
struct Totals {
    double assign = 0;
    double setUp[2] = {};    // first, again
    double jacobian[2] = {}; // first, again
    double floor[2] = {};    // fresh arrays, then the same arrays again
    double whole = 0;        // building, assignments, the first walks and destruction
};

// SetUpEquations for every model; seconds.
template <class Model>
double SetUp(Model& m) {
    const Clock::time_point t0 = Clock::now();
    for (QV_ModelType* domain : m.domains()) {
        domain->SetUpEquations();
    }
    m.distribution.SetUpEquations();
    return Seconds(t0, Clock::now());
}

// JacPattern for every model, into rows/cols buffers as large as the incidence; seconds.
template <class Model>
double Jacobian(Model& m, std::vector<int>& rows, std::vector<int>& cols) {
    int* r = rows.data();
    int* c = cols.data();
    vzt::SetJacobianBufferEnd(m.distribution, rows.data() + rows.size(), cols.data() + cols.size());
    const Clock::time_point t0 = Clock::now();
    for (QV_ModelType* domain : m.domains()) {
        domain->JacPattern(r, c, nullptr);
    }
    m.distribution.JacPattern(r, c, nullptr);
    const double seconds = Seconds(t0, Clock::now());
    vzt::SetJacobianBufferEnd(m.distribution, nullptr, nullptr);
    benchmark::DoNotOptimize(r);
    return seconds;
}

void TimeFloor(const QV_EquationStore& store, double (&seconds)[2]) {
    Floor floor(store);
    for (double& s : seconds) {
        const Clock::time_point t0 = Clock::now();
        floor.Write(store);
        s += Seconds(t0, Clock::now());
    }
}

// Runs the measurement on models that make() builds afresh for each iteration.
template <class Make>
void Measure(benchmark::State& state, Make make) {
    vzt::Reset();
    vzt::EnableJournal(false);
    Totals total;
    std::size_t instances = 0;
    double nodes = 0;
    double hostBytes = 0;
    double heapBytes = 0;
    for (auto _ : state) {
        malloc_trim(0);
        const std::size_t heapBefore = HeapBytes();
        const std::size_t liveBefore = vzt::Allocator().liveBytes;
        const Clock::time_point built = Clock::now();
        auto model = make();
        const double build = Seconds(built, Clock::now());

        const Clock::time_point t0 = Clock::now();
        model->Assign();
        const double assign = Seconds(t0, Clock::now());
        const double setUp = SetUp(*model);
        const QV_EquationStore& store = vzt::Equations(model->distribution);
        std::vector<int> rows(store.IncidenceCount());
        std::vector<int> cols(store.IncidenceCount());
        const double jacobian = Jacobian(*model, rows, cols);
        state.SetIterationTime(assign + setUp + jacobian);
        total.assign += assign;
        total.setUp[0] += setUp;
        total.jacobian[0] += jacobian;

        instances = store.InstanceCount();
        nodes = model->Nodes();
        hostBytes = double(store.BytesUsed() + (vzt::Allocator().liveBytes - liveBefore));
        heapBytes = double(HeapBytes() - heapBefore) - double(rows.size() + cols.size()) * 4;

        total.setUp[1] += SetUp(*model);
        total.jacobian[1] += Jacobian(*model, rows, cols);
        TimeFloor(store, total.floor);

        const Clock::time_point destroyed = Clock::now();
        model.reset();
        total.whole += build + assign + setUp + jacobian + Seconds(destroyed, Clock::now());
    }
    const double perInstance = 1e9 / (double(state.iterations()) * double(instances));
    auto& counters = state.counters;
    counters["nodes"] = nodes;
    counters["instances"] = double(instances);
    counters["assign_ns"] = total.assign * perInstance;
    const char* const runs[2] = {"", "2"};
    for (int k = 0; k < 2; ++k) {
        const std::string run = runs[k];
        counters["setup" + run + "_ns"] = total.setUp[k] * perInstance;
        counters["jac" + run + "_ns"] = total.jacobian[k] * perInstance;
        counters["floor" + run + "_ns"] = total.floor[k] * perInstance;
        counters["walks" + run + "_x_floor"] =
            (total.setUp[k] + total.jacobian[k]) / total.floor[k];
    }
    counters["whole_ns"] = total.whole * perInstance;
    counters["whole_x_walks"] = total.whole / (total.setUp[0] + total.jacobian[0]);
    counters["host_B"] = hostBytes / double(instances);
    counters["heap_B"] = heapBytes / double(instances);
}

inline void Sizes(benchmark::internal::Benchmark* b, long smallest, long largest) {
    b->UseManualTime()->Unit(benchmark::kMillisecond);
    for (long n = smallest; n <= largest; n *= 10) {
        b->Arg(n);
    }
}

} // namespace walkbench
