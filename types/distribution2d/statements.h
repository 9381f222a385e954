// The two-dimensional distribution's 233 equation statements, written in the roles of the
// residual notation relative to each block's own direction. A y statement that is an x
// statement with the directions exchanged refers to it ("=N").
#pragma once

#include "framework/api.h"
#include "types/distribution/statement_table.h"

namespace pellorin::dist2d {

// The compiled statements, QV_Eqn1 to QV_Eqn233.
PELLORIN_API eqn::StatementView Statements();

} // namespace pellorin::dist2d
