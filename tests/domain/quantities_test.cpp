// The physical quantities the host reads from the angle and length parameters: nothing else
// of the library shows them, so a slip in one would reach the host's units unnoticed.
#include <gtest/gtest.h>

#include "types/domain/parameters.h"

namespace {

TEST(Quantities, AnglesAreInRadiansAndLengthsInMetres) {
    QV_ANGLEPARAMETER angle;
    QV_LENGTHPARAMETER length;
    struct Case {
        const QV_REALPARAMETER& parameter;
        const char *quantity, *unit;
        int row;
    };
    for (const Case& c : {Case{angle, "Angle", "rad", 32}, Case{length, "Length", "m", 17}}) {
        EXPECT_STREQ(c.parameter.QV_DefaultPHYSICALQUANTITY()->AsText(), c.quantity);
        EXPECT_STREQ(c.parameter.QV_DefaultBASEUOMNAME()->AsText(), c.unit) << c.quantity;
        EXPECT_EQ(c.parameter.QV_PQRow(), c.row) << c.quantity;
        EXPECT_EQ(c.parameter.QV_PQCol(), 1) << c.quantity;
    }
}

} // namespace
