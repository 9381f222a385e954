// When the routine runs, what it is given, and what the residual and the Jacobian row make
// of what it leaves.
#include <cmath>
#include <limits>

#include "procedure_fixture.h"

namespace proctest {
namespace {

using ChangeDetection = ProcedureTest;

// One call per evaluation sequence unless an input changed: a scalar, an array element,
// a NaN (which never equals itself); a zero of the other sign is no change.
TEST_F(ChangeDetection, TheRoutineRunsOnlyWhenAnInputChanged) {
    struct Step {
        const char* what;
        std::function<void(ProcedureTest&)> change;
        std::size_t callsAfter;
    };
    Build({.n1 = 3, .n2 = 3, .count = 3});
    SetValue(*x, 0.0);
    const std::vector<Step> steps = {
        {"first evaluation", [](ProcedureTest&) {}, 1},
        {"unchanged", [](ProcedureTest&) {}, 1},
        {"x changed", [](ProcedureTest& t) { t.SetValue(*t.x, 0.25); }, 2},
        {"X(2) changed", [](ProcedureTest& t) { t.SetValue(*t.table1[1], 1.5); }, 3},
        {"Y(3) changed", [](ProcedureTest& t) { t.SetValue(*t.table2[2], -4.0); }, 4},
        {"unchanged again", [](ProcedureTest&) {}, 4},
        {"x NaN", [](ProcedureTest& t) { t.SetValue(*t.x, std::nan("")); }, 5},
        {"x still NaN", [](ProcedureTest&) {}, 6},
        {"x +0", [](ProcedureTest& t) { t.SetValue(*t.x, 0.0); }, 7},
        {"x -0", [](ProcedureTest& t) { t.SetValue(*t.x, -0.0); }, 7},
        {"the output changed", [](ProcedureTest& t) { t.SetValue(*t.y, 9.0); }, 7},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.change(*this);
        double r = 0.0;
        EXPECT_GE(Residual(r), 0);
        EXPECT_EQ(Spy::Instance().calls.size(), step.callsAfter);
    }
    vzt::Procedures().alwaysCall = true;
    double r = 0.0;
    Residual(r);
    Residual(r);
    EXPECT_EQ(Spy::Instance().calls.size(), 9u);
}

// A skipped call leaves the computed output in place: the residual follows the output
// variable alone.
TEST_F(ChangeDetection, ASkippedCallKeepsTheComputedOutput) {
    Build({.count = 3});
    Spy::Instance().behaviour.f = 3.0;
    SetValue(*y, 5.0);
    double r = 0.0;
    ASSERT_EQ(Residual(r), 0);
    EXPECT_EQ(r, 2.0); // y - f, not f - y
    SetValue(*y, 5.5);
    ASSERT_EQ(Residual(r), 0);
    EXPECT_EQ(r, 2.5);
    EXPECT_EQ(Spy::Instance().calls.size(), 1u);
}

using RoutineInterface = ProcedureTest;

TEST_F(RoutineInterface, TheRoutineSeesTheLayoutAndItsOwnCopies) {
    for (const int base : {0, 1}) {
        SCOPED_TRACE(base);
        vzt::ResetProcedures();
        vzt::RegisterRoutine("VARudaduro", "INTERP", &SpyRoutine);
        vzt::Procedures().languageBase = base;
        Build({.n1 = 3, .n2 = 2, .count = 2});
        double r = 0.0;
        ASSERT_EQ(Residual(r), 0);
        ASSERT_EQ(procedure->Precall(false), 0);
        const std::vector<RoutineCall>& calls = Spy::Instance().calls;
        ASSERT_EQ(calls.size(), 2u);
        const RoutineCall& c = calls[0];
        EXPECT_EQ(c.callType, 4);
        EXPECT_EQ(calls[1].callType, 1);
        EXPECT_EQ(c.valuesIn, c.valuesOut);
        EXPECT_EQ(c.valuesIn, procedure->ValueBuffer());
        EXPECT_EQ(c.dims[0], 3);
        EXPECT_EQ(c.dims[1], 2);
        EXPECT_EQ(c.outputDim, 0);
        EXPECT_EQ(std::vector<int>(c.offsets, c.offsets + 5),
                  (std::vector<int>{base, base + 1, base + 4, base + 6, base + 7}));
        EXPECT_TRUE(c.outputOffsetFollowsInputs);
        EXPECT_EQ(c.outputOffset, base + 7);
        EXPECT_EQ(c.nonZeros, 7);
        EXPECT_EQ(c.rows, std::vector<int>(7, 1));
        EXPECT_EQ(c.cols, (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));
        EXPECT_EQ(c.ifailOnEntry, 1);
        EXPECT_EQ(c.hostInt2, 5); // SetMode's value
        // The host's int keeps what the routine wrote; the copies it was given do not.
        EXPECT_EQ(c.hostInt, 0);
        EXPECT_EQ(calls[1].hostInt, 77);
        EXPECT_EQ(calls[1].hostInt2, 5);
        // A precall finds the derivatives cleared.
        EXPECT_EQ(calls[1].derivativesOnEntry, std::vector<double>(7, 0.0));
        EXPECT_EQ(LogLines("CheckIFailAndOutputs"),
                  (std::vector<std::string>{"CheckIFailAndOutputs 0 4 true",
                                            "CheckIFailAndOutputs 0 1 false"}));
    }
}

// The host's services around the call, in order, and the properties call around the routine.
TEST_F(RoutineInterface, TheCallStepsComeInOrder) {
    vzt::Procedures().componentList = true;
    Build({.n1 = 2, .n2 = 2, .count = 2});
    vzt::ResetProcedures();
    vzt::RegisterRoutine("VARudaduro", "INTERP", &SpyRoutine);
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

TEST_F(RoutineInterface, FailuresCallNoRoutineOrAreReported) {
    struct Case {
        const char* what;
        std::function<void(ProcedureTest&)> arrange;
        int status;
        std::size_t calls;
        std::size_t checks;
    };
    const std::vector<Case> cases = {
        {"no routine library",
         [](ProcedureTest&) {
             vzt::ClearRoutines();
             vzt::SetRoutineDirectory("/nonexistent");
         },
         -1, 0, 0},
        {"no routine address",
         [](ProcedureTest&) { vzt::RegisterRoutine("VARudaduro", "INTERP", nullptr); },
         pellorin::kProcedureUnusable, 0, 0},
        {"the routine fails", [](ProcedureTest&) { Spy::Instance().behaviour.ifail = 3; }, -3, 1,
         1},
        {"the routine leaves ifail",
         [](ProcedureTest&) { Spy::Instance().behaviour.leaveIFail = true; }, -1, 1, 1},
        {"no room for the index arrays", [](ProcedureTest&) { vzt::FailAllocation(1); },
         pellorin::kProcedureUnusable, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Build({.n1 = 2, .n2 = 2, .count = 2});
        c.arrange(*this);
        double residuals[2] = {7.0, 7.0};
        int index = 0;
        EXPECT_EQ(procedure->Residuals(residuals, index), c.status);
        EXPECT_EQ(index, 1);
        EXPECT_EQ(residuals[0], 7.0);
        EXPECT_EQ(Spy::Instance().calls.size(), c.calls);
        EXPECT_EQ(std::size_t(vzt::RoutineChecks()), c.checks);
        if (c.checks == 1) {
            EXPECT_EQ(LogLines("CheckIFailAndOutputs").back(),
                      "CheckIFailAndOutputs " + std::to_string(-c.status) + " 4 true");
        } else {
            EXPECT_TRUE(LogLines("BeginPropertiesCall").empty());
        }
        // A failed call is made again, whatever the host says of the last call.
        vzt::FailAllocation(0);
        vzt::ResetProcedures();
        vzt::RegisterRoutine("VARudaduro", "INTERP", &SpyRoutine);
        vzt::Procedures().forceLastCall = true;
        vzt::Procedures().forcedLastCall = QV_ProcedureType::CallWithDerivatives;
        Spy::Instance().Reset(procedure->ValueSlots());
        EXPECT_EQ(procedure->Residuals(residuals, index), 0);
        EXPECT_EQ(Spy::Instance().calls.size(), 1u);
        vzt::ResetProcedures();
        vzt::RegisterRoutine("VARudaduro", "INTERP", &SpyRoutine);
    }
}

// A routine that writes over the sizes, the offsets and the nonzero count it was given
// changes nothing for later calls.
TEST_F(RoutineInterface, ARoutineCannotChangeTheLayout) {
    Build({.n1 = 3, .n2 = 3, .count = 2});
    Spy::Instance().behaviour.scribble = true;
    double r = 0.0;
    ASSERT_EQ(Residual(r), 0);
    SetValue(*x, 0.75);
    ASSERT_EQ(Residual(r), 0);
    const RoutineCall& second = Spy::Instance().calls.at(1);
    EXPECT_EQ(second.dims[0], 3);
    EXPECT_EQ(second.offsets[4], 8);
    EXPECT_EQ(second.nonZeros, 8);
    EXPECT_EQ(second.values[0], 0.75);
    EXPECT_EQ(procedure->GetOffset(2), 4);
}

using ResidualsAndJacobian = ProcedureTest;

// Entry p of the routine's block is derivative 100 + p; the row holds 1 for y and then the
// negated derivative of each input element that is a solver variable, in column order.
TEST_F(ResidualsAndJacobian, TheRowTakesEachSolverInputsColumn) {
    Build({.n1 = 3, .n2 = 2, .xConstant = true, .count = 2, .nonSolver1 = {1}});
    EXPECT_EQ(SetUpEquations(), 1 + 4);
    int status = 0;
    const std::vector<double> row = JacobianRow(status);
    EXPECT_EQ(status, 0);
    // Columns: x 0 (constant), X 1..3 (X(2) not a solver variable), Y 4..5, n 6.
    EXPECT_EQ(row, (std::vector<double>{1.0, -101.0, -103.0, -104.0, -105.0}));
    // The equation's terms follow the same order.
    const QV_EquationView eq = owner->Equations().Equation(0);
    std::vector<const QV_VarParam*> terms;
    for (std::size_t t = 0; t < eq.tokenCount; ++t) {
        terms.push_back(eq.tokens[t].term);
    }
    EXPECT_EQ(terms, (std::vector<const QV_VarParam*>{y.get(), table1[0].get(), table1[2].get(),
                                                      table2[0].get(), table2[1].get()}));
}

// Residuals, then two Jacobians with the same inputs: one call, the same values each time.
// A failing call still writes the row's entries, and the next evaluation calls again.
TEST_F(ResidualsAndJacobian, OneCallServesAllUntilAnInputChangesOrTheCallFails) {
    Build({.n1 = 2, .n2 = 2, .count = 2});
    SetUpEquations();
    double r = 0.0;
    ASSERT_EQ(Residual(r), 0);
    for (int repeat = 0; repeat < 2; ++repeat) {
        int status = 0;
        EXPECT_EQ(JacobianRow(status),
                  (std::vector<double>{1.0, -100.0, -101.0, -102.0, -103.0, -104.0}));
        EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(Spy::Instance().calls.size(), 1u);
    SetValue(*x, 0.9);
    Spy::Instance().behaviour.ifail = 2;
    int status = 0;
    EXPECT_EQ(JacobianRow(status).size(), 6u);
    EXPECT_EQ(status, -2);
    Spy::Instance().behaviour.ifail = 0;
    EXPECT_EQ(Residual(r), 0);
    EXPECT_EQ(Spy::Instance().calls.size(), 3u);
}

// One equation [1] per call, with the host's numbers passed through, its terms, and the
// call registered; the structure owner gets the same.
TEST_F(ResidualsAndJacobian, TheEquationIsNamedAndItsCallRegistered) {
    Build({.n1 = 2, .n2 = 2, .count = 2});
    int equations = 4;
    EXPECT_EQ(procedure->NZAndEqnContribution(owner.get(), 6, equations), 6);
    EXPECT_EQ(equations, 5);
    int* rows = nullptr;
    int* cols = nullptr;
    int counter = 11;
    procedure->CreateEquationsAndSetGroup(6, 21, rows, cols, counter, owner.get(), "CALLX", 22);
    EXPECT_EQ(counter, 12);
    ASSERT_EQ(owner->Equations().EquationCount(), 1u);
    const QV_EquationView eq = owner->Equations().Equation(0);
    EXPECT_STREQ(eq.name, "[1]");
    EXPECT_EQ(eq.group, 6);
    EXPECT_EQ(eq.counter, 11);
    EXPECT_EQ(eq.tokenCount, 6u);
    EXPECT_EQ(LogLines("AddProcExpression"),
              std::vector<std::string>{"AddProcExpression procedure 1 11 CALLX"});
    ASSERT_EQ(owner->ProcedureCalls().size(), 1u);
    EXPECT_EQ(owner->ProcedureCalls()[0].procedure, procedure.get());
    EXPECT_EQ(owner->ProcedureCalls()[0].group, 6);

    QV_StructureTypeEx structure;
    counter = 0;
    equations = 0;
    EXPECT_EQ(procedure->NZAndEqnContribution(&structure, 2, equations), 6);
    procedure->CreateEquationsAndSetGroup(2, 0, rows, cols, counter, &structure, "S", 0);
    ASSERT_EQ(structure.Equations().EquationCount(), 1u);
    EXPECT_STREQ(structure.Equations().Equation(0).name, "[1]");
    EXPECT_EQ(structure.Equations().Equation(0).tokenCount, 6u);
    EXPECT_EQ(structure.ProcedureCalls().size(), 1u);
}

} // namespace
} // namespace proctest
