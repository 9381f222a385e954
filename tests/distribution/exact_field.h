// What the numerical and balance checks of a one-dimensional distribution share, whether its
// terms are the plain objects of a fake context or the array elements of a real distribution
// over a real domain: an exact polynomial field on the terms, residuals evaluated together
// with their scale, each statement's degree of exactness, and what makes a model square.
#pragma once

#include <cmath>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <vuzizev/vuzizev.h>

namespace pellorin::testing {

// The methods in the order the outline takes them.
inline constexpr const char* kMethods[] = {"BFD1", "BFD2",  "FFD1",  "FFD2",  "CFD2",
                                           "CFD4", "UBFD4", "OCFE2", "OCFE3", "OCFE4"};

inline bool IsCollocation(const std::string& method) {
    return method.rfind("OCFE", 0) == 0;
}

// Where collocation methods place their interior points: at the exact Gauss-Legendre
// positions, or at the domain's stored 5-decimal ones.
enum class Points { Gauss, Stored };

// f(x) = sum of c[j] (x - centre)^j, with its derivatives and interval integrals.
struct Polynomial {
    std::vector<double> c;
    double centre = 0.0;
    double operator()(double x) const;
    double Derivative(double x) const;
    double SecondDerivative(double x) const;
    double Integral(double a, double b) const;
};

// The element a term stands for.
struct TermId {
    int array = -1; // a dist1d::Array, or -1 for a section's ELEMENTLENGTH
    int index = 0;  // node, or section
};

// The terms a distribution's residuals may name, each known as the element it stands for, and
// their values on an exact field over the node positions x.
class ExactField {
public:
    ExactField(std::vector<double> x, std::vector<double> elementLengths)
        : m_x(std::move(x)), m_elementLengths(std::move(elementLengths)) {}

    void Add(const QV_VarParam* term, TermId id) { m_ids[term] = id; }

    // Every VALUE, DDX, D2DX2 to f, f', f'' at its node, every IDX to the integral of f over
    // the interval that ends at its node (0 at node 0), and every h to its section's element
    // length.
    void Set(const Polynomial& f);

    double ValueOf(const QV_VarParam* term) const { return m_values.at(term); }
    TermId Identify(const QV_VarParam* term) const { return m_ids.at(term); }
    std::string Describe(const QV_VarParam* term) const;
    double X(int node) const { return m_x.at(node); }

private:
    std::vector<double> m_x;
    std::vector<double> m_elementLengths; // section 1 first
    std::map<const QV_VarParam*, TermId> m_ids;
    std::map<const QV_VarParam*, double> m_values;
};

// A registered residual's value, and the sum of the magnitudes of its parts.
struct Residual {
    double value = 0.0;
    double scale = 0.0;
    double Relative() const { return scale == 0.0 ? 0.0 : std::abs(value) / scale; }
};
using ValueOfTerm = std::function<double(const QV_VarParam*)>;
Residual Evaluate(const QV_EquationView& equation, const ValueOfTerm& value);
inline Residual Evaluate(const QV_EquationView& equation, const ExactField& field) {
    return Evaluate(equation, [&field](const QV_VarParam* t) { return field.ValueOf(t); });
}

// An instance's incidence, entry by entry.
inline std::vector<const QV_VarParam*> IncidenceOf(const QV_InstanceView& instance) {
    std::vector<const QV_VarParam*> terms;
    for (std::size_t t = 0; t < instance.incidenceCount; ++t) {
        terms.push_back(instance.incidence[t]);
    }
    return terms;
}

// Statement number of a registered equation ("QV_Eqn12" gives 12).
int StatementNumber(const QV_EquationView& equation);
// The node of the equation's first term, where the instance stands.
int AnchorNode(const QV_EquationView& equation, const ExactField& field);

// The highest polynomial degree for which the equation's statement is exact.
int Degree(const QV_EquationView& equation, const ExactField& field);
// The same for the one-dimensional statement `number`; a join across two spacings (29, 41)
// is exact to degree 2 only when they are equal.
int StatementDegree(int number, bool equalSpacings);

// Relative tolerance: finite differences to round-off, collocation to its 5-decimal
// constants and, with stored positions, to the positions' fifth decimal.
double Tolerance(const std::string& method, Points points, const QV_EquationView& equation,
                 const ExactField& field);

using ToleranceOf = std::function<double(const QV_EquationView&)>;

// On random polynomials of degree 0 to 5, every residual whose statement is exact to that
// degree vanishes within its tolerance.
void ExpectResidualsVanishUpToTheirDegree(const QV_EquationStore& store, ExactField& field,
                                          const ToleranceOf& tolerance);

// For each statement, a monomial one degree above its exactness, centred on its first
// instance, leaves that instance a clear residual.
void ExpectOneDegreeHigherLeavesAResidual(const QV_EquationStore& store, ExactField& field);

// What a model needs besides the distribution's equations to determine its unknowns.
struct BalanceCount {
    int used = 0;                  // HIGHESTORDERXDERIVATIVEUSED
    int endNode = 0;               // ENDNODE
    int unknowns = 0;              // elements of the four arrays' declared index sets
    int secondDerivativeNodes = 0; // elements of the D2DX2 index set
    int distributionEquations = 0; // instances the distribution registered
};

// A second-order model adds one equation per second-derivative node and two boundary
// conditions; a first-order model one equation per node but one, and one boundary condition.
int EquationsTheModelAdds(const BalanceCount& count);

} // namespace pellorin::testing
