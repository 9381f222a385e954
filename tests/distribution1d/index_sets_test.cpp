// The one-dimensional distribution's index sets, the numbers of its assignments and what
// SetDims binds each array to, over derivative orders 0, 1 and 2, with and without the
// integral, and the smallest domain.
#include "tests/distribution/real_model.h"
#include "types/distribution/grid_context.h"
#include "types/distribution1d/arrays.h"
#include "types/distribution1d/distribution1d.h"

namespace testsupport {
namespace {

using Model1D = RealModel<QV_DISTRIBUTION1D, 1>;
using IndexSets1D = HostTest;

TEST_F(IndexSets1D, EverySetFollowsTheDomainTheOrderAndTheIntegralWithItsOwnNumber) {
    const struct {
        std::string domain;
        std::string own;
        std::string expected;
    } cases[] = {
        {"DISCRETIZATIONMETHOD=OCFE3;NUMSECTIONS=2;SPACINGPREFERENCE=0.5;HIGHESTORDERDERIVATIVE=2",
         "INTEGRALS=idx",
         "QV_VALUE_SET1=0-6#1 HIGHESTORDERXDERIVATIVE#5 HIGHESTORDERXDERIVATIVEUSED#6 INTEGRALS#7 "
         "QV_DDX_SET1=0-6#2 QV_D2DX2_SET1=1-2,4-5#3 QV_IDX_SET1=0-6#4"},
        {"DISCRETIZATIONMETHOD=CFD2;SPACINGPREFERENCE=0.25;HIGHESTORDERDERIVATIVE=2",
         "HIGHESTORDERXDERIVATIVEUSED=1",
         "QV_VALUE_SET1=0-4#1 HIGHESTORDERXDERIVATIVE#5 HIGHESTORDERXDERIVATIVEUSED#6 INTEGRALS#7 "
         "QV_DDX_SET1=0-4#2 QV_D2DX2_SET1=-#3 QV_IDX_SET1=-#4"},
        {"DISCRETIZATIONMETHOD=BFD1;MINNODECOUNT=1;SPACINGPREFERENCE=100",
         "HIGHESTORDERXDERIVATIVEUSED=0;INTEGRALS=idx",
         "QV_VALUE_SET1=0-1#1 HIGHESTORDERXDERIVATIVE#5 HIGHESTORDERXDERIVATIVEUSED#6 INTEGRALS#7 "
         "QV_DDX_SET1=0#2 QV_D2DX2_SET1=-#3 QV_IDX_SET1=0-1#4"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.domain + " / " + c.own);
        auto m = Model1D::From({c.domain}, c.own);
        EXPECT_EQ(m->AssignmentsAfterDrive(), c.expected);
    }
}

TEST_F(IndexSets1D, SetDimsBindsEveryArrayToItsOwnSet) {
    auto m = Model1D::From({"DISCRETIZATIONMETHOD=OCFE2"});
    m->Drive();
    EXPECT_EQ(Bindings(m->distribution, {{"", &m->distribution}, {"x.", &m->domains[0]}}),
              "VALUE: QV_VALUE_SET1; DDX: QV_DDX_SET1; D2DX2: QV_D2DX2_SET1; IDX: QV_IDX_SET1");
}

using Context = pellorin::eqn::GridContext<1>;

// The walk's context of the model's distribution over the given arrays.
Context ContextOf(Model1D& m, const Context::Arrays& arrays, int count) {
    QV_DISTRIBUTION1D& d = m.distribution;
    return Context({&m.domains[0]},
                   {{&d.HIGHESTORDERXDERIVATIVEUSED},
                    {&d.HIGHESTORDERXDERIVATIVE},
                    &d.INTEGRALS,
                    pellorin::dist1d::kIntegrals},
                   arrays, count);
}

// A walk is checked a run of nodes at a time against the declared sets, before anything is
// registered: a run is covered only when every node of it is in the set, whichever end it is
// given from, even when both its ends are.
TEST_F(IndexSets1D, ARunOfNodesIsCoveredOnlyWhenEveryNodeIsInTheSet) {
    auto m = Model1D::From({"DISCRETIZATIONMETHOD=OCFE3;NUMSECTIONS=2;SPACINGPREFERENCE=0.5;"
                            "HIGHESTORDERDERIVATIVE=2"});
    m->Drive();
    QV_DISTRIBUTION1D& d = m->distribution;
    ASSERT_EQ(Members(d.QV_D2DX2_SET1.v()), (std::vector<int>{1, 2, 4, 5}));
    Context::Arrays arrays{};
    arrays[0] = {&d.D2DX2, {&d.QV_D2DX2_SET1}};
    arrays[1] = {nullptr, {&d.QV_VALUE_SET1}};
    Context context = ContextOf(*m, arrays, 2);
    const struct {
        int array, from, to;
        bool covered;
    } cases[] = {
        {0, 1, 2, true},  {0, 2, 1, true},  {0, 4, 5, true},  {0, 5, 5, true},
        {0, 1, 4, false}, {0, 2, 4, false}, {0, 5, 1, false}, {0, 0, 2, false},
        {0, 5, 6, false}, {0, 3, 3, false}, {1, 0, 0, false}, {2, 1, 1, false},
    };
    for (const auto& c : cases) {
        const int index[3] = {c.from, 0, 0};
        EXPECT_EQ(context.ArrayCovers(c.array, index, 0, c.to), c.covered)
            << c.array << ": " << c.from << " to " << c.to;
    }
}

// A walk keeps the answers it had from the sets; the next walk asks the sets again, so a set
// changed between two walks is read as it now stands.
TEST_F(IndexSets1D, ANewWalkReadsASetThatChangedSinceTheLast) {
    auto m = Model1D::From({"DISCRETIZATIONMETHOD=OCFE3;NUMSECTIONS=2;SPACINGPREFERENCE=0.5;"
                            "HIGHESTORDERDERIVATIVE=2"});
    m->Drive();
    QV_DISTRIBUTION1D& d = m->distribution;
    Context::Arrays arrays{};
    arrays[0] = {&d.D2DX2, {&d.QV_D2DX2_SET1}};
    Context context = ContextOf(*m, arrays, 1);
    const int one[3] = {1, 0, 0};
    const int three[3] = {3, 0, 0};
    context.BeginWalk(pellorin::eqn::WalkKind::SetUp);
    EXPECT_TRUE(context.ArrayCovers(0, one, 0, 2));
    EXPECT_FALSE(context.ArrayCovers(0, three, 0, 3));

    ASSERT_TRUE(vzt::Specify(d.QV_D2DX2_SET1, QV_Value(QV_IntSetValue(2, 3), 0u)));
    context.BeginWalk(pellorin::eqn::WalkKind::SetUp);
    EXPECT_FALSE(context.ArrayCovers(0, one, 0, 2));
    EXPECT_TRUE(context.ArrayCovers(0, three, 0, 3));
}

} // namespace
} // namespace testsupport
