#include "model2d.h"

#include "domain/domain_fixture.h"
#include "types/distribution2d/statements.h"

namespace testsupport {

namespace dist2d = pellorin::dist2d;

void PrintTo(const Configuration2D& c, std::ostream* out) {
    *out << TestName(c);
}

std::string TestName(const Configuration2D& c) {
    return "x_" + pellorin::testing::Describe(c.x) + "_y_" + pellorin::testing::Describe(c.y);
}

pellorin::testing::GridField FieldOf(RealModel2D& m) {
    using pellorin::testing::Factor;
    pellorin::testing::GridField field({&m.domains[0], &m.domains[1]});
    QV_DISTRIBUTION2D& t = m.distribution;
    auto add = [&](auto& array, int id, const QV_Set& first, const QV_Set& second, Factor x,
                   Factor y) {
        field.AddArray(array, id, {&first, &second}, {x, y});
    };
    add(*t.VALUE.get(), dist2d::kValue, t.QV_VALUE_SET1, t.QV_VALUE_SET2, Factor::Value,
        Factor::Value);
    add(t.DDX, dist2d::kDdx, t.QV_DDX_SET1, t.QV_DDX_SET2, Factor::First, Factor::Value);
    add(t.DDY, dist2d::kDdy, t.QV_DDY_SET1, t.QV_DDY_SET2, Factor::Value, Factor::First);
    add(t.D2DX2, dist2d::kD2dx2, t.QV_D2DX2_SET1, t.QV_D2DX2_SET2, Factor::Second, Factor::Value);
    add(t.D2DY2, dist2d::kD2dy2, t.QV_D2DY2_SET1, m.domains[1].INTERIOR, Factor::Value,
        Factor::Second);
    add(t.IDX, dist2d::kIdx, t.QV_IDX_SET1, t.QV_IDX_SET2, Factor::Interval, Factor::Value);
    add(t.IDY, dist2d::kIdy, t.QV_IDY_SET1, t.QV_IDY_SET2, Factor::Value, Factor::Interval);
    add(t.IDXDY, dist2d::kIdxdy, t.QV_IDXDY_SET1, t.QV_IDXDY_SET2, Factor::Interval,
        Factor::Interval);
    return field;
}

pellorin::testing::GridStatements Statements2D(const Configuration2D& c) {
    return {dist2d::Statements(), OwnDirection, [c](int statement) {
                return pellorin::testing::IsCollocation(OwnDirection(statement) == 0 ? c.x.method
                                                                                     : c.y.method);
            }};
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

} // namespace testsupport
