// The three-dimensional distribution's index sets, the numbers of its assignments and what
// SetDims binds each array to, over derivative orders 0, 1 and 2, integrals asked for alone
// and the smallest domains.
#include "tests/distribution/assignments.h"
#include "tests/distribution/real_model.h"
#include "types/distribution3d/distribution3d.h"

namespace testsupport {
namespace {

using Model3D = RealModel<QV_DISTRIBUTION3D, 3>;
using IndexSets3D = HostTest;

constexpr vzt::DriveSettings kTags{.a = 7, .b = 3};

std::string Drive(Model3D& m) {
    vzt::Drive({&m.domains[0], &m.domains[1], &m.domains[2], &m.distribution}, kTags);
    return Assignments(m.distribution, kTags.b, kTags.a);
}

TEST_F(IndexSets3D, EverySetFollowsTheDomainsTheOrdersAndTheIntegralsWithItsOwnNumber) {
    const struct {
        std::array<std::string, 3> domains;
        std::string own;
        std::string expected;
    } cases[] = {
        {{"DISCRETIZATIONMETHOD=OCFE2;NUMSECTIONS=2;SPACINGPREFERENCE=0.25;"
          "HIGHESTORDERDERIVATIVE=2",
          "DISCRETIZATIONMETHOD=BFD1;SPACINGPREFERENCE=0.5;HIGHESTORDERDERIVATIVE=2",
          "DISCRETIZATIONMETHOD=CFD2;SPACINGPREFERENCE=0.5;HIGHESTORDERDERIVATIVE=2"},
         "HIGHESTORDERXDERIVATIVEUSED=1;HIGHESTORDERYDERIVATIVEUSED=2;"
         "HIGHESTORDERZDERIVATIVEUSED=0;INTEGRALS=idxdydz",
         "QV_VALUE_SET1=0-4#1 QV_VALUE_SET2=0-2#2 QV_VALUE_SET3=0-2#3 "
         "HIGHESTORDERXDERIVATIVE#41 HIGHESTORDERYDERIVATIVE#42 HIGHESTORDERZDERIVATIVE#43 "
         "HIGHESTORDERXDERIVATIVEUSED#44 HIGHESTORDERYDERIVATIVEUSED#45 "
         "HIGHESTORDERZDERIVATIVEUSED#46 INTEGRALS#47 QV_DDX_SET1=0-4#4 QV_DDX_SET2=0-2#5 "
         "QV_DDX_SET3=0-2#6 QV_DDY_SET1=0-4#7 QV_DDY_SET2=0-2#8 QV_DDY_SET3=0-2#9 "
         "QV_DDZ_SET1=0#10 QV_DDZ_SET2=0-2#11 QV_DDZ_SET3=0-2#12 QV_D2DX2_SET1=-#13 "
         "QV_D2DX2_SET2=0-2#14 QV_D2DX2_SET3=0-2#15 QV_D2DY2_SET1=0-1,3-4#16 "
         "QV_D2DY2_SET3=0-2#17 QV_D2DZ2_SET1=0#18 QV_D2DZ2_SET2=0-2#19 QV_IDX_SET1=0-4#20 "
         "QV_IDX_SET2=0-2#21 QV_IDX_SET3=0-2#22 QV_IDY_SET1=-#23 QV_IDY_SET2=0-2#24 "
         "QV_IDY_SET3=0-2#25 QV_IDZ_SET1=-#26 QV_IDZ_SET2=0-2#27 QV_IDZ_SET3=0-2#28 "
         "QV_IDXDY_SET1=0-4#29 QV_IDXDY_SET2=0-2#30 QV_IDXDY_SET3=0-2#31 QV_IDXDZ_SET1=-#32 "
         "QV_IDXDZ_SET2=0-2#33 QV_IDXDZ_SET3=0-2#34 QV_IDYDZ_SET1=-#35 QV_IDYDZ_SET2=0-2#36 "
         "QV_IDYDZ_SET3=0-2#37 QV_IDXDYDZ_SET1=0-4#38 QV_IDXDYDZ_SET2=0-2#39 "
         "QV_IDXDYDZ_SET3=0-2#40"},
        {{"DISCRETIZATIONMETHOD=BFD1;MINNODECOUNT=1;SPACINGPREFERENCE=100;"
          "HIGHESTORDERDERIVATIVE=2",
          "DISCRETIZATIONMETHOD=OCFE2;NUMSECTIONS=2;SPACINGPREFERENCE=0.5",
          "DISCRETIZATIONMETHOD=BFD1;MINNODECOUNT=1;SPACINGPREFERENCE=100;"
          "HIGHESTORDERDERIVATIVE=2"},
         "HIGHESTORDERXDERIVATIVEUSED=2;HIGHESTORDERYDERIVATIVEUSED=1;"
         "HIGHESTORDERZDERIVATIVEUSED=2;INTEGRALS=idxdz,idy",
         "QV_VALUE_SET1=0-1#1 QV_VALUE_SET2=0-4#2 QV_VALUE_SET3=0-1#3 "
         "HIGHESTORDERXDERIVATIVE#41 HIGHESTORDERYDERIVATIVE#42 HIGHESTORDERZDERIVATIVE#43 "
         "HIGHESTORDERXDERIVATIVEUSED#44 HIGHESTORDERYDERIVATIVEUSED#45 "
         "HIGHESTORDERZDERIVATIVEUSED#46 INTEGRALS#47 QV_DDX_SET1=0-1#4 QV_DDX_SET2=0-4#5 "
         "QV_DDX_SET3=0-1#6 QV_DDY_SET1=0-1#7 QV_DDY_SET2=0-4#8 QV_DDY_SET3=0-1#9 "
         "QV_DDZ_SET1=0-1#10 QV_DDZ_SET2=0-4#11 QV_DDZ_SET3=0-1#12 QV_D2DX2_SET1=-#13 "
         "QV_D2DX2_SET2=0-4#14 QV_D2DX2_SET3=0-1#15 QV_D2DY2_SET1=0#16 QV_D2DY2_SET3=0-1#17 "
         "QV_D2DZ2_SET1=0-1#18 QV_D2DZ2_SET2=0-4#19 QV_IDX_SET1=0-1#20 QV_IDX_SET2=0-4#21 "
         "QV_IDX_SET3=0-1#22 QV_IDY_SET1=0-1#23 QV_IDY_SET2=0-4#24 QV_IDY_SET3=0-1#25 "
         "QV_IDZ_SET1=-#26 QV_IDZ_SET2=0-4#27 QV_IDZ_SET3=0-1#28 QV_IDXDY_SET1=-#29 "
         "QV_IDXDY_SET2=0-4#30 QV_IDXDY_SET3=0-1#31 QV_IDXDZ_SET1=0-1#32 QV_IDXDZ_SET2=0-4#33 "
         "QV_IDXDZ_SET3=0-1#34 QV_IDYDZ_SET1=-#35 QV_IDYDZ_SET2=0-4#36 QV_IDYDZ_SET3=0-1#37 "
         "QV_IDXDYDZ_SET1=-#38 QV_IDXDYDZ_SET2=0-4#39 QV_IDXDYDZ_SET3=0-1#40"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.domains[0] + " / " + c.domains[1] + " / " + c.domains[2] + " / " + c.own);
        auto m = Model3D::From(c.domains, c.own);
        EXPECT_EQ(Drive(*m), c.expected);
    }
}

TEST_F(IndexSets3D, SetDimsBindsD2dy2AndD2dz2AlongTheirDirectionToThatDomainsInterior) {
    auto m = Model3D::From(
        {"DISCRETIZATIONMETHOD=BFD1", "DISCRETIZATIONMETHOD=OCFE2", "DISCRETIZATIONMETHOD=CFD4"});
    Drive(*m);
    EXPECT_EQ(Bindings(m->distribution, {{"", &m->distribution},
                                         {"x.", &m->domains[0]},
                                         {"y.", &m->domains[1]},
                                         {"z.", &m->domains[2]}}),
              "VALUE: QV_VALUE_SET1 QV_VALUE_SET2 QV_VALUE_SET3; DDX: QV_DDX_SET1 QV_DDX_SET2 "
              "QV_DDX_SET3; DDY: QV_DDY_SET1 QV_DDY_SET2 QV_DDY_SET3; DDZ: QV_DDZ_SET1 "
              "QV_DDZ_SET2 QV_DDZ_SET3; D2DX2: QV_D2DX2_SET1 QV_D2DX2_SET2 QV_D2DX2_SET3; "
              "D2DY2: QV_D2DY2_SET1 y.INTERIOR QV_D2DY2_SET3; D2DZ2: QV_D2DZ2_SET1 "
              "QV_D2DZ2_SET2 z.INTERIOR; IDX: QV_IDX_SET1 QV_IDX_SET2 QV_IDX_SET3; IDY: "
              "QV_IDY_SET1 QV_IDY_SET2 QV_IDY_SET3; IDZ: QV_IDZ_SET1 QV_IDZ_SET2 QV_IDZ_SET3; "
              "IDXDY: QV_IDXDY_SET1 QV_IDXDY_SET2 QV_IDXDY_SET3; IDXDZ: QV_IDXDZ_SET1 "
              "QV_IDXDZ_SET2 QV_IDXDZ_SET3; IDYDZ: QV_IDYDZ_SET1 QV_IDYDZ_SET2 QV_IDYDZ_SET3; "
              "IDXDYDZ: QV_IDXDYDZ_SET1 QV_IDXDYDZ_SET2 QV_IDXDYDZ_SET3");
}

} // namespace
} // namespace testsupport
