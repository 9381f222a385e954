// Exact fields on the terms of a distribution over one, two or three directions, and the
// numerical checks made on them: a product p(x)·q(y)·r(z) of polynomials, each array element
// the product of one factor per direction (the polynomial, its first or second derivative, or
// its integral over the interval that ends at the node, 0 at node 0), each section's element
// length its own. A statement of a block along direction d is exact when the polynomial along
// d is within the statement's degree, whatever the polynomials along the other directions.
#pragma once

#include <array>
#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <standin/equations.h>
#include <vuzizev/vuzizev.h>

#include "types/distribution/statement_table.h"

namespace testsupport {

// The methods in the order the outline takes them.
inline constexpr const char* kMethods[] = {"BFD1", "BFD2",  "FFD1",  "FFD2",  "CFD2",
                                           "CFD4", "UBFD4", "OCFE2", "OCFE3", "OCFE4"};

inline bool IsCollocation(const std::string& method) {
    return method.rfind("OCFE", 0) == 0;
}

// f(x) = sum of c[j] (x - centre)^j, with its first two derivatives and interval integrals.
struct Polynomial {
    std::vector<double> c;
    double centre = 0.0;
    double At(double x, int derivative = 0) const;
    double Integral(double a, double b) const;
};

// Value, First and Second are the orders of derivative.
enum class Factor { Value, First, Second, Interval };

class ExactField {
public:
    struct Id {
        int array = -1;          // the distribution's array, or -1 for an element length
        std::array<int, 3> at{}; // nodes; for an element length (direction, section)
    };

    // Node positions per direction.
    explicit ExactField(std::vector<std::vector<double>> nodes) : m_nodes(std::move(nodes)) {}

    void AddLength(const QV_VarParam* term, int direction, int section, double length);
    void Add(const QV_VarParam* term, int array, const std::vector<int>& at);
    void SetFactors(int array, std::vector<Factor> factors) { m_factors[array] = factors; }

    void Set(const std::vector<Polynomial>& polynomials);
    double ValueOf(const QV_VarParam* term) const { return m_values.at(term); }
    Id Identify(const QV_VarParam* term) const { return m_ids.at(term); }
    double X(int direction, int node) const { return m_nodes[direction].at(node); }
    int Rank() const { return int(m_nodes.size()); }

private:
    std::vector<std::vector<double>> m_nodes;
    std::map<std::pair<int, int>, double> m_lengths;
    std::map<int, std::vector<Factor>> m_factors;
    std::map<const QV_VarParam*, Id> m_ids;
    std::map<const QV_VarParam*, double> m_values;
};

// A registered residual's value, and the sum of the magnitudes of its parts.
struct Residual {
    double value = 0.0;
    double scale = 0.0;
    double Relative() const { return scale == 0.0 ? 0.0 : std::abs(value) / scale; }
};
Residual Evaluate(const QV_EquationView& equation, const ExactField& field);

// Statement number of a registered equation ("QV_Eqn12" gives 12).
int StatementNumber(const QV_EquationView& equation);
// The first term of an equation's residual: the unknown it defines.
const QV_VarParam* Unknown(const QV_EquationView& equation);

// The highest polynomial degree for which the one-dimensional statement `number` is exact; a
// join across two spacings (29, 41) is exact to degree 2 only when they are equal.
int StatementDegree(int number, bool equalSpacings);

// What the checks need to know of a distribution's statements.
struct Statements {
    pellorin::eqn::StatementView view;
    std::function<int(int statement)> ownDirection; // the direction its block runs in
    std::array<bool, 3> collocation{};              // per direction
    // Relative tolerance of a collocation residual (five times it for an integral); other
    // residuals hold to round-off.
    double collocationTolerance = 1e-4;
};

// On random polynomials of degree 0 to 5 along each direction in turn (degree 5 along the
// others), every residual whose statement is exact to that degree vanishes within tolerance.
void ExpectResidualsVanish(const QV_EquationStore& store, const Statements& statements,
                           ExactField& field);

// For each statement, a monomial one degree above its exactness along its direction, centred
// on its first instance, leaves that instance a clear residual.
void ExpectOneDegreeHigherLeavesAResidual(const QV_EquationStore& store,
                                          const Statements& statements, ExactField& field);

} // namespace testsupport
