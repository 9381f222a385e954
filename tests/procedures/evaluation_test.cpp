// When the routine runs, what it is given, and what the residual and the Jacobian row make
// of what it leaves.
#include <cmath>
#include <cstring>
#include <numeric>

#include "procedure_fixture.h"

namespace proctest {
namespace {

using ChangeDetection = ProcedureTest;

// One call per evaluation sequence unless an input changed: a scalar, an array element,
// a NaN (which never equals itself); a zero of the other sign is no change. A skipped call
// keeps the computed output: the residual y - f follows the output variable alone.
TEST_F(ChangeDetection, TheRoutineRunsOnlyWhenAnInputChanged) {
    struct Step {
        const char* what;
        std::function<void()> change;
        std::size_t callsAfter;
    };
    Build({.x = 0.0, .X = {0, 1, 2}, .Y = {0, 10, 20}});
    spy.f = 3.0;
    const std::vector<Step> steps = {
        {"first evaluation", [] {}, 1},
        {"unchanged", [] {}, 1},
        {"x changed", [this] { SetValue(*x, 0.25); }, 2},
        {"X(2) changed", [this] { SetValue(*X[1], 1.5); }, 3},
        {"Y(3) changed", [this] { SetValue(*Y[2], -4.0); }, 4},
        {"unchanged again", [] {}, 4},
        {"x NaN", [this] { SetValue(*x, std::nan("")); }, 5},
        {"x still NaN", [] {}, 6},
        {"x +0", [this] { SetValue(*x, 0.0); }, 7},
        {"x -0", [this] { SetValue(*x, -0.0); }, 7},
        {"the output changed", [this] { SetValue(*y, 5.5); }, 7},
        {"always call", [] { vzt::Procedures().alwaysCall = true; }, 8},
        {"always call again", [] {}, 9},
    };
    double r = 0.0;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change();
        EXPECT_GE(Residual(r), 0);
        EXPECT_EQ(spy.calls.size(), step.callsAfter);
        EXPECT_EQ(r, vzt::AsReal(vzt::Current(*y)) - 3.0);
    }
}

using RoutineInterface = ProcedureTest;

// The buffer holds x, X, Y, n and y in 8-byte slots, its offsets counted from the host's
// base index; the integer n takes the first four bytes of its slot. A constant or a variable
// for x and for n gives the routine the same columns, and the storing pass lists the
// by-reference inputs and then the output. The routine gets one dense block with 1-based
// indices, and copies of the sizes, the offsets and the counts: what it writes over them
// changes nothing for later calls, and only the host's own int keeps what the routine wrote.
TEST_F(RoutineInterface, TheRoutineSeesTheLayoutAndItsOwnCopies) {
    struct Case {
        int n1, n2, base;
        bool xConstant, countVariable;
    };
    for (const Case c : {Case{5, 7, 1, false, true}, Case{0, 3, 0, true, false}}) {
        SCOPED_TRACE(c.base);
        ResetProcedures();
        vzt::Procedures().languageBase = c.base;
        Build({.X = std::vector<double>(c.n1),
               .Y = std::vector<double>(c.n2),
               .xConstant = c.xConstant,
               .countVariable = c.countVariable,
               .count = -7});
        const int columns = 2 + c.n1 + c.n2;
        const int solverInputs = c.n1 + c.n2 + (c.xConstant ? 0 : 1);
        // One FinalizeConstruction, in the building pass, with the output's slot and the
        // total; the derivative blocks are made with the building pass's counts.
        EXPECT_EQ(LogLines("FinalizeConstruction"),
                  std::vector<std::string>{"FinalizeConstruction " + std::to_string(columns) + " " +
                                           std::to_string(columns + 1)});
        const std::string counts = std::to_string(solverInputs + (c.countVariable ? 1 : 0)) + " " +
                                   std::to_string(columns) + " 1 " + std::to_string(solverInputs);
        EXPECT_EQ(LogLines("HandleDerivatives"),
                  std::vector<std::string>{"HandleDerivatives false " + counts});
        EXPECT_EQ(SetUpEquations(), 1 + solverInputs);
        EXPECT_EQ(procedure->OutputVar(0), y);
        std::vector<int> offsets = {0, 1, 1 + c.n1, 1 + c.n1 + c.n2, columns};
        for (int k = 0; k < 5; ++k) {
            EXPECT_EQ(procedure->GetOffset(k), offsets[k]) << k;
            offsets[k] += c.base;
        }
        std::vector<int> cols(std::size_t(columns), 0);
        std::iota(cols.begin(), cols.end(), 1);

        spy.scribble = true;
        double r = 0.0;
        ASSERT_EQ(Residual(r), 0);
        ASSERT_EQ(procedure->Precall(false), 0);
        ASSERT_EQ(spy.calls.size(), 2u);
        for (const RoutineCall& call : spy.calls) {
            EXPECT_EQ(call.dims, (std::vector<int>{c.n1, c.n2, 0}));
            EXPECT_EQ(call.outputDim, 0);
            EXPECT_EQ(call.offsets, offsets);
            EXPECT_TRUE(call.outputOffsetFollowsInputs);
            EXPECT_EQ(call.nonZeros, columns);
            EXPECT_EQ(call.rows, std::vector<int>(cols.size(), 1));
            EXPECT_EQ(call.cols, cols);
            EXPECT_EQ(call.hostInt2, 5); // SetMode's value
        }
        EXPECT_EQ(spy.calls[0].callType, 4);
        EXPECT_EQ(spy.calls[1].callType, 1);
        EXPECT_EQ(spy.calls[0].hostInt, 0);
        EXPECT_EQ(spy.calls[1].hostInt, 77);
        // A precall finds the derivatives cleared.
        EXPECT_EQ(spy.calls[1].derivativesOnEntry, std::vector<double>(cols.size(), 0.0));
        EXPECT_EQ(LogLines("CheckIFailAndOutputs"),
                  (std::vector<std::string>{"CheckIFailAndOutputs 0 4 true",
                                            "CheckIFailAndOutputs 0 1 false"}));
        EXPECT_EQ(spy.calls[0].values[0], 0.5);
        int n[2] = {};
        std::memcpy(n, &spy.calls[0].values[std::size_t(columns - 1)], sizeof n);
        EXPECT_EQ(n[0], -7);
        EXPECT_EQ(n[1], 0);
    }
}

// The host's services around the call, in order, and the properties call around the routine.
TEST_F(RoutineInterface, TheCallStepsComeInOrder) {
    Build({});
    ResetProcedures();
    vzt::Procedures().componentList = true;
    double r = 0.0;
    ASSERT_EQ(Residual(r), 0);
    const std::vector<std::string> expected = {
        "LastCall 4 false",
        "PackRealArray 1",
        "PackRealArray 1",
        "PresetOutputs",
        "EnsureCompatibleDLLLoaded 4",
        "ComponentListName",
        "BeginPropertiesCall",
        "GetProcedure13Address",
        "routine 4",
        "ComponentListName",
        "EndPropertiesCall",
        "CheckIFailAndOutputs 0 4 true",
        "LastCall 0 false",
        "LastCall 4 true",
        "PostsetInputs",
        "LastCall 4 true",
        "HandleDerivatives true 5 6 1 5",
    };
    EXPECT_EQ(vzt::ProcedureLog(), expected);
}

// A failure the routine reports goes to the host's check; one before the call reaches
// neither. Either way the output's residual is skipped, and the next evaluation calls again,
// whatever the host says of the last call.
TEST_F(RoutineInterface, FailuresCallNoRoutineOrAreReported) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        int status;
        std::size_t calls;
    };
    const std::vector<Case> cases = {
        {"no routine library",
         [] {
             vzt::ClearRoutines();
             vzt::SetRoutineDirectory("/nonexistent");
         },
         -1, 0},
        {"no routine address", [] { vzt::RegisterRoutine("VARudaduro", "INTERP", nullptr); },
         pellorin::kProcedureUnusable, 0},
        {"the routine fails", [] { spy.ifail = 3; }, -3, 1},
        {"the routine leaves ifail", [] { spy.leaveIFail = true; }, -1, 1},
        {"no room for the index arrays", [] { vzt::FailAllocation(1); },
         pellorin::kProcedureUnusable, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ResetProcedures();
        Build({});
        c.arrange();
        double r = 7.0;
        int index = 0;
        EXPECT_EQ(procedure->Residuals(&r, index), c.status);
        EXPECT_EQ(index, 1);
        EXPECT_EQ(r, 7.0);
        EXPECT_EQ(spy.calls.size(), c.calls);
        EXPECT_EQ(std::size_t(vzt::RoutineChecks()), c.calls);
        EXPECT_EQ(vzt::LastIFail(), c.calls == 0 ? 0 : -c.status);

        ResetProcedures();
        vzt::Procedures().forceLastCall = true;
        vzt::Procedures().forcedLastCall = QV_ProcedureType::CallWithDerivatives;
        spy = {};
        EXPECT_EQ(Residual(r), 0);
        EXPECT_EQ(spy.calls.size(), 1u);
    }
}

