// The one-dimensional distribution's 102 equation statements, written in the roles of the
// residual notation: F is VALUE, D1 DDX, D2 D2DX2, I IDX.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "framework/api.h"
#include "types/distribution/statement_table.h"

namespace pellorin::dist1d {

// The compiled statements, QV_Eqn1 to QV_Eqn102.
PELLORIN_API eqn::StatementView Statements();

} // namespace pellorin::dist1d
