// The one-dimensional distribution's integral and arrays, each named once: what the type
// registers, dimensions, assigns and looks up, and what the outline binds, comes from here.
#pragma once

#include <array>
#include <string_view>

#include "types/distribution/array_table.h"
#include "types/distribution1d/distribution1d.h"

namespace pellorin::dist1d {

inline constexpr std::array<std::string_view, 1> kIntegrals = {"idx"};

using D = QV_DISTRIBUTION1D;
using eqn::Extent;

// Every set is assigned in the order of the rows, by the numbers given.
// clang-format off
inline constexpr std::array<eqn::ArrayRow<D, 1>, 4> kArrays = {{
    {"VALUE", &D::VALUE, {&D::QV_VALUE_SET1},
     "Variable value at a node point", Extent::Nodes, 0, 0, {1}},
    {"DDX", &D::DDX, {&D::QV_DDX_SET1},
     "1st-order partial deriv wrt x", Extent::FirstDerivative, 0, 0, {2}},
    {"D2DX2", &D::D2DX2, {&D::QV_D2DX2_SET1},
     "2nd-order partial deriv wrt x", Extent::SecondDerivative, 0, 0, {3}},
    {"IDX", &D::IDX, {&D::QV_IDX_SET1},
     "integral of distributed variable over X domain", Extent::Integral, 0,
     eqn::IntegralSwitch(kIntegrals, "idx"), {4}},
}};
// clang-format on

} // namespace pellorin::dist1d