using ResidualsAndJacobian = ProcedureTest;

// The call's one equation [1], in its group, has a term for y and one for each input element
// that is a solver variable, in column order; a structure owner gets the same, with the host's
// counts passed through. Entry p of the routine's block is derivative 100 + p, and the row
// holds 1 for y and the negated derivatives of the same inputs. One call serves the residual
// and every row until an input changes; a failing call still writes the row's entries.
TEST_F(ResidualsAndJacobian, TheEquationAndItsRowTakeEachSolverInputFromOneCall) {
    Build({.X = {0, 1, 2}, .xConstant = true, .nonSolver1 = {1}});
    EXPECT_EQ(SetUpEquations(), 1 + 4);
    ASSERT_EQ(vzt::Equations(*owner).EquationCount(), 1u);
    const QV_EquationView eq = vzt::Equations(*owner).Equation(0);
    EXPECT_STREQ(eq.name, "[1]");
    EXPECT_EQ(eq.group, 3);
    std::vector<const QV_VarParam*> terms;
    for (std::size_t t = 0; t < eq.tokenCount; ++t) {
        terms.push_back(eq.tokens[t].term);
    }
    // Columns: x 0 (constant), X 1..3 (X(2) not a solver variable), Y 4..5, n 6.
    EXPECT_EQ(terms, (std::vector<const QV_VarParam*>{y, X[0], X[2], Y[0], Y[1]}));
    EXPECT_EQ(LogLines("AddProcExpression"),
              std::vector<std::string>{"AddProcExpression procedure 1 0 CALL1"});
    ASSERT_EQ(owner->ProcedureCalls().size(), 1u);
    EXPECT_EQ(owner->ProcedureCalls()[0].procedure, procedure.get());
    EXPECT_EQ(owner->ProcedureCalls()[0].group, 3);

    QV_StructureTypeEx structure;
    int equations = 4, counter = 11;
    int *rows = nullptr, *cols = nullptr;
    EXPECT_EQ(procedure->NZAndEqnContribution(&structure, 2, equations), 5);
    EXPECT_EQ(equations, 5);
    procedure->CreateEquationsAndSetGroup(2, 0, rows, cols, counter, &structure, "S", 0);
    EXPECT_EQ(counter, 12);
    ASSERT_EQ(vzt::Equations(structure).EquationCount(), 1u);
    EXPECT_EQ(vzt::Equations(structure).Equation(0).counter, 11);
    EXPECT_EQ(vzt::Equations(structure).Equation(0).tokenCount, 5u);
    EXPECT_EQ(structure.ProcedureCalls().size(), 1u);

    double r = 0.0;
    ASSERT_EQ(Residual(r), 0);
    const std::vector<double> row = {1.0, -101.0, -103.0, -104.0, -105.0};
    int status = 0;
    EXPECT_EQ(JacobianRow(status), row);
    EXPECT_EQ(JacobianRow(status), row);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(spy.calls.size(), 1u);
    SetValue(*X[0], 0.9);
    spy.ifail = 2;
    EXPECT_EQ(JacobianRow(status).size(), 5u);
    EXPECT_EQ(status, -2);
    EXPECT_EQ(spy.calls.size(), 2u);
}

} // namespace
} // namespace proctest
