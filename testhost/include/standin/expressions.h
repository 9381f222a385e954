// Reading the prefix expressions a model registered: evaluation and an infix rendering.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "standin/equations.h"

namespace vzt {

// The value of a residual, given the value of each variable or parameter term. Operator 1
// (the start-value operator) is the identity. Empty when the stream is not one complete
// prefix expression.
VZ_API std::optional<double> Evaluate(const QV_EquationView& equation,
                                      const QV_EquationStore& store,
                                      const std::function<double(const QV_VarParam*)>& valueOf);

// The residual written infix with the fewest parentheses that keep its structure:
// "DDX(1)*h + (VALUE(0) - VALUE(1))". Reals are written in their shortest exact form.
// A malformed stream yields "<malformed>".
VZ_API std::string Infix(const QV_EquationView& equation, const QV_EquationStore& store,
                         const std::function<std::string(const QV_VarParam*)>& nameOf);

// The shortest decimal text that reads back as exactly this double.
VZ_API std::string ShortestDecimal(double value);

} // namespace vzt
