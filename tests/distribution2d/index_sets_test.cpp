// The two-dimensional distribution's index sets, the numbers of its assignments and what
// SetDims binds each array to, over derivative orders 0, 1 and 2, integrals asked for alone
// and one-node domains.
#include "tests/distribution/real_model.h"
#include "types/distribution2d/distribution2d.h"

namespace testsupport {
namespace {

using Model2D = RealModel<QV_DISTRIBUTION2D, 2>;
using IndexSets2D = HostTest;

TEST_F(IndexSets2D, EverySetFollowsTheDomainsTheOrdersAndTheIntegralsWithItsOwnNumber) {
    const struct {
        std::array<std::string, 2> domains;
        std::string own;
        std::string expected;
    } cases[] = {
        {{"DISCRETIZATIONMETHOD=OCFE2;NUMSECTIONS=2;SPACINGPREFERENCE=0.25;"
          "HIGHESTORDERDERIVATIVE=2",
          "DISCRETIZATIONMETHOD=BFD1;SPACINGPREFERENCE=0.25"},
         "HIGHESTORDERXDERIVATIVEUSED=2;HIGHESTORDERYDERIVATIVEUSED=1;INTEGRALS=idxdy",
         "QV_VALUE_SET1=0-4#1 QV_VALUE_SET2=0-4#2 HIGHESTORDERXDERIVATIVE#16 "
         "HIGHESTORDERYDERIVATIVE#17 HIGHESTORDERXDERIVATIVEUSED#18 "
         "HIGHESTORDERYDERIVATIVEUSED#19 INTEGRALS#20 QV_DDX_SET1=0-4#3 QV_DDX_SET2=0-4#4 "
         "QV_DDY_SET1=0-4#5 QV_DDY_SET2=0-4#6 QV_D2DX2_SET1=1,3#7 QV_D2DX2_SET2=0-4#8 "
         "QV_D2DY2_SET1=0#9 QV_IDX_SET1=0-4#10 QV_IDX_SET2=0-4#11 QV_IDY_SET1=-#12 "
         "QV_IDY_SET2=0-4#13 QV_IDXDY_SET1=0-4#14 QV_IDXDY_SET2=0-4#15"},
        {{"DISCRETIZATIONMETHOD=CFD2;SPACINGPREFERENCE=0.25;HIGHESTORDERDERIVATIVE=2",
          "DISCRETIZATIONMETHOD=OCFE3;NUMSECTIONS=2;SPACINGPREFERENCE=0.5;"
          "HIGHESTORDERDERIVATIVE=2"},
         "HIGHESTORDERXDERIVATIVEUSED=0;HIGHESTORDERYDERIVATIVEUSED=2;INTEGRALS=idy",
         "QV_VALUE_SET1=0-4#1 QV_VALUE_SET2=0-6#2 HIGHESTORDERXDERIVATIVE#16 "
         "HIGHESTORDERYDERIVATIVE#17 HIGHESTORDERXDERIVATIVEUSED#18 "
         "HIGHESTORDERYDERIVATIVEUSED#19 INTEGRALS#20 QV_DDX_SET1=0#3 QV_DDX_SET2=0-6#4 "
         "QV_DDY_SET1=0-4#5 QV_DDY_SET2=0-6#6 QV_D2DX2_SET1=-#7 QV_D2DX2_SET2=0-2,4-6#8 "
         "QV_D2DY2_SET1=0-4#9 QV_IDX_SET1=-#10 QV_IDX_SET2=0-6#11 QV_IDY_SET1=0-4#12 "
         "QV_IDY_SET2=0-6#13 QV_IDXDY_SET1=-#14 QV_IDXDY_SET2=0-6#15"},
        {{"DISCRETIZATIONMETHOD=BFD1;MINNODECOUNT=1;SPACINGPREFERENCE=100",
          "DISCRETIZATIONMETHOD=BFD1;MINNODECOUNT=1;SPACINGPREFERENCE=100"},
         "",
         "QV_VALUE_SET1=0-1#1 QV_VALUE_SET2=0-1#2 HIGHESTORDERXDERIVATIVE#16 "
         "HIGHESTORDERYDERIVATIVE#17 HIGHESTORDERXDERIVATIVEUSED#18 "
         "HIGHESTORDERYDERIVATIVEUSED#19 INTEGRALS#20 QV_DDX_SET1=0-1#3 QV_DDX_SET2=0-1#4 "
         "QV_DDY_SET1=0-1#5 QV_DDY_SET2=0-1#6 QV_D2DX2_SET1=-#7 QV_D2DX2_SET2=0-1#8 "
         "QV_D2DY2_SET1=0#9 QV_IDX_SET1=-#10 QV_IDX_SET2=0-1#11 QV_IDY_SET1=-#12 "
         "QV_IDY_SET2=0-1#13 QV_IDXDY_SET1=-#14 QV_IDXDY_SET2=0-1#15"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.domains[0] + " / " + c.domains[1] + " / " + c.own);
        auto m = Model2D::From(c.domains, c.own);
        EXPECT_EQ(m->AssignmentsAfterDrive(), c.expected);
    }
}

TEST_F(IndexSets2D, SetDimsBindsD2dy2AlongYToTheYDomainsInterior) {
    auto m = Model2D::From({"DISCRETIZATIONMETHOD=BFD1", "DISCRETIZATIONMETHOD=OCFE2"});
    m->Drive();
    EXPECT_EQ(Bindings(m->distribution,
                       {{"", &m->distribution}, {"x.", &m->domains[0]}, {"y.", &m->domains[1]}}),
              "VALUE: QV_VALUE_SET1 QV_VALUE_SET2; DDX: QV_DDX_SET1 QV_DDX_SET2; "
              "DDY: QV_DDY_SET1 QV_DDY_SET2; D2DX2: QV_D2DX2_SET1 QV_D2DX2_SET2; "
              "D2DY2: QV_D2DY2_SET1 y.INTERIOR; IDX: QV_IDX_SET1 QV_IDX_SET2; "
              "IDY: QV_IDY_SET1 QV_IDY_SET2; IDXDY: QV_IDXDY_SET1 QV_IDXDY_SET2");
}

} // namespace
} // namespace testsupport
