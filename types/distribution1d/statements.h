// The one-dimensional distribution's 102 equation statements and their residual vocabulary.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "framework/api.h"
#include "types/distribution/statement_table.h"

namespace pellorin::dist1d {

// Array ids of the residual vocabulary, in the order of kArrayNames.
enum Array : int { kValue, kDdx, kD2dx2, kIdx };
inline constexpr std::array<std::string_view, 4> kArrayNames = {"VALUE", "DDX", "D2DX2", "IDX"};

// The section parameter h: the section's ELEMENTLENGTH.
enum Parameter : int { kElementLength };
inline constexpr std::array<std::string_view, 1> kParameterNames = {"h"};

inline constexpr eqn::Vocabulary kVocabulary{kArrayNames, kParameterNames};

// The compiled statements, QV_Eqn1 to QV_Eqn102.
PELLORIN_API eqn::StatementView Statements();

// The statements as written, for checks that recompile them.
PELLORIN_API std::span<const eqn::StatementText> StatementTexts();

} // namespace pellorin::dist1d
