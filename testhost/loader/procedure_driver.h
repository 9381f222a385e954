// Drives a procedure as the host does where a model calls it: two descriptions of its
// arguments, its equations in the owner, then its evaluations.
#pragma once

#include <string>
#include <vector>

#include <vuzizev/procedure.h>
#include <vuzizev/vuzizev.h>

namespace vzt {

// What one argument of a call is bound to.
struct ProcedureArgument {
    enum class Kind { Real, Integer, Text, Variable, Array };
    Kind kind = Kind::Real;
    double real = 0.0;
    int integer = 0;
    std::string text;
    std::vector<QV_VarParam*> elements; // one for a variable; an array's, in order

    static ProcedureArgument Real(double value);
    static ProcedureArgument Integer(int value);
    static ProcedureArgument Text(std::string value);
    static ProcedureArgument Variable(QV_VarParam& variable);
    static ProcedureArgument Array(std::vector<QV_VarParam*> elements);
};

// One description: an Argument call per argument; an array's size and elements after it;
// LastArgument at the end.
void DescribeOnce(QV_DynamicProcExtensions& procedure, const std::vector<ProcedureArgument>& args);
// Both descriptions, the building pass and the storing pass.
void Describe(QV_DynamicProcExtensions& procedure, const std::vector<ProcedureArgument>& args);

struct ProcedureEquations {
    int nonZeros = 0;  // what the sizing step returned
    int equations = 0; // equations it counted
    int counter = 0;   // the owner's equation counter afterwards
};

// The sizing step, then the equations, in group `group` of owner.
ProcedureEquations SetUpProcedure(QV_DynamicProcExtensions& procedure, QV_ModelTypeEx& owner,
                                  int group, const char* callName);

} // namespace vzt
