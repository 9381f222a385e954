// Construction, copies, destruction and allocation failures: the procedure's memory comes
// from the host and goes back to it on every path.
#include <stdexcept>

#include "procedure_fixture.h"

namespace proctest {
namespace {

using Lifecycle = ProcedureTest;

// A copy evaluates on its own, after its source is gone, and so does an assigned object.
TEST_F(Lifecycle, CopiesAndAssignedProceduresEvaluateOnTheirOwn) {
    Build({});
    SetUpEquations();
    spy.f = 4.0;
    double r = 0.0;
    ASSERT_EQ(Residual(r), 0);
    std::unique_ptr<QVProc_INTERPOLATE> copy(new QVProc_INTERPOLATE(*procedure));
    std::unique_ptr<QVProc_INTERPOLATE> assigned(new QVProc_INTERPOLATE(false, 0));
    *assigned = *procedure;
    SetValue(*y, 10.0);
    for (std::unique_ptr<QVProc_INTERPOLATE>* other : {&copy, &assigned}) {
        procedure = std::move(*other); // the source, or the copy before, is gone
        spy.calls.clear();
        ASSERT_EQ(Residual(r), 0);
        EXPECT_EQ(r, 6.0);
        ASSERT_EQ(spy.calls.size(), 1u); // its own first call
        EXPECT_EQ(spy.calls[0].cols, (std::vector<int>{1, 2, 3, 4, 5, 6}));
        int status = 0;
        EXPECT_EQ(JacobianRow(status), (std::vector<double>{1, -100, -101, -102, -103, -104}));
        EXPECT_EQ(status, 0);
    }
}

// A procedure destroyed without a description, or whose construction the host aborts,
// gives back every block (the fixture checks the same after every evaluating test).
TEST_F(Lifecycle, NothingIsLeftAfterDeleteOrAFailedConstruction) {
    delete new QVProc_INTERPOLATE(true, 0);
    EXPECT_TRUE(AllocatorBalanced());
    vzt::Procedures().setModeThrows = true;
    EXPECT_THROW(delete new QVProc_INTERPOLATE(true, 0), std::runtime_error);
    EXPECT_TRUE(AllocatorBalanced());
}

// The k-th allocation fails, for every k the whole protocol makes: nothing crashes or
// leaks, and every evaluation either succeeds or reports failure.
TEST_F(Lifecycle, EveryAllocationMayFail) {
    std::size_t k = 1;
    for (bool failed = true; failed; ++k) {
        SCOPED_TRACE(k);
        const std::size_t failures = vzt::Allocator().failedAllocations;
        Build({.Y = {0, 10, 20}}, true, k);
        if (procedure != nullptr) {
            SetUpEquations();
            double r = 0.0;
            const int residualStatus = Residual(r);
            int status = 0;
            JacobianRow(status);
            if (residualStatus >= 0 && status >= 0) {
                EXPECT_EQ(spy.calls.size(), 1u);
            }
        }
        failed = vzt::Allocator().failedAllocations != failures;
        TearDown();
        SetUp();
    }
    EXPECT_GT(k, 5u);
}

} // namespace
} // namespace proctest
