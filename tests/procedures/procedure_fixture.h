// A model that calls INTERPOLATE(x, X, Y, n) = y on a clean stand-in host, with a spying
// routine in place of INTERP that records what it saw and writes what a test asks for.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <standin/procedure_testing.h>

#include "procedure_driver.h"
#include "procedures/interpolate/interpolate.h"
#include "support/host_fixture.h"

namespace proctest {

// What the routine found when it was called.
struct RoutineCall {
    int callType = 0;
    std::vector<double> values; // the value buffer up to the output's slot
    std::vector<int> dims, offsets;
    int outputDim = 0;
    bool outputOffsetFollowsInputs = false; // parameter 7 is parameter 6 + 4
    int hostInt = 0;
    int hostInt2 = 0;
    int nonZeros = 0;
    std::vector<int> rows, cols;
    std::vector<double> derivativesOnEntry;
};

// The spy writes f and derivative k = 100 + k, sets ifail (unless leaveIFail), and with
// scribble writes over every part of the layout it was given.
struct Spy {
    double f = 0.0;
    int ifail = 0;
    bool leaveIFail = false;
    bool scribble = false;
    std::vector<RoutineCall> calls;
};
inline Spy spy;

// How the arguments are bound, with the first values of x and of the elements of X and Y.
struct Binding {
    double x = 0.5;
    std::vector<double> X = {0, 1}, Y = {0, 10};
    bool xConstant = false;
    bool countVariable = false; // argument 3 an integer variable instead of a constant
    int count = 2;
    std::vector<int> nonSolver1 = {}; // 0-based elements of X that are not solver variables
};

class ProcedureTest : public testsupport::HostTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Clears the host's procedure settings and log; the spy stays registered.
    static void ResetProcedures();

    // Makes the variables and a procedure (dropping any made before) and, with describe,
    // describes it twice; the failAllocation-th allocation of the procedure's fails.
    void Build(const Binding& binding, bool describe = true, std::size_t failAllocation = 0);
    std::vector<vzt::ProcedureArgument> Arguments() const;
    // The sizing step and the equations; returns the sizing step's count.
    int SetUpEquations() { return vzt::SetUpProcedure(*procedure, *owner, 3, "CALL1").nonZeros; }

    static void SetValue(QV_VarParam& v, double value) { vzt::Specify(v, QV_Value(value, 0u)); }
    int Residual(double& r);
    std::vector<double> JacobianRow(int& status);

    Binding binding;
    std::unique_ptr<QV_ModelTypeEx> owner;
    std::unique_ptr<QV_INTEGERPARAMETER> count;
    std::vector<std::unique_ptr<QV_REALVARIABLE>> variables; // y, x, X, Y: a full row's order
    QV_REALVARIABLE *x = nullptr, *y = nullptr;
    std::vector<QV_VarParam*> X, Y;
    std::unique_ptr<QVProc_INTERPOLATE> procedure;
};

// The log lines of the host that start with prefix, in order.
std::vector<std::string> LogLines(const std::string& prefix);

} // namespace proctest
