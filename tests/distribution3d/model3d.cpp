#include "model3d.h"

#include "types/distribution3d/statements.h"

namespace testsupport {

namespace dist3d = pellorin::dist3d;
using pellorin::testing::Factor;

void PrintTo(const Configuration3D& c, std::ostream* out) {
    *out << TestName(c);
}

std::string TestName(const Configuration3D& c) {
    using pellorin::testing::Describe;
    return "x_" + Describe(c.x) + "_y_" + Describe(c.y) + "_z_" + Describe(c.z);
}

pellorin::testing::GridField FieldOf(RealModel3D& m) {
    pellorin::testing::GridField field(m.Domains());
    QV_DISTRIBUTION3D& t = m.distribution;
    constexpr Factor V = Factor::Value, D = Factor::First, S = Factor::Second, I = Factor::Interval;
    auto add = [&](auto& array, int id, const QV_Set& a, const QV_Set& b, const QV_Set& c, Factor x,
                   Factor y, Factor z) {
        field.AddArray(array, id, {&a, &b, &c}, {x, y, z});
    };
    add(*t.VALUE.get(), dist3d::kValue, t.QV_VALUE_SET1, t.QV_VALUE_SET2, t.QV_VALUE_SET3, V, V, V);
    add(t.DDX, dist3d::kDdx, t.QV_DDX_SET1, t.QV_DDX_SET2, t.QV_DDX_SET3, D, V, V);
    add(t.DDY, dist3d::kDdy, t.QV_DDY_SET1, t.QV_DDY_SET2, t.QV_DDY_SET3, V, D, V);
    add(t.DDZ, dist3d::kDdz, t.QV_DDZ_SET1, t.QV_DDZ_SET2, t.QV_DDZ_SET3, V, V, D);
    add(t.D2DX2, dist3d::kD2dx2, t.QV_D2DX2_SET1, t.QV_D2DX2_SET2, t.QV_D2DX2_SET3, S, V, V);
    add(t.D2DY2, dist3d::kD2dy2, t.QV_D2DY2_SET1, m.domains[1].INTERIOR, t.QV_D2DY2_SET3, V, S, V);
    add(t.D2DZ2, dist3d::kD2dz2, t.QV_D2DZ2_SET1, t.QV_D2DZ2_SET2, m.domains[2].INTERIOR, V, V, S);
    add(t.IDX, dist3d::kIdx, t.QV_IDX_SET1, t.QV_IDX_SET2, t.QV_IDX_SET3, I, V, V);
    add(t.IDY, dist3d::kIdy, t.QV_IDY_SET1, t.QV_IDY_SET2, t.QV_IDY_SET3, V, I, V);
    add(t.IDZ, dist3d::kIdz, t.QV_IDZ_SET1, t.QV_IDZ_SET2, t.QV_IDZ_SET3, V, V, I);
    add(t.IDXDY, dist3d::kIdxdy, t.QV_IDXDY_SET1, t.QV_IDXDY_SET2, t.QV_IDXDY_SET3, I, I, V);
    add(t.IDXDZ, dist3d::kIdxdz, t.QV_IDXDZ_SET1, t.QV_IDXDZ_SET2, t.QV_IDXDZ_SET3, I, V, I);
    add(t.IDYDZ, dist3d::kIdydz, t.QV_IDYDZ_SET1, t.QV_IDYDZ_SET2, t.QV_IDYDZ_SET3, V, I, I);
    add(t.IDXDYDZ, dist3d::kIdxdydz, t.QV_IDXDYDZ_SET1, t.QV_IDXDYDZ_SET2, t.QV_IDXDYDZ_SET3, I, I,
        I);
    return field;
}

int OwnDirection3D(int statement) {
    // Blocks: group 8 + 3 m + d. Start values: each holds its integral along one direction.
    static constexpr int kStart[] = {0, 0, 1, 2, 0, 1, 0, 2, 1, 2, 0, 1, 2};
    const int group = dist3d::Statements().Find(statement)->group;
    return group <= 7 ? kStart[statement] : (group - 8) % 3;
}

pellorin::testing::GridStatements Statements3D(const Configuration3D& c) {
    return {dist3d::Statements(), OwnDirection3D, [c](int statement) {
                const pellorin::testing::Direction* d[] = {&c.x, &c.y, &c.z};
                return pellorin::testing::IsCollocation(d[OwnDirection3D(statement)]->method);
            }};
}

} // namespace testsupport
