// What an evaluation that fails leaves for the host: its status, what it wrote and where it
// left the running index, against what the procedure told the host it contributes.
#include "procedure_fixture.h"

namespace proctest {
namespace {

using EvaluationFailures = ProcedureTest;

enum class Evaluation { Residuals, Jacobian };

// The host's allocations for a described procedure with the fixture's arguments, counted
// from its construction: its guards (1), the solver flags (2), the two derivative blocks
// (3, 4), the value buffer (5) and the element list (6).
constexpr std::size_t kGuards = 1;
constexpr std::size_t kSolverFlags = 2;
constexpr std::size_t kDerivativeBlock = 3;
constexpr std::size_t kValueBuffer = 5;
constexpr std::size_t kElementList = 6;

struct FailureState {
    const char* what;
    std::size_t failAtBuild; // the allocation of the build that fails; 0 none
    std::function<void()> arrange;
    bool failEveryAllocation; // while evaluating
    int status;
    int rows; // the procedure's rows: equations counted, residuals and Jacobian rows
};

void Nothing() {}

// Each state, with the fixture's call: five solver inputs, so a Jacobian row of six entries.
// Every row a failed Jacobian writes is 1 for the output and 0 for each input: the block is
// new, and no failed call fills it.
TEST_F(EvaluationFailures, EveryPathAdvancesTheIndexByTheRowsTheHostWasTold) {
    constexpr int kUnusable = pellorin::kProcedureUnusable;
    const std::vector<FailureState> states = {
        {"broken description", 0, [this] { vzt::DescribeOnce(*procedure, Arguments()); }, false,
         kUnusable, 0},
        {"no room for the guards", kGuards, Nothing, false, kUnusable, 0},
        {"no room for the solver flags", kSolverFlags, Nothing, false, kUnusable, 0},
        {"no room for the value buffer", kValueBuffer, Nothing, false, kUnusable, 0},
        {"no room for the element list", kElementList, Nothing, false, kUnusable, 0},
        {"no room for the derivative blocks", kDerivativeBlock, Nothing, false, kUnusable, 1},
        {"no room for any derivative block", kDerivativeBlock, Nothing, true, kUnusable, 1},
        {"no room for the index arrays", 0, Nothing, true, kUnusable, 1},
        {"the routine fails", 0, [] { spy.ifail = 3; }, false, -3, 1},
        {"null routine", 0, [] { vzt::RegisterRoutine("VARudaduro", "INTERP", nullptr); }, false,
         kUnusable, 1},
        {"no routine library", 0,
         [] {
             vzt::ClearRoutines();
             vzt::SetRoutineDirectory("/nonexistent");
         },
         false, -1, 1},
    };
    const std::vector<double> failedRow = {1, 0, 0, 0, 0, 0};
    for (const FailureState& state : states) {
        for (const Evaluation evaluation : {Evaluation::Residuals, Evaluation::Jacobian}) {
            SCOPED_TRACE(std::string(state.what) +
                         (evaluation == Evaluation::Residuals ? ", Residuals" : ", Jacobian"));
            ResetProcedures();
            const std::size_t failures = vzt::Allocator().failedAllocations;
            Build({}, true, state.failAtBuild);
            ASSERT_EQ(vzt::Allocator().failedAllocations - failures,
                      state.failAtBuild != 0 ? 1u : 0u);
            state.arrange();

            // What the host is told equals what is registered.
            const vzt::ProcedureEquations told =
                vzt::SetUpProcedure(*procedure, *owner, 3, "CALL1");
            EXPECT_EQ(told.equations, state.rows);
            EXPECT_EQ(told.nonZeros, 6 * state.rows);
            EXPECT_EQ(int(vzt::Equations(*owner).EquationCount()), state.rows);
            std::size_t terms = 0;
            for (std::size_t e = 0; e < vzt::Equations(*owner).EquationCount(); ++e) {
                terms += vzt::Equations(*owner).Equation(e).tokenCount;
            }
            EXPECT_EQ(int(terms), told.nonZeros);
            ASSERT_EQ(owner->ProcedureCalls().size(), 1u);

            std::vector<double> entries(16, -7.0);
            int index = 2;
            vzt::FailAllAllocations(state.failEveryAllocation);
            const int status = evaluation == Evaluation::Residuals
                                   ? procedure->Residuals(entries.data(), index)
                                   : procedure->Jacobian(entries.data(), index);
            vzt::FailAllAllocations(false);
            EXPECT_EQ(status, state.status);
            EXPECT_TRUE(spy.calls.size() <= (state.status == -3 ? 1u : 0u));
            const int advance = evaluation == Evaluation::Residuals ? state.rows : 6 * state.rows;
            EXPECT_EQ(index, 2 + advance);
            std::vector<double> expected(16, -7.0);
            if (evaluation == Evaluation::Jacobian && state.rows > 0) {
                std::copy(failedRow.begin(), failedRow.end(), expected.begin() + 2);
            }
            EXPECT_EQ(entries, expected);
        }
    }
}

} // namespace
} // namespace proctest
