// vzhost run's exit status when the model itself fails: 1 and one line, never the status of
// bad input, and never a crash.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>

#include <standin/testing.h>

#include "call.h"
#include "loader.h"
#include "run.h"

namespace {

class RunStatus : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(library.IsOpen()) << library.Error(); }
    void TearDown() override { vzt::Reset(); }

    int Run(const vzhost::RunOptions& options = {
                "DISTRIBUTION1D", {{'x', "method=OCFE3,sections=2"}}, {{"INTEGRALS", "idx"}}}) {
        out.Clear();
        err.Clear();
        return vzhost::Run(library, options, out, err);
    }

    vzt::TypeLibrary library{PELLORIN_LIBRARY_PATH};
    vzhost::Output out, err;
};

TEST_F(RunStatus, AWalkThatFailsExitsWithOneAfterTheReport) {
    // A failed SetUpEquations stops the run before JacPattern; the summary says so.
    struct Case {
        int setUpEquations, jacPattern;
        const char *says, *reports;
    };
    for (const Case& c : {Case{-3, 0, "SetUpEquations returned -3", "; JacPattern not run\n"},
                          Case{0, -2, "JacPattern returned -2", " rows entries)\n"}}) {
        vzt::Reset();
        vzt::Base().setUpEquations = c.setUpEquations;
        vzt::Base().jacPattern = c.jacPattern;
        EXPECT_EQ(Run(), 1) << err.Text();
        EXPECT_NE(err.Text().find(c.says), std::string::npos) << err.Text();
        EXPECT_EQ(err.Text().find('\n'), err.Text().size() - 1) << err.Text();
        EXPECT_NE(out.Text().find("DISTRIBUTION1D"), std::string::npos);
        EXPECT_NE(out.Text().find(c.reports), std::string::npos) << out.Text();
    }
}

// Fails the k-th allocation of a command for k = 1, 1 + stride, ... up to the number a whole
// run makes. Out of memory is never taken for bad input, nor does it give a result that lacks
// parts: the command fails with status 1 and one line, or (where the library did without the
// allocation) gives the whole result; nothing it allocated is left behind. Returns how many
// allocations a whole run makes.
std::size_t ExpectEachAllocationFailureEndsCleanly(const std::function<int()>& command,
                                                   const vzhost::Output& out,
                                                   const vzhost::Output& err, std::size_t stride) {
    vzt::Reset();
    const std::size_t before = vzt::Allocator().totalAllocations;
    EXPECT_EQ(command(), 0) << err.Text();
    const std::string whole = out.Text();
    const std::size_t allocations = vzt::Allocator().totalAllocations - before;
    for (std::size_t k = 1; k <= allocations; k += stride) {
        vzt::Reset();
        vzt::FailAllocation(k);
        const std::size_t failedBefore = vzt::Allocator().failedAllocations;
        const int status = command();
        const std::string line = err.Text();
        EXPECT_EQ(vzt::Allocator().liveBlocks, 0u) << "allocation " << k;
        if (vzt::Allocator().failedAllocations == failedBefore) {
            EXPECT_EQ(status, 0) << "allocation " << k << ": " << line;
            EXPECT_EQ(out.Text(), whole) << "allocation " << k;
            continue;
        }
        EXPECT_EQ(status, 1) << "allocation " << k << ": " << line;
        EXPECT_EQ(line.find('\n'), line.size() - 1) << "allocation " << k << ": " << line;
        EXPECT_EQ(line.rfind("vzhost: ", 0), 0u) << "allocation " << k << ": " << line;
    }
    return allocations;
}

// A model, and every how many allocations a failure is injected: all of the small ones,
// enough of the large ones to reach every step without a long run under the sanitizers.
struct InjectedRun {
    vzhost::RunOptions options;
    std::size_t stride;
    friend void PrintTo(const InjectedRun& run, std::ostream* out) {
        *out << run.options.type << ", every " << run.stride << " allocations";
    }
};

class AllocationFailure : public RunStatus, public ::testing::WithParamInterface<InjectedRun> {};

TEST_P(AllocationFailure, AnAllocationFailureAnywhereFailsTheRunWithOne) {
    const std::size_t allocations = ExpectEachAllocationFailureEndsCleanly(
        [this] { return Run(GetParam().options); }, out, err, GetParam().stride);
    RecordProperty("allocations", std::to_string(allocations));
}

INSTANTIATE_TEST_SUITE_P(
    Models, AllocationFailure,
    ::testing::Values(
        InjectedRun{{"DISTRIBUTION1D", {{'x', "method=OCFE3,sections=2"}}, {{"INTEGRALS", "idx"}}},
                    1},
        InjectedRun{{"DOMAIN", {{'x', "method=OCFE4,sections=3,hod=2,spacing=0.2"}}, {}}, 1},
        InjectedRun{
            {"DISTRIBUTION2D",
             {{'x', "method=CFD4,sections=2,hod=2"}, {'y', "method=OCFE3,ebc=Forward,hod=2"}},
             {{"HIGHESTORDERXDERIVATIVEUSED", "2"},
              {"HIGHESTORDERYDERIVATIVEUSED", "2"},
              {"INTEGRALS", "idx,idy,idxdy"}}},
            3},
        InjectedRun{{"DISTRIBUTION3D",
                     {{'x', "method=OCFE3"},
                      {'y', "method=CFD2,sections=2,spacing=0.25"},
                      {'z', "method=BFD1,spacing=0.5"}},
                     {{"INTEGRALS", "idx,idxdydz"}}},
                    5}),
    [](const auto& info) { return info.param.options.type; });

// The procedure's call: its variables, the procedure, its equations and the routine's
// buffers all come from the host's allocator.
TEST_F(RunStatus, AnAllocationFailureAnywhereFailsTheCallWithOne) {
    vzhost::CallOptions options;
    options.procedure = "INTERPOLATE";
    options.x = 2.5;
    options.table1 = {0, 1, 2, 4};
    options.table2 = {1, 3, 2, 6};
    options.count = 4;
    options.output = 3;
    const std::string routines =
        std::filesystem::path(PELLORIN_LIBRARY_PATH).parent_path().string();
    const std::size_t allocations = ExpectEachAllocationFailureEndsCleanly(
        [&] {
            out.Clear();
            err.Clear();
            return vzhost::Call(options, routines, out, err);
        },
        out, err, 1);
    RecordProperty("call_allocations", std::to_string(allocations));
}

} // namespace
