// The two equation walks of a distribution, on one outline:
//   RegisterInstances   (SetUpEquations) each instance's group, then its terms as incidence;
//   RegisterExpressions (JacPattern)     each instance's name and group, then its tokens.
// A type calls them from its equation hooks with its own context and group base.
#pragma once

#include "framework/api.h"
#include "types/distribution/context.h"
#include "types/distribution/outline.h"
#include "types/distribution/walker.h"

class QV_ModelType;
class QV_ModelExtensions;

namespace pellorin::eqn {

// SetGroupLimits(groupBase + own group) and AddNonZero per term, for every instance.
PELLORIN_API WalkOutcome RegisterInstances(const Outline& outline, EquationContext& context,
                                           QV_ModelType& model, int groupBase);

// AddEquation("QV_Eqn<N>", counter, groupBase + own group), then AddOp/AddTerm per token with
// eqn = counter - 1, for every instance. `counter` advances by one per instance.
PELLORIN_API WalkOutcome RegisterExpressions(const Outline& outline, EquationContext& context,
                                             QV_ModelType& model, QV_ModelExtensions& expressions,
                                             int groupBase, int& counter, int*& rows, int*& cols);

} // namespace pellorin::eqn
