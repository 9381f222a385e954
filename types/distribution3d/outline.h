// The three-dimensional distribution's equation outline: the start values, then, per method
// in the fixed order BFD1, BFD2, FFD1, FFD2, CFD2, CFD4, UBFD4, OCFE2, OCFE3, OCFE4, its x, y
// and z blocks.
#pragma once

#include "framework/api.h"
#include "types/distribution/outline.h"

namespace pellorin::dist3d {

PELLORIN_API const eqn::Outline& EquationOutline();

} // namespace pellorin::dist3d
