// The three-dimensional distribution's integrals and arrays, each named once: what the type
// registers, dimensions, assigns and looks up, and what the outline binds, comes from here.
#pragma once

#include <array>
#include <string_view>

#include "types/distribution/array_table.h"
#include "types/distribution3d/distribution3d.h"

namespace pellorin::dist3d {

// In the order the outline's `has(...)` tests number them; the composite ones last.
inline constexpr std::array<std::string_view, 7> kIntegrals = {"idx",   "idy",   "idz",    "idxdy",
                                                               "idxdz", "idydz", "idxdydz"};
inline constexpr std::size_t kFirstComposite = 3;

using D = QV_DISTRIBUTION3D;
using eqn::Extent;
using eqn::IntegralSwitch;

// Every set is assigned in the order of the rows, by the numbers given; D2DY2's y and
// D2DZ2's z dimensions are those domains' INTERIORs.
// clang-format off
inline constexpr std::array<eqn::ArrayRow<D, 3>, 14> kArrays = {{
    {"VALUE", &D::VALUE, {&D::QV_VALUE_SET1, &D::QV_VALUE_SET2, &D::QV_VALUE_SET3},
     "Variable value at a node point", Extent::Nodes, 0, 0, {1, 2, 3}},
    {"DDX", &D::DDX, {&D::QV_DDX_SET1, &D::QV_DDX_SET2, &D::QV_DDX_SET3},
     "1st-order partial deriv wrt x", Extent::FirstDerivative, 0, 0, {4, 5, 6}},
    {"DDY", &D::DDY, {&D::QV_DDY_SET1, &D::QV_DDY_SET2, &D::QV_DDY_SET3},
     "1st-order partial deriv wrt y", Extent::FirstDerivative, 1, 0, {7, 8, 9}},
    {"DDZ", &D::DDZ, {&D::QV_DDZ_SET1, &D::QV_DDZ_SET2, &D::QV_DDZ_SET3},
     "1st-order partial deriv wrt z", Extent::FirstDerivative, 2, 0, {10, 11, 12}},
    {"D2DX2", &D::D2DX2, {&D::QV_D2DX2_SET1, &D::QV_D2DX2_SET2, &D::QV_D2DX2_SET3},
     "2nd-order partial deriv wrt x", Extent::SecondDerivative, 0, 0, {13, 14, 15}},
    {"D2DY2", &D::D2DY2, {&D::QV_D2DY2_SET1, nullptr, &D::QV_D2DY2_SET3},
     "2nd-order partial deriv wrt y", Extent::SecondDerivative, 1, 0, {16, 0, 17}},
    {"D2DZ2", &D::D2DZ2, {&D::QV_D2DZ2_SET1, &D::QV_D2DZ2_SET2, nullptr},
     "2nd-order partial deriv wrt z", Extent::SecondDerivative, 2, 0, {18, 19, 0}},
    {"IDX", &D::IDX, {&D::QV_IDX_SET1, &D::QV_IDX_SET2, &D::QV_IDX_SET3},
     "integral of distributed variable wrt x", Extent::Integral, 0,
     IntegralSwitch(kIntegrals, "idx idxdy idxdz idxdydz"), {20, 21, 22}},
    {"IDY", &D::IDY, {&D::QV_IDY_SET1, &D::QV_IDY_SET2, &D::QV_IDY_SET3},
     "integral of distributed variable wrt y", Extent::Integral, 0,
     IntegralSwitch(kIntegrals, "idy idydz"), {23, 24, 25}},
    {"IDZ", &D::IDZ, {&D::QV_IDZ_SET1, &D::QV_IDZ_SET2, &D::QV_IDZ_SET3},
     "integral of distributed variable wrt z", Extent::Integral, 0,
     IntegralSwitch(kIntegrals, "idz"), {26, 27, 28}},
    {"IDXDY", &D::IDXDY, {&D::QV_IDXDY_SET1, &D::QV_IDXDY_SET2, &D::QV_IDXDY_SET3},
     "integral of distributed variable wrt x and y", Extent::Integral, 0,
     IntegralSwitch(kIntegrals, "idxdy idxdydz"), {29, 30, 31}},
    {"IDXDZ", &D::IDXDZ, {&D::QV_IDXDZ_SET1, &D::QV_IDXDZ_SET2, &D::QV_IDXDZ_SET3},
     "integral of distributed variable wrt x and z", Extent::Integral, 0,
     IntegralSwitch(kIntegrals, "idxdz"), {32, 33, 34}},
    {"IDYDZ", &D::IDYDZ, {&D::QV_IDYDZ_SET1, &D::QV_IDYDZ_SET2, &D::QV_IDYDZ_SET3},
     "integral of distributed variable wrt y and z", Extent::Integral, 0,
     IntegralSwitch(kIntegrals, "idydz"), {35, 36, 37}},
    {"IDXDYDZ", &D::IDXDYDZ, {&D::QV_IDXDYDZ_SET1, &D::QV_IDXDYDZ_SET2, &D::QV_IDXDYDZ_SET3},
     "integral of distributed variable wrt x, y and z", Extent::Integral, 0,
     IntegralSwitch(kIntegrals, "idxdydz"), {38, 39, 40}},
}};
// clang-format on

} // namespace pellorin::dist3d
