#include "procedure_fixture.h"

#include <algorithm>
#include <cstring>

namespace proctest {

Spy& Spy::Instance() {
    static Spy spy;
    return spy;
}

void Spy::Reset(int slotCount) {
    behaviour = SpyBehaviour{};
    calls.clear();
    slots = slotCount;
}

extern "C" void SpyRoutine(int* callType, double* valuesIn, int* dimsIn, double* valuesOut,
                           int* dimsOut, int* offsetsIn, int* offsetsOut, int* hostInt,
                           double* /*hostReals*/, int* hostInt2, int* nonZeros, int* rows,
                           int* cols, int* scratch, double* derivs, int* ifail) {
    Spy& spy = Spy::Instance();
    RoutineCall seen;
    seen.callType = *callType;
    seen.valuesIn = valuesIn;
    seen.valuesOut = valuesOut;
    seen.values.assign(valuesIn, valuesIn + spy.slots);
    std::copy(dimsIn, dimsIn + 3, seen.dims);
    seen.outputDim = *dimsOut;
    std::copy(offsetsIn, offsetsIn + 5, seen.offsets);
    seen.outputOffset = *offsetsOut;
    seen.outputOffsetFollowsInputs = offsetsOut == offsetsIn + 4;
    seen.hostInt = *hostInt;
    seen.hostInt2 = *hostInt2;
    seen.nonZeros = *nonZeros;
    seen.indexArrays = rows != nullptr && cols != nullptr;
    if (seen.indexArrays) {
        seen.rows.assign(rows, rows + *nonZeros);
        seen.cols.assign(cols, cols + *nonZeros);
    }
    if (derivs != nullptr) {
        seen.derivativesOnEntry.assign(derivs, derivs + *nonZeros);
    }
    seen.ifailOnEntry = *ifail;
    spy.calls.push_back(seen);
    vzt::LogProcedureEvent("routine " + std::to_string(*callType));

    const SpyBehaviour& b = spy.behaviour;
    const int base = offsetsIn[0];
    valuesOut[*offsetsOut - base] = b.f;
    for (int k = 0; k < *nonZeros && derivs != nullptr; ++k) {
        derivs[k] = b.derivativeBase + k;
    }
    if (!b.leaveIFail) {
        *ifail = b.ifail;
    }
    *hostInt = 77;
    *callType = -9;
    *hostInt2 = -9;
    *scratch = -9;
    if (b.scribble) {
        dimsIn[0] = dimsIn[1] = dimsIn[2] = 999;
        for (int k = 0; k < 5; ++k) {
            offsetsIn[k] = -5;
        }
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
    x.reset();
    y.reset();
    count.reset();
    table1.clear();
    table2.clear();
    testsupport::HostTest::TearDown();
}

void ProcedureTest::Build(const Binding& b, bool realRoutine) {
    procedure.reset();
    table1.clear();
    table2.clear();
    binding = b;
    if (realRoutine) {
        vzt::ClearRoutines();
        vzt::SetRoutineDirectory(PELLORIN_ROUTINE_DIR);
    }
    owner = std::make_unique<QV_ModelTypeEx>();
    x = std::make_unique<QV_REALVARIABLE>();
    y = std::make_unique<QV_REALVARIABLE>();
    count = std::make_unique<QV_INTEGERPARAMETER>();
    SetValue(*x, 0.5);
    SetValue(*y, 0.0);
    count->Specify(QV_Value(b.count, 0u));
    for (int k = 0; k < b.n1; ++k) {
        table1.push_back(std::make_unique<QV_REALVARIABLE>());
        SetValue(*table1.back(), k);
        if (std::count(b.nonSolver1.begin(), b.nonSolver1.end(), k) != 0) {
            table1.back()->SetSolverVariable(false);
        }
    }
    for (int k = 0; k < b.n2; ++k) {
        table2.push_back(std::make_unique<QV_REALVARIABLE>());
        SetValue(*table2.back(), 10.0 * k);
    }
    procedure.reset(new QVProc_INTERPOLATE(true, 5));
    ASSERT_NE(procedure, nullptr);
    vzt::Describe(*procedure, Arguments());
    Spy::Instance().Reset(procedure->ValueSlots());
}

std::vector<vzt::ProcedureArgument> ProcedureTest::Arguments() const {
    using Arg = vzt::ProcedureArgument;
    std::vector<QV_VarParam*> elements1, elements2;
    for (const auto& e : table1) {
        elements1.push_back(e.get());
    }
    for (const auto& e : table2) {
        elements2.push_back(e.get());
    }
    return {binding.xConstant ? Arg::Real(0.5) : Arg::Variable(*x), Arg::Array(elements1),
            Arg::Array(elements2),
            binding.countVariable ? Arg::Variable(*count) : Arg::Integer(binding.count),
            Arg::Variable(*y)};
}

int ProcedureTest::SetUpEquations(int group) {
    nonZeros = vzt::SetUpProcedure(*procedure, *owner, group, "CALL1").nonZeros;
    return nonZeros;
}

void ProcedureTest::SetValue(QV_VarParam& v, double value) {
    v.Specify(QV_Value(value, 0u));
}

int ProcedureTest::Residual(double& r) {
    int index = 0;
    return procedure->Residuals(&r, index);
}

std::vector<double> ProcedureTest::JacobianRow(int& status) {
    std::vector<double> entries(std::size_t(std::max(nonZeros, 1)) + 8, -12345.0);
    int index = 0;
    status = procedure->Jacobian(entries.data(), index);
    entries.resize(std::size_t(index));
    return entries;
}

std::vector<std::string> LogLines(const std::string& prefix) {
    std::vector<std::string> lines;
    for (const std::string& line : vzt::ProcedureLog()) {
        if (line.rfind(prefix, 0) == 0) {
            lines.push_back(line);
        }
    }
    return lines;
}

} // namespace proctest
