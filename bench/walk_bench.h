// The measurement both distributions' benchmarks share: the host's three steps (assignments,
// SetUpEquations, JacPattern) per equation instance, the host's bytes per instance, and a
// floor: the same instances, incidence entries and tokens written into arrays mapped
// beforehand, window by window, which no walk can beat.
//
// Every iteration starts with the heap given back to the system and builds a fresh model
// (not timed). The first walks then run as in a first solve: they make the elements and fill
// a new equation store, on memory touched for the first time; the floor's first write meets
// fresh pages likewise, in every window. The walks and the floor then run a second time, on
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

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <standin/testing.h>
#include <vuzizev/vuzizev.h>

#include "bench/floor.h"
#include "types/domain/domain.h"

namespace walkbench {

// A domain of unit length cut into equal sections at spacing 1 / (nodes - 1), highest
// derivative 2; the method may raise a section's node count to fill its last element.
inline void SpecifyDomain(QV_DOMAIN& domain, const char* method, long nodes, int sections = 1) {
    vzt::Specify(domain.DISCRETIZATIONMETHOD, QV_Value(method, 0u));
    vzt::Specify(domain.NUMSECTIONS, QV_Value(sections, 0u));
    vzt::Specify(domain.HIGHESTORDERDERIVATIVE, QV_Value(2, 0u));
    vzt::Specify(*pellorin::Linked(domain.SPACINGPREFERENCE),
                 QV_Value(1.0 / double(nodes - 1), 0u));
}

// Bytes the process has taken from malloc, mapped blocks included, and the host allocator's
// slabs.
std::size_t HeapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd + vzt::Allocator().slabBytes;
}

// Seconds summed over the iterations.
struct Totals {
    double assign = 0;
    double setUp[2] = {};    // first, again
    double jacobian[2] = {}; // first, again
    double floor[2] = {};    // fresh memory, then memory touched already
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
        const Floor floor(store);
        total.floor[0] += floor.WriteFresh();
        total.floor[1] += floor.WriteAgain();

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
