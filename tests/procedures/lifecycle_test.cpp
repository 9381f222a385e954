// Construction, copies, destruction and allocation failures: the procedure's memory comes
// from the host and goes back to it on every path.
#include <stdexcept>

#include "procedure_fixture.h"

namespace proctest {
namespace {

using Lifecycle = ProcedureTest;

// A copy evaluates on its own, after its source is gone, and so does an assigned object.
TEST_F(Lifecycle, CopiesAndAssignedProceduresEvaluateOnTheirOwn) {
    Build({.n1 = 2, .n2 = 2, .count = 2});
    SetUpEquations();
    Spy::Instance().behaviour.f = 4.0;
    double r = 0.0;
    ASSERT_EQ(Residual(r), 0);

    std::unique_ptr<QVProc_INTERPOLATE> copy(new QVProc_INTERPOLATE(*procedure));
    ASSERT_NE(copy, nullptr);
    std::unique_ptr<QVProc_INTERPOLATE> assigned(new QVProc_INTERPOLATE(false, 0));
    *assigned = *procedure;
    procedure.reset();

    for (QVProc_INTERPOLATE* p : {copy.get(), assigned.get()}) {
        Spy::Instance().calls.clear();
        SetValue(*y, 10.0);
        int index = 0;
        ASSERT_EQ(p->Residuals(&r, index), 0);
        EXPECT_EQ(r, 6.0);
        ASSERT_EQ(Spy::Instance().calls.size(), 1u); // its own first call
        EXPECT_EQ(Spy::Instance().calls[0].cols, (std::vector<int>{1, 2, 3, 4, 5, 6}));
        double row[6] = {};
        index = 0;
        ASSERT_EQ(p->Jacobian(row, index), 0);
        EXPECT_EQ(index, 6);
        EXPECT_EQ(row[5], -104.0);
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
    std::size_t allocations = 0;
    {
        const std::size_t before = vzt::Allocator().totalAllocations;
        Build({.n1 = 2, .n2 = 3, .count = 2});
        SetUpEquations();
        double r = 0.0;
        Residual(r);
        int status = 0;
        JacobianRow(status);
        allocations = vzt::Allocator().totalAllocations - before;
        TearDown();
        SetUp();
    }
    ASSERT_GT(allocations, 5u);
    for (std::size_t k = 1; k <= allocations; ++k) {
        SCOPED_TRACE(k);
        owner = std::make_unique<QV_ModelTypeEx>();
        x = std::make_unique<QV_REALVARIABLE>();
        y = std::make_unique<QV_REALVARIABLE>();
        for (int e = 0; e < 3; ++e) {
            table1.push_back(std::make_unique<QV_REALVARIABLE>());
            table2.push_back(std::make_unique<QV_REALVARIABLE>());
        }
        table1.pop_back();
        binding = {.n1 = 2, .n2 = 3, .count = 2};
        vzt::FailAllocation(k);
        procedure.reset(new QVProc_INTERPOLATE(true, 0));
        if (procedure != nullptr) {
            vzt::Describe(*procedure, Arguments());
            Spy::Instance().Reset(procedure->ValueSlots());
            SetUpEquations();
            double r = 0.0;
            const int residualStatus = Residual(r);
            int status = 0;
            JacobianRow(status);
            if (residualStatus >= 0 && status >= 0) {
                EXPECT_EQ(Spy::Instance().calls.size(), 1u);
            }
        }
        vzt::FailAllocation(0);
        TearDown();
        SetUp();
    }
}

} // namespace
} // namespace proctest
