// A model that calls INTERPOLATE(x, X, Y, n) = y on a clean stand-in host, with a spying
// routine in place of INTERP that records what it saw and writes what a test asks for.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <vuzizev/procedure_testing.h>

#include "procedure_driver.h"
#include "procedures/interpolate/interpolate.h"
#include "support/host_fixture.h"

namespace proctest {

// What the routine found when it was called.
struct RoutineCall {
    int callType = 0;
    const double* valuesIn = nullptr;
    const double* valuesOut = nullptr;
    std::vector<double> values; // the value buffer, as many slots as the layout has
    int dims[3] = {};
    int outputDim = 0;
    int offsets[5] = {};
    int outputOffset = 0;
    bool outputOffsetFollowsInputs = false; // parameter 7 is parameter 6 + 4
    int hostInt = 0;
    int hostInt2 = 0;
    int nonZeros = 0;
    bool indexArrays = false;
    std::vector<int> rows, cols;
    std::vector<double> derivativesOnEntry;
    int ifailOnEntry = 0;
};

// What the spy does: write f and derivative k = derivativeBase + k, set ifail (unless
// leaveIFail), and optionally scribble over every parameter it should leave alone.
struct SpyBehaviour {
    double f = 0.0;
    double derivativeBase = 100.0;
    int ifail = 0;
    bool leaveIFail = false;
    bool scribble = false;
};

class Spy {
public:
    static Spy& Instance();
    void Reset(int slots);
    SpyBehaviour behaviour;
    std::vector<RoutineCall> calls;
    int slots = 0;
};

extern "C" void SpyRoutine(int* callType, double* valuesIn, int* dimsIn, double* valuesOut,
                           int* dimsOut, int* offsetsIn, int* offsetsOut, int* hostInt,
                           double* hostReals, int* hostInt2, int* nonZeros, int* rows, int* cols,
                           int* scratch, double* derivs, int* ifail);

// How argument 0 and the arrays are bound.
struct Binding {
    int n1 = 4;
    int n2 = 4;
    bool xConstant = false;
    bool countVariable = false; // argument 3 an integer variable instead of a constant
    int count = 4;
    std::vector<int> nonSolver1 = {}; // 0-based elements of X that are not solver variables
};

class ProcedureTest : public testsupport::HostTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Makes the variables and the procedure (dropping any made before) and describes it
    // twice; uses the real routine library if realRoutine.
    void Build(const Binding& binding, bool realRoutine = false);
    std::vector<vzt::ProcedureArgument> Arguments() const;
    // The sizing step and the equations; returns the sizing step's count.
    int SetUpEquations(int group = 3);

    static void SetValue(QV_VarParam& v, double value);
    int Residual(double& r);
    std::vector<double> JacobianRow(int& status);

public:
    Binding binding;
    std::unique_ptr<QV_ModelTypeEx> owner;
    std::unique_ptr<QV_REALVARIABLE> x, y;
    std::unique_ptr<QV_INTEGERPARAMETER> count;
    std::vector<std::unique_ptr<QV_REALVARIABLE>> table1, table2;
    std::unique_ptr<QVProc_INTERPOLATE> procedure;
    int nonZeros = 0;
};

// The log lines of the host that start with prefix, in order.
std::vector<std::string> LogLines(const std::string& prefix);

} // namespace proctest
