#include "tests/distribution/grid_checks.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

#include "types/distribution1d/statements.h"

namespace pellorin::testing {

namespace {

const QV_VarParam* FirstTerm(const QV_EquationView& eq) {
    for (std::size_t k = 0; k < eq.tokenCount; ++k) {
        if (eq.tokens[k].kind == QV_Token::Kind::Term) {
            return eq.tokens[k].term;
        }
    }
    return nullptr;
}

int Equivalent1D(const eqn::StatementView& view, int statement) {
    const eqn::StatementView one = dist1d::Statements();
    const eqn::Template& t = view.TemplateOf(*view.Find(statement));
    for (const eqn::Statement& s : one.statements) {
        if (one.TemplateOf(s) == t) {
            return s.number;
        }
    }
    return 0;
}

double Tolerance(const GridStatements& statements, const QV_EquationView& eq) {
    const int n = StatementNumber(eq);
    if (!statements.collocation(n)) {
        return 1e-12;
    }
    const eqn::Template& t = statements.view.TemplateOf(*statements.view.Find(n));
    return t.term[0].id == eqn::kI ? 5e-4 : 1e-4;
}

Residual At(const QV_EquationView& eq, const GridField& field) {
    return Evaluate(eq, [&](const QV_VarParam* t) { return field.ValueOf(t); });
}

} // namespace

int GridDegree(const GridStatements& statements, const QV_EquationView& eq, const GridField& field,
               int otherwise) {
    const int one = Equivalent1D(statements.view, StatementNumber(eq));
    std::vector<double> spacings;
    for (std::size_t k = 0; (one == 29 || one == 41) && k < eq.tokenCount; ++k) {
        const QV_Token& t = eq.tokens[k];
        if (t.kind == QV_Token::Kind::Term && field.Identify(t.term).array < 0) {
            spacings.push_back(field.ValueOf(t.term));
        }
    }
    return one == 0 ? otherwise
                    : StatementDegree(one, spacings.size() == 2 && spacings[0] == spacings[1]);
}

void ExpectGridResidualsVanish(const QV_EquationStore& store, const GridStatements& statements,
                               GridField& field) {
    std::mt19937 random(2024);
    std::uniform_real_distribution<double> coefficient(-1.0, 1.0);
    auto polynomial = [&](int degree, double centre) {
        Polynomial f{{}, centre};
        for (int k = 0; k <= degree; ++k) {
            f.c.push_back(coefficient(random));
        }
        return f;
    };
    for (int own = 0; own < field.Rank(); ++own) {
        for (int degree = 0; degree <= 5; ++degree) {
            std::vector<Polynomial> f;
            for (int d = 0; d < field.Rank(); ++d) {
                f.push_back(polynomial(d == own ? degree : 5, 0.37 + 0.1 * d));
            }
            field.Set(f);
            for (std::size_t k = 0; k < store.EquationCount(); ++k) {
                const QV_EquationView eq = store.Equation(k);
                if (statements.ownDirection(StatementNumber(eq)) != own ||
                    GridDegree(statements, eq, field) < degree) {
                    continue;
                }
                EXPECT_LE(At(eq, field).Relative(), Tolerance(statements, eq))
                    << eq.name << " (instance " << k << "), degree " << degree;
            }
        }
    }
}

void ExpectGridOneDegreeHigherLeavesAResidual(const QV_EquationStore& store,
                                              const GridStatements& statements, GridField& field) {
    const Polynomial one{{1.0}, 0.0};
    field.Set(std::vector<Polynomial>(std::size_t(field.Rank()), one));
    std::set<int> checked;
    for (std::size_t k = 0; k < store.EquationCount(); ++k) {
        const QV_EquationView eq = store.Equation(k);
        const int n = StatementNumber(eq);
        if (GridDegree(statements, eq, field) > 5 || !checked.insert(n).second) {
            continue; // the start values hold a term at zero, whatever the field
        }
        const int own = statements.ownDirection(n);
        const int equivalent = Equivalent1D(statements.view, n);
        const int degree =
            equivalent == 29 || equivalent == 41 ? 3 : GridDegree(statements, eq, field) + 1;
        const GridField::Id at = field.Identify(FirstTerm(eq));
        Polynomial monomial{std::vector<double>(degree + 1, 0.0), field.X(own, at.index[own])};
        monomial.c[degree] = 1.0;
        std::vector<Polynomial> f(std::size_t(field.Rank()), one);
        f[own] = monomial;
        field.Set(f);
        EXPECT_GT(At(eq, field).Relative(), 1e-3) << eq.name << " with degree " << degree;
    }
}

} // namespace pellorin::testing
