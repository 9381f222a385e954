// vzhost run's exit status when the model itself fails: 1 and one line, never the status of
// bad input, and never a crash.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include <vuzizev/testing.h>

#include "loader.h"
#include "run.h"

namespace {

class RunStatus : public ::testing::Test {
protected:
    void TearDown() override { vzt::Reset(); }

    int Run() {
        vzhost::RunOptions options;
        options.type = "DISTRIBUTION1D";
        options.domainSpecs['x'] = "method=OCFE3,sections=2";
        options.settings = {{"INTEGRALS", "idx"}};
        out.str("");
        err.str("");
        return vzhost::Run(library, options, out, err);
    }

    vzt::TypeLibrary library{PELLORIN_LIBRARY_PATH};
    std::ostringstream out;
    std::ostringstream err;
};

TEST_F(RunStatus, AWalkThatFailsExitsWithOneAfterTheReport) {
    ASSERT_TRUE(library.IsOpen()) << library.Error();
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

// Out of memory at any allocation of a run is never taken for bad input: the run succeeds
// (where the library can do without) or fails with status 1 and one line, and nothing it
// allocated is left behind.
TEST_F(RunStatus, AnAllocationFailureAnywhereIsNeverBadInput) {
    ASSERT_TRUE(library.IsOpen()) << library.Error();
    vzt::Reset();
    ASSERT_EQ(Run(), 0) << err.str();
    const std::size_t allocations = vzt::Allocator().totalAllocations;
    for (std::size_t k = 1; k <= allocations; ++k) {
        vzt::Reset();
        vzt::FailAllocation(k);
        const int status = Run();
        const std::string line = err.str();
        EXPECT_EQ(vzt::Allocator().liveBlocks, 0u) << "allocation " << k;
        EXPECT_TRUE(status == 0 || status == 1) << "allocation " << k << ": " << line;
        EXPECT_EQ(line.find('\n'), status == 0 ? std::string::npos : line.size() - 1)
            << "allocation " << k << ": " << line;
    }
}

} // namespace
