// The numerical checks of a distribution over two or three real domains, on exact product
// fields: a statement of a block along direction d is exact when the polynomial along d is
// within the statement's degree, whatever the polynomials along the other directions.
#pragma once

#include <functional>

#include <vuzizev/vuzizev.h>

#include "tests/distribution/grid_field.h"
#include "types/distribution/statement_table.h"

namespace pellorin::testing {

struct GridStatements {
    eqn::StatementView view;
    std::function<int(int statement)> ownDirection;
    std::function<bool(int statement)> collocation; // its block's method is a collocation one
};

// The degree of the statement: that of the one-dimensional statement with the same residual;
// a join across two spacings is exact to degree 2 only when they are equal. A residual the
// one-dimensional distribution does not write takes `otherwise`.
int GridDegree(const GridStatements& statements, const QV_EquationView& equation,
               const GridField& field, int otherwise = 4);

// On random polynomials of degree 0 to 5 along each direction in turn (degree 5 along the
// others), every residual whose statement is exact to that degree vanishes within its
// tolerance: round-off for differences, the five-decimal constants for collocation.
void ExpectGridResidualsVanish(const QV_EquationStore& store, const GridStatements& statements,
                               GridField& field);

// For each statement, a monomial one degree above its exactness along its direction,
// centred on its first instance, leaves that instance a clear residual.
void ExpectGridOneDegreeHigherLeavesAResidual(const QV_EquationStore& store,
                                              const GridStatements& statements, GridField& field);

} // namespace pellorin::testing
