// What the equation walker reads from a distribution and its domains. A distribution type
// implements this over its own members; tests implement it over plain objects. Every value
// is asked for when the walk reaches it, never cached by the walker. A direction is 0 (x),
// 1 (y) or 2 (z); a section s is counted from 1.
#pragma once

#include <cstdint>

class QV_SetValue;
class QV_VarParam;

namespace pellorin::eqn {

enum class WalkKind { SetUp, Expressions };

class EquationContext {
public:
    virtual ~EquationContext() = default;

    // Called once before each walk: SetUpEquations reads values through the plain accessors,
    // JacPattern through the others.
    virtual void BeginWalk(WalkKind) {}

    // The distribution's own values.
    virtual int UsedOrder(int direction) = 0;     // HIGHESTORDER<D>DERIVATIVEUSED
    virtual int DeclaredOrder(int direction) = 0; // HIGHESTORDER<D>DERIVATIVE
    virtual bool IntegralRequested(int integral) = 0;

    // Each direction's domain.
    virtual const char* Method(int direction) = 0;          // null reads as no method
    virtual const char* ElementBoundary(int direction) = 0; // null reads as none
    virtual int SectionCount(int direction) = 0;
    virtual int PolyPoints(int direction) = 0;
    virtual int EndNode(int direction) = 0;
    virtual const QV_SetValue* Interior(int direction) = 0; // null when there is none

    // Whether section s of the direction's domain can be had: a walk ends at the first that
    // cannot (the host has no memory for it), rather than go on over nothing.
    virtual bool HasSection(int, int) { return true; }
    virtual int Base(int direction, int s) = 0;
    virtual int NodeCount(int direction, int s) = 0;
    virtual int ElementCount(int direction, int s) = 0;
    virtual double ElementLengthValue(int direction, int s) = 0; // NaN for no such section

    // The objects that stand as terms; null when there is none (an index outside the
    // array's declared sets included), which ends the walk. `index` has one entry per
    // direction of the distribution.
    virtual QV_VarParam* ArrayElement(int array, const int* index) = 0;
    virtual QV_VarParam* SectionParameter(int direction, int parameter, int s) = 0;

    // Whether the array has an element at `index` and at every index that differs from it
    // only in direction `along`, up to `last` there (on either side of index[along]); `index`
    // has an entry for every direction, used or not. A context that knows the declared sets
    // answers from them; this one asks for each element.
    virtual bool ArrayCovers(int array, const int* index, int along, int last) {
        int at[3] = {index[0], index[1], index[2]};
        const int step = last < index[along] ? -1 : 1;
        for (at[along] = index[along];; at[along] += step) {
            if (ArrayElement(array, at) == nullptr) {
                return false;
            }
            if (at[along] == last) {
                return true;
            }
        }
    }

    // Whether the declared set along the direction of every array of the mask (bit k for
    // array k) is a run of consecutive integers: such an array that has elements at two
    // indices differing only there has one at every index between them. This one does not
    // know.
    virtual bool ArraysAreRunsAlong(int, std::uint32_t) { return false; }
};

} // namespace pellorin::eqn
