// The three-dimensional distribution's 418 equation statements, written in the roles of the
// residual notation relative to each block's own direction. A y or z statement that is an x
// statement moved to its direction refers to it ("=N").
#pragma once

#include "framework/api.h"
#include "types/distribution/statement_table.h"

namespace pellorin::dist3d {

// The compiled statements, QV_Eqn1 to QV_Eqn418.
PELLORIN_API eqn::StatementView Statements();

} // namespace pellorin::dist3d
