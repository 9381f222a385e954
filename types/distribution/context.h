// What the equation walker reads from a distribution and its domain. A distribution type
// implements this over its own members; tests implement it over plain objects. Every value
// is asked for when the walk reaches it, never cached by the walker.
#pragma once

#include <span>

class QV_VarParam;

namespace pellorin::eqn {

enum class WalkKind { SetUp, Expressions };

class EquationContext {
public:
    virtual ~EquationContext() = default;

    // Called once before each walk: SetUpEquations reads values through the plain accessors,
    // JacPattern through the others.
    virtual void BeginWalk(WalkKind) {}

    virtual int UsedOrder() = 0;               // HIGHESTORDERXDERIVATIVEUSED
    virtual int DeclaredOrder() = 0;           // HIGHESTORDERXDERIVATIVE
    virtual bool IntegralRequested() = 0;      // "idx" in INTEGRALS
    virtual const char* Method() = 0;          // DISCRETIZATIONMETHOD; null reads as no method
    virtual const char* ElementBoundary() = 0; // ELEMENTBOUNDARYCONDITION; null as none
    virtual int SectionCount() = 0;            // NUMSECTIONS
    virtual int PolyPoints() = 0;              // NUMPOLYPOINTS
    virtual int EndNode() = 0;                 // ENDNODE

    // Section s, counted from 1.
    virtual int Base(int s) = 0;
    virtual int NodeCount(int s) = 0;
    virtual int ElementCount(int s) = 0;
    virtual double ElementLengthValue(int s) = 0; // NaN when there is no such section

    // The objects that stand as terms; null when there is none, which ends the walk.
    virtual QV_VarParam* ArrayElement(int array, std::span<const int> index) = 0;
    virtual QV_VarParam* SectionParameter(int parameter, int s) = 0;
};

} // namespace pellorin::eqn
