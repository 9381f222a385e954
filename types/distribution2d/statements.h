// The two-dimensional distribution's 233 equation statements, written in the roles of the
// residual notation relative to each block's own direction. A y statement that is an x
// statement with the directions exchanged refers to it ("=N").
#pragma once

#include <cstdint>

#include "framework/api.h"
#include "types/distribution/statement_table.h"

namespace pellorin::dist2d {

// The distribution's arrays, as the context looks them up.
enum Array : std::uint8_t { kValue, kDdx, kDdy, kD2dx2, kD2dy2, kIdx, kIdy, kIdxdy };
inline constexpr int kArrayCount = 8;

// The compiled statements, QV_Eqn1 to QV_Eqn233.
PELLORIN_API eqn::StatementView Statements();

} // namespace pellorin::dist2d
