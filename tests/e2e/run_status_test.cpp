// vzhost run's exit status when the model itself fails: 1 and one line, never the status of
// bad input, and never a crash.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include <standin/testing.h>

#include "loader.h"
#include "run.h"

namespace {

class RunStatus : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(library.IsOpen()) << library.Error(); }
    void TearDown() override { vzt::Reset(); }

    int Run() {
        out.str("");
        err.str("");
        return vzhost::Run(
            library, {"DISTRIBUTION1D", {{'x', "method=OCFE3,sections=2"}}, {{"INTEGRALS", "idx"}}},
            out, err);
    }

    vzt::TypeLibrary library{PELLORIN_LIBRARY_PATH};
    std::ostringstream out, err;
};

TEST_F(RunStatus, AWalkThatFailsExitsWithOneAfterTheReport) {
    struct Case {
        int setUpEquations, jacPattern;
        const char* says;
    };
    for (const Case& c :
         {Case{-3, 0, "SetUpEquations returned -3"}, Case{0, -2, "JacPattern returned -2"}}) {
        vzt::Reset();
        vzt::Base().setUpEquations = c.setUpEquations;
        vzt::Base().jacPattern = c.jacPattern;
        EXPECT_EQ(Run(), 1) << err.str();
        EXPECT_NE(err.str().find(c.says), std::string::npos) << err.str();
        EXPECT_EQ(err.str().find('\n'), err.str().size() - 1) << err.str();
        EXPECT_NE(out.str().find("DISTRIBUTION1D"), std::string::npos);
    }
}

// Out of memory at any allocation of a run is never taken for bad input, nor does it give a
// result that lacks parts: the run fails with status 1 and one line, or (where the library
// did without the allocation) gives the whole result; nothing it allocated is left behind.
TEST_F(RunStatus, AnAllocationFailureAnywhereFailsTheRunWithOne) {
    vzt::Reset();
    const std::size_t before = vzt::Allocator().totalAllocations;
    ASSERT_EQ(Run(), 0) << err.str();
    const std::string whole = out.str();
    const std::size_t allocations = vzt::Allocator().totalAllocations - before;
    for (std::size_t k = 1; k <= allocations; ++k) {
        vzt::Reset();
        vzt::FailAllocation(k);
        const std::size_t failedBefore = vzt::Allocator().failedAllocations;
        const int status = Run();
        const std::string line = err.str();
        EXPECT_EQ(vzt::Allocator().liveBlocks, 0u) << "allocation " << k;
        if (vzt::Allocator().failedAllocations == failedBefore) {
            EXPECT_EQ(status, 0) << "allocation " << k << ": " << line;
            EXPECT_EQ(out.str(), whole) << "allocation " << k;
            continue;
        }
        EXPECT_EQ(status, 1) << "allocation " << k << ": " << line;
        EXPECT_EQ(line.find('\n'), line.size() - 1) << "allocation " << k << ": " << line;
    }
}

} // namespace
