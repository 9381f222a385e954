// The two-dimensional distribution's integrals and arrays, each named once: what the type
// registers, dimensions, assigns and looks up, and what the outline binds, comes from here.
#pragma once

#include <array>
#include <string_view>

#include "types/distribution/array_table.h"
#include "types/distribution2d/distribution2d.h"

namespace pellorin::dist2d {

// In the order the outline's `has(...)` tests number them; the composite one last.
inline constexpr std::array<std::string_view, 3> kIntegrals = {"idx", "idy", "idxdy"};
inline constexpr std::size_t kFirstComposite = 2;

using D = QV_DISTRIBUTION2D;
using eqn::Extent;
using eqn::IntegralSwitch;

// Every set is assigned in the order of the rows, by the numbers given; D2DY2's y dimension
// is the y domain's INTERIOR.
// clang-format off
inline constexpr std::array<eqn::ArrayRow<D, 2>, 8> kArrays = {{
    {"VALUE", &D::VALUE, {&D::QV_VALUE_SET1, &D::QV_VALUE_SET2},
     "Variable value at a node point", Extent::Nodes, 0, 0, {1, 2}},
    {"DDX", &D::DDX, {&D::QV_DDX_SET1, &D::QV_DDX_SET2},
     "1st-order partial deriv wrt x", Extent::FirstDerivative, 0, 0, {3, 4}},
    {"DDY", &D::DDY, {&D::QV_DDY_SET1, &D::QV_DDY_SET2},
     "1st-order partial deriv wrt y", Extent::FirstDerivative, 1, 0, {5, 6}},
    {"D2DX2", &D::D2DX2, {&D::QV_D2DX2_SET1, &D::QV_D2DX2_SET2},
     "2nd-order partial deriv wrt x", Extent::SecondDerivative, 0, 0, {7, 8}},
    {"D2DY2", &D::D2DY2, {&D::QV_D2DY2_SET1, nullptr},
     "2nd-order partial deriv wrt y", Extent::SecondDerivative, 1, 0, {9, 0}},
    {"IDX", &D::IDX, {&D::QV_IDX_SET1, &D::QV_IDX_SET2},
     "integral of distributed variable wrt x", Extent::Integral, 0,
     IntegralSwitch(kIntegrals, "idx idxdy"), {10, 11}},
    {"IDY", &D::IDY, {&D::QV_IDY_SET1, &D::QV_IDY_SET2},
     "integral of distributed variable wrt y", Extent::Integral, 0,
     IntegralSwitch(kIntegrals, "idy"), {12, 13}},
    {"IDXDY", &D::IDXDY, {&D::QV_IDXDY_SET1, &D::QV_IDXDY_SET2},
     "integral of distributed variable wrt x and y", Extent::Integral, 0,
     IntegralSwitch(kIntegrals, "idxdy"), {14, 15}},
}};
// clang-format on

} // namespace pellorin::dist2d
