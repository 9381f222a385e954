#include "model2d.h"

#include "domain/domain_fixture.h"
#include "types/distribution1d/statements.h"
#include "types/distribution2d/statements.h"

namespace testsupport {

using pellorin::testing::Polynomial;
namespace dist2d = pellorin::dist2d;

namespace {

std::string Describe(const Direction2D& d) {
    return d.method + "_" + std::to_string(d.sections) + "s_used" + std::to_string(d.used) +
           (pellorin::testing::IsCollocation(d.method) ? "_" + d.ebc : "");
}

void Configure(QV_DOMAIN& domain, const Direction2D& d) {
    domain.DISCRETIZATIONMETHOD.Specify(QV_Value(d.method.c_str(), 0u));
    domain.NUMSECTIONS.Specify(QV_Value(d.sections, 0u));
    domain.HIGHESTORDERDERIVATIVE.Specify(QV_Value(2, 0u));
    domain.ELEMENTBOUNDARYCONDITION.Specify(QV_Value(d.ebc.c_str(), 0u));
}

} // namespace

void PrintTo(const Configuration2D& c, std::ostream* out) {
    *out << TestName(c);
}

std::string TestName(const Configuration2D& c) {
    return "x_" + Describe(c.x) + "_y_" + Describe(c.y);
}

RealModel2D::RealModel2D() {
    distribution.XDOMAIN.Link(&domains[0]);
    distribution.YDOMAIN.Link(&domains[1]);
}

RealModel2D::RealModel2D(const Configuration2D& c) : RealModel2D() {
    Configure(domains[0], c.x);
    Configure(domains[1], c.y);
    distribution.HIGHESTORDERXDERIVATIVEUSED.Specify(QV_Value(c.x.used, 0u));
    distribution.HIGHESTORDERYDERIVATIVEUSED.Specify(QV_Value(c.y.used, 0u));
    QV_StrSetValue integrals;
    std::string rest = c.integrals;
    for (std::size_t comma; !rest.empty();
         rest = comma == std::string::npos ? "" : rest.substr(comma + 1)) {
        comma = rest.find(',');
        integrals += rest.substr(0, comma).c_str();
    }
    distribution.INTEGRALS.Specify(QV_Value(integrals, 0u));
}

Field2D::Field2D(RealModel2D& m) {
    for (int d = 0; d < 2; ++d) {
        QV_DOMAIN& domain = m.domains[d];
        for (int i = 0; i <= domain.ENDNODE.v(); ++i) {
            m_nodes[d].push_back(domain.VALUE.get()->Get(i)->v());
        }
        for (int s = 1; s <= domain.NUMSECTIONS.v(); ++s) {
            QV_REALPARAMETER& h = domain.SECTION.get()->Get(s)->ELEMENTLENGTH;
            m_lengths[d].push_back(h.v());
            m_ids[&h] = {-1, d, s};
        }
    }
    QV_DISTRIBUTION2D& t = m.distribution;
    auto add = [&](auto& array, const QV_Set& first, const QV_Set& second, int id) {
        for (int i : Members(first.v())) {
            for (int j : Members(second.v())) {
                m_ids[array.Get(i, j)] = {id, i, j};
            }
        }
    };
    add(*t.VALUE.get(), t.QV_VALUE_SET1, t.QV_VALUE_SET2, dist2d::kValue);
    add(t.DDX, t.QV_DDX_SET1, t.QV_DDX_SET2, dist2d::kDdx);
    add(t.DDY, t.QV_DDY_SET1, t.QV_DDY_SET2, dist2d::kDdy);
    add(t.D2DX2, t.QV_D2DX2_SET1, t.QV_D2DX2_SET2, dist2d::kD2dx2);
    add(t.D2DY2, t.QV_D2DY2_SET1, m.domains[1].INTERIOR, dist2d::kD2dy2);
    add(t.IDX, t.QV_IDX_SET1, t.QV_IDX_SET2, dist2d::kIdx);
    add(t.IDY, t.QV_IDY_SET1, t.QV_IDY_SET2, dist2d::kIdy);
    add(t.IDXDY, t.QV_IDXDY_SET1, t.QV_IDXDY_SET2, dist2d::kIdxdy);
}

void Field2D::Set(const Polynomial& p, const Polynomial& q) {
    auto interval = [this](const Polynomial& f, int d, int node) {
        return node == 0 ? 0.0 : f.Integral(m_nodes[d].at(node - 1), m_nodes[d].at(node));
    };
    for (const auto& [term, id] : m_ids) {
        double& v = m_values[term];
        if (id.array < 0) {
            v = m_lengths[id.i].at(id.j - 1);
            continue;
        }
        const double x = m_nodes[0].at(id.i);
        const double y = m_nodes[1].at(id.j);
        switch (id.array) {
        case dist2d::kValue:
            v = p(x) * q(y);
            break;
        case dist2d::kDdx:
            v = p.Derivative(x) * q(y);
            break;
        case dist2d::kDdy:
            v = p(x) * q.Derivative(y);
            break;
        case dist2d::kD2dx2:
            v = p.SecondDerivative(x) * q(y);
            break;
        case dist2d::kD2dy2:
            v = p(x) * q.SecondDerivative(y);
            break;
        case dist2d::kIdx:
            v = interval(p, 0, id.i) * q(y);
            break;
        case dist2d::kIdy:
            v = p(x) * interval(q, 1, id.j);
            break;
        case dist2d::kIdxdy:
            v = interval(p, 0, id.i) * interval(q, 1, id.j);
            break;
        }
    }
}

int OwnDirection(int statement) {
    // Groups 4, 6, ..., 22 are x blocks, 5, 7, ..., 23 y blocks; of the start values the IDY
    // line and IDXDY's x line along y.
    const int group = dist2d::Statements().Find(statement)->group;
    if (group <= 3) {
        return statement == 2 || statement == 4 ? 1 : 0;
    }
    return group % 2 == 0 ? 0 : 1;
}

int Equivalent1D(int statement) {
    const pellorin::eqn::StatementView two = dist2d::Statements();
    const pellorin::eqn::StatementView one = pellorin::dist1d::Statements();
    const pellorin::eqn::Template& t = two.TemplateOf(*two.Find(statement));
    for (const pellorin::eqn::Statement& s : one.statements) {
        if (one.TemplateOf(s) == t) {
            return s.number;
        }
    }
    return 0;
}

} // namespace testsupport
