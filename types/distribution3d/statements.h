// The three-dimensional distribution's 418 equation statements, written in the roles of the
// residual notation relative to each block's own direction. A y or z statement that is an x
// statement moved to its direction refers to it ("=N").
#pragma once

#include <cstdint>

#include "framework/api.h"
#include "types/distribution/statement_table.h"

namespace pellorin::dist3d {

// The distribution's arrays, as the context looks them up.
enum Array : std::uint8_t {
    kValue,
    kDdx,
    kDdy,
    kDdz,
    kD2dx2,
    kD2dy2,
    kD2dz2,
    kIdx,
    kIdy,
    kIdz,
    kIdxdy,
    kIdxdz,
    kIdydz,
    kIdxdydz,
};
inline constexpr int kArrayCount = 14;

// The compiled statements, QV_Eqn1 to QV_Eqn418.
PELLORIN_API eqn::StatementView Statements();

} // namespace pellorin::dist3d
