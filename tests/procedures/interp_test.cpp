// The procedure with the real routine library VARudaduro: values, failures, and the
// Jacobian row against central differences of the residual (the worked example is the
// driver's, in the end-to-end tests).
#include <algorithm>
#include <cmath>

#include "procedure_fixture.h"

namespace proctest {
namespace {

class RealInterp : public ProcedureTest {
protected:
    // Describes y = INTERPOLATE(x, X, Y, n) over the given tables with the real routine.
    void Make(double xValue, const std::vector<double>& Xs, const std::vector<double>& Ys, int n) {
        vzt::ClearRoutines();
        vzt::SetRoutineDirectory(PELLORIN_ROUTINE_DIR);
        Build({.x = xValue, .X = Xs, .Y = Ys, .count = n});
    }
};

// Where x falls: inside a segment, at a knot (the segment to its right), at the last knot
// (the last segment), beyond either end (the end segment, extended); n limits the table. Away
// from the knots every entry of the row, in the order y, x, X..., Y..., equals the central
// difference of the residual in that variable.
TEST_F(RealInterp, SegmentsExtrapolationAndTheJacobianRow) {
    struct Case {
        double x;
        int n;
        double f, dfdx;
    };
    const std::vector<Case> cases = {
        {0.5, 4, 2.0, 2.0}, {1.0, 4, 3.0, -1.0}, {4.0, 4, 6.0, 2.0}, {-1.0, 4, -1.0, 2.0},
        {5.0, 4, 8.0, 2.0}, {3.0, 3, 1.0, -1.0}, {1.0, 2, 3.0, 2.0}, {2.0, 4, 2.0, 2.0},
    };
    const std::vector<double> knots = {0, 1, 2, 4};
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.x << ", n " << c.n);
        // A first call in another segment leaves derivatives that the second must clear.
        Make(6.0 - c.x, knots, {1, 3, 2, 6, 9}, c.n);
        double r = 0.0;
        EXPECT_EQ(Residual(r), 0);
        SetValue(*x, c.x);
        SetValue(*y, 0.25);
        EXPECT_EQ(Residual(r), 0);
        EXPECT_DOUBLE_EQ(0.25 - r, c.f);
        int status = 0;
        const std::vector<double> row = JacobianRow(status);
        ASSERT_EQ(status, 0);
        EXPECT_DOUBLE_EQ(row.at(1), -c.dfdx);
        if (std::count(knots.begin(), knots.end(), c.x) != 0) {
            continue;
        }
        ASSERT_EQ(row.size(), variables.size());
        for (std::size_t k = 0; k < variables.size(); ++k) {
            const double value = vzt::AsReal(vzt::Current(*variables[k]));
            const double h = 1e-6 * std::max(1.0, std::fabs(value));
            double plus = 0.0, minus = 0.0;
            SetValue(*variables[k], value + h);
            ASSERT_EQ(Residual(plus), 0);
            SetValue(*variables[k], value - h);
            ASSERT_EQ(Residual(minus), 0);
            SetValue(*variables[k], value);
            EXPECT_NEAR(row[k], (plus - minus) / (2 * h), 1e-6 * std::max(1.0, std::fabs(row[k])))
                << k;
        }
    }
}

TEST_F(RealInterp, BadTablesFailWithTheirCodes) {
    struct Case {
        std::vector<double> X, Y;
        int n;
        int status;
    };
    const std::vector<Case> cases = {
        {{0, 1, 2}, {1, 2, 3}, 1, -2}, {{0, 1, 2}, {1, 2, 3}, 4, -2}, {{0, 1, 2}, {1, 2}, 3, -2},
        {{0, 1, 1}, {1, 2, 3}, 3, -3}, {{0, 2, 1}, {1, 2, 3}, 3, -3}, {{0, 2, 1}, {1, 2, 3}, 2, 0},
    };
    for (const Case& c : cases) {
        Make(0.5, c.X, c.Y, c.n);
        double r = 0.0;
        EXPECT_EQ(Residual(r), c.status) << c.n;
    }
}

} // namespace
} // namespace proctest
