#include "procedure_fixture.h"
#include "standin/host_access.h"

#include <algorithm>
#include <iterator>

namespace proctest {

extern "C" void SpyRoutine(int* callType, double* valuesIn, int* dimsIn, double* valuesOut,
                           int* dimsOut, int* offsetsIn, int* offsetsOut, int* hostInt,
                           double* /*hostReals*/, int* hostInt2, int* nonZeros, int* rows,
                           int* cols, int* scratch, double* derivs, int* ifail) {
    const int n = *nonZeros;
    const auto copy = [](auto* first, int count) { return std::vector(first, first + count); };
    spy.calls.push_back(RoutineCall{*callType, copy(valuesIn, *offsetsOut - offsetsIn[0] + 1),
                                    copy(dimsIn, 3), copy(offsetsIn, 5), *dimsOut,
                                    offsetsOut == offsetsIn + 4, *hostInt, *hostInt2, n,
                                    copy(rows, n), copy(cols, n), copy(derivs, n)});
    vzt::LogProcedureEvent("routine " + std::to_string(*callType));

    valuesOut[*offsetsOut - offsetsIn[0]] = spy.f;
    for (int k = 0; k < *nonZeros && derivs != nullptr; ++k) {
        derivs[k] = 100.0 + k;
    }
    if (!spy.leaveIFail) {
        *ifail = spy.ifail;
    }
    *hostInt = 77;
    *callType = *hostInt2 = *scratch = -9;
    if (spy.scribble) {
        std::fill_n(dimsIn, 3, 999);
        std::fill_n(offsetsIn, 5, -5);
        *nonZeros = 12345;
    }
}

void ProcedureTest::SetUp() {
    testsupport::HostTest::SetUp();
    vzt::RegisterRoutine("VARudaduro", "INTERP", &SpyRoutine);
}

void ProcedureTest::TearDown() {
    procedure.reset();
    owner.reset();
    count.reset();
    variables.clear();
    testsupport::HostTest::TearDown();
}

void ProcedureTest::ResetProcedures() {
    vzt::ResetProcedures();
    vzt::RegisterRoutine("VARudaduro", "INTERP", &SpyRoutine);
}

void ProcedureTest::Build(const Binding& b, bool describe, std::size_t failAllocation) {
    procedure.reset();
    variables.clear();
    X.clear();
    Y.clear();
    binding = b;
    owner = std::make_unique<QV_ModelTypeEx>();
    count = std::make_unique<QV_INTEGERPARAMETER>();
    vzt::Specify(*count, QV_Value(b.count, 0u));
    const auto make = [this](double value) {
        variables.push_back(std::make_unique<QV_REALVARIABLE>());
        SetValue(*variables.back(), value);
        return variables.back().get();
    };
    y = make(0.0);
    x = make(b.x);
    for (const double value : b.X) {
        X.push_back(make(value));
    }
    for (const double value : b.Y) {
        Y.push_back(make(value));
    }
    for (const int k : b.nonSolver1) {
        vzt::SetSolverVariable(*X[std::size_t(k)], false);
    }
    spy = {};
    vzt::FailAllocation(failAllocation);
    procedure.reset(new QVProc_INTERPOLATE(true, 5));
    if (describe && procedure != nullptr) {
        vzt::Describe(*procedure, Arguments());
    }
}

std::vector<vzt::ProcedureArgument> ProcedureTest::Arguments() const {
    using Arg = vzt::ProcedureArgument;
    return {binding.xConstant ? Arg::Real(binding.x) : Arg::Variable(*x), Arg::Array(X),
            Arg::Array(Y),
            binding.countVariable ? Arg::Variable(*count) : Arg::Integer(binding.count),
            Arg::Variable(*y)};
}

int ProcedureTest::Residual(double& r) {
    int index = 0;
    return procedure->Residuals(&r, index);
}

std::vector<double> ProcedureTest::JacobianRow(int& status) {
    std::vector<double> entries(64, -12345.0);
    int index = 0;
    status = procedure->Jacobian(entries.data(), index);
    entries.resize(std::size_t(index));
    return entries;
}

std::vector<std::string> LogLines(const std::string& prefix) {
    std::vector<std::string> lines;
    std::copy_if(vzt::ProcedureLog().begin(), vzt::ProcedureLog().end(), std::back_inserter(lines),
                 [&](const std::string& line) { return line.rfind(prefix, 0) == 0; });
    return lines;
}

} // namespace proctest
