#include "procedure_driver.h"

#include <utility>

namespace vzt {

ProcedureArgument ProcedureArgument::Real(double value) {
    ProcedureArgument a;
    a.kind = Kind::Real;
    a.real = value;
    return a;
}

ProcedureArgument ProcedureArgument::Integer(int value) {
    ProcedureArgument a;
    a.kind = Kind::Integer;
    a.integer = value;
    return a;
}

ProcedureArgument ProcedureArgument::Text(std::string value) {
    ProcedureArgument a;
    a.kind = Kind::Text;
    a.text = std::move(value);
    return a;
}

ProcedureArgument ProcedureArgument::Variable(QV_VarParam& variable) {
    ProcedureArgument a;
    a.kind = Kind::Variable;
    a.elements = {&variable};
    return a;
}

ProcedureArgument ProcedureArgument::Array(std::vector<QV_VarParam*> elements) {
    ProcedureArgument a;
    a.kind = Kind::Array;
    a.elements = std::move(elements);
    return a;
}

void DescribeOnce(QV_DynamicProcExtensions& procedure, const std::vector<ProcedureArgument>& args) {
    for (const ProcedureArgument& a : args) {
        switch (a.kind) {
        case ProcedureArgument::Kind::Real:
            procedure.Argument(a.real);
            break;
        case ProcedureArgument::Kind::Integer:
            procedure.Argument(a.integer);
            break;
        case ProcedureArgument::Kind::Text:
            procedure.Argument(a.text.c_str());
            break;
        case ProcedureArgument::Kind::Variable:
            procedure.Argument(*a.elements.front());
            break;
        case ProcedureArgument::Kind::Array:
            procedure.Argument();
            procedure.SetDimensionSize(int(a.elements.size()));
            for (QV_VarParam* element : a.elements) {
                procedure.Element(*element);
            }
            break;
        }
    }
    procedure.LastArgument();
}

void Describe(QV_DynamicProcExtensions& procedure, const std::vector<ProcedureArgument>& args) {
    DescribeOnce(procedure, args);
    DescribeOnce(procedure, args);
}

ProcedureEquations SetUpProcedure(QV_DynamicProcExtensions& procedure, QV_ModelTypeEx& owner,
                                  int group, const char* callName) {
    ProcedureEquations result;
    result.nonZeros = procedure.NZAndEqnContribution(&owner, group, result.equations);
    int* rows = nullptr;
    int* cols = nullptr;
    procedure.CreateEquationsAndSetGroup(group, 0, rows, cols, result.counter, &owner, callName, 0);
    return result;
}

} // namespace vzt
