// A two-dimensional distribution over two real domains, driven as the host drives a model:
// its residuals on exact fields, and what the outlines fix beyond each residual: how many
// instances each part writes, in which order, and what a model that cannot be walked does.
#include <algorithm>
#include <map>
#include <set>

#include "tests/distribution/real_model.h"
#include "types/distribution2d/distribution2d.h"
#include "types/distribution2d/statements.h"

namespace testsupport {

namespace dist2d = pellorin::dist2d;
using Model2D = RealModel<QV_DISTRIBUTION2D, 2>;

// In the order of the distribution's arrays.
template <>
std::vector<ArrayRow> Model2D::Arrays() {
    QV_DISTRIBUTION2D& t = distribution;
    constexpr Factor V = Factor::Value, D = Factor::First, S = Factor::Second, I = Factor::Interval;
#define PELLORIN_ROW(NAME, ...)                                                                    \
    Row(#NAME, t.NAME, {&t.QV_##NAME##_SET1, &t.QV_##NAME##_SET2}, {__VA_ARGS__})
    std::vector<ArrayRow> rows = {
        Row("VALUE", *t.VALUE.get(), {&t.QV_VALUE_SET1, &t.QV_VALUE_SET2}, {V, V}),
        PELLORIN_ROW(DDX, D, V),
        PELLORIN_ROW(DDY, V, D),
        PELLORIN_ROW(D2DX2, S, V),
        Row("D2DY2", t.D2DY2, {&t.QV_D2DY2_SET1, &domains[1].INTERIOR}, {V, S}),
        PELLORIN_ROW(IDX, I, V),
        PELLORIN_ROW(IDY, V, I),
        PELLORIN_ROW(IDXDY, I, I)};
#undef PELLORIN_ROW
    return rows;
}
template <>
pellorin::eqn::StatementView Model2D::StatementTable() {
    return dist2d::Statements();
}
// Groups 4, 6, ..., 22 are x blocks, 5, 7, ..., 23 y blocks; of the start values the IDY
// line and IDXDY's x line along y.
template <>
int Model2D::OwnDirection(int statement) {
    const int group = dist2d::Statements().Find(statement)->group;
    if (group <= 3) {
        return statement == 2 || statement == 4 ? 1 : 0;
    }
    return group % 2 == 0 ? 0 : 1;
}

namespace {

// Mixed methods across x and y, 1 to 3 sections, used orders 0 to 2, both boundary
// conditions, every integral.
std::vector<Configuration<2>> Configurations() {
    std::vector<Configuration<2>> all;
    const int n = int(std::size(kMethods));
    const std::string integrals = "idx,idy,idxdy";
    for (int m = 0; m < n; ++m) {
        const std::string own = kMethods[m];
        const std::string other = kMethods[(m + 3) % n];
        const std::string third = kMethods[(m + 7) % n];
        all.push_back({{{{own, 3, "Backward", 2}, {other, 2, "Forward", 1}}}, integrals});
        all.push_back({{{{third, 1, "Forward", 0}, {own, 3, "Backward", 2}}}, integrals});
        all.push_back({{{{own, 3, "Forward", 1}, {own, 2, "Forward", 2}}}, integrals});
    }
    return all;
}

using Distribution2DEndToEnd = EndToEnd<QV_DISTRIBUTION2D, 2>;

TEST_P(Distribution2DEndToEnd, BothWalksAgreeWithinTheDeclaredIndexSets) {
    ExpectWalksAgreeInsideTheSets();
}

TEST_P(Distribution2DEndToEnd, ResidualsAreExactToEachStatementsDegreeAndNoHigher) {
    ExpectExactToEachStatementsDegree();
}

INSTANTIATE_TEST_SUITE_P(MixedMethods, Distribution2DEndToEnd,
                         ::testing::ValuesIn(Configurations()),
                         [](const auto& info) { return TestName(info.param); });

using Structure2D = HostTest;

// The statement numbers of instances [from, to), in order.
std::string Sequence(const QV_EquationStore& store, std::size_t from = 0, std::size_t to = ~0u) {
    std::string out;
    for (std::size_t k = from; k < std::min(to, store.EquationCount()); ++k) {
        out += (out.empty() ? "" : " ") + std::to_string(StatementNumber(store.Equation(k)));
    }
    return out;
}

// The role of the unknown each statement defines: first or second derivative, integral.
int RoleOf(int statement) {
    const pellorin::eqn::StatementView view = pellorin::dist2d::Statements();
    return view.TemplateOf(*view.Find(statement)).term[0].id;
}

struct Counts {
    std::map<int, int> byRole[2]; // per block direction, instances per role of the unknown
    // Per block direction, the own nodes of line 0 whose first derivative has two equations.
    std::set<int> twice[2];
};

Counts CountRoles(const QV_EquationStore& store) {
    Counts c;
    std::map<const QV_VarParam*, int> firstDerivatives[2];
    for (std::size_t k = 0; k < store.EquationCount(); ++k) {
        const QV_EquationView eq = store.Equation(k);
        const int n = StatementNumber(eq);
        if (n > 4) {
            const int d = Model2D::OwnDirection(n);
            ++c.byRole[d][RoleOf(n)];
            firstDerivatives[d][Unknown(eq)] += RoleOf(n) == pellorin::eqn::kD1;
        }
    }
    for (int d = 0; d < 2; ++d) {
        for (const auto& [element, count] : firstDerivatives[d]) {
            const auto index = IndexOf(element);
            if (count == 2 && index[1 - d] == 0) {
                c.twice[d].insert(index[d]);
            }
        }
    }
    return c;
}

// Instance counts in closed form from the domains alone, every method in each direction:
// with both derivative orders 2, a first-derivative instance per node, plus one per join
// (finite differences) or per element boundary inside the domain (collocation, either
// boundary condition); second derivatives at every section's inner nodes or collocation
// points over the other direction's bordered set; an integral per interval of the own
// direction, IDXDY's from x node 1.
TEST_F(Structure2D, EveryPartWritesItsClosedFormCount) {
    const int n = int(std::size(kMethods));
    for (int m = 0; m < n; ++m) {
        for (const char* ebc : {"Backward", "Forward"}) {
            const std::string x = kMethods[m], y = kMethods[(m + 4) % n];
            SCOPED_TRACE(x + " by " + y + " " + ebc);
            auto declared = [&](const std::string& method, int sections) {
                return "DISCRETIZATIONMETHOD=" + method +
                       ";NUMSECTIONS=" + std::to_string(sections) +
                       ";HIGHESTORDERDERIVATIVE=2;ELEMENTBOUNDARYCONDITION=" + ebc;
            };
            auto model = Model2D::From({declared(x, 3), declared(y, 2)}, "INTEGRALS=idx,idy,idxdy");
            const auto outcomes = model->Drive();
            ASSERT_GT(outcomes.back().setUpResult, 0);
            int end[2], bordered[2], joins[2], seconds[2];
            std::set<int> boundaries[2]; // section joins, or element boundaries inside
            for (int d = 0; d < 2; ++d) {
                QV_DOMAIN& domain = model->domains[d];
                end[d] = domain.ENDNODE.v();
                bordered[d] = BorderedSize(domain);
                const int sections = domain.NUMSECTIONS.v();
                const bool ocfe = IsCollocation(domain.DISCRETIZATIONMETHOD.v());
                int elements = 0;
                for (int s = 1; s <= sections; ++s) {
                    const QV_SECTIONDATAMODEL& section = *domain.SECTION.get()->Get(s);
                    elements += section.NUMELEMENTS.v();
                    const int step = section.NODECOUNT.v() / section.NUMELEMENTS.v();
                    for (int k = section.BASE.v(); k < section.BASE.v() + section.NODECOUNT.v();
                         k += ocfe ? step : section.NODECOUNT.v()) {
                        if (k > 0) {
                            boundaries[d].insert(k);
                        }
                    }
                }
                joins[d] = ocfe ? elements - 1 : sections - 1;
                seconds[d] = ocfe ? elements * domain.NUMPOLYPOINTS.v() : end[d] - sections;
            }
            const Counts c = CountRoles(vzt::Equations(model->distribution));
            const int nx = end[0] + 1, ny = end[1] + 1;
            using pellorin::eqn::kD1, pellorin::eqn::kD2, pellorin::eqn::kI;
            EXPECT_EQ(c.byRole[0].at(kD1), nx * ny + joins[0] * ny);
            EXPECT_EQ(c.byRole[1].at(kD1), nx * ny + joins[1] * bordered[0]);
            EXPECT_EQ(c.byRole[0].at(kD2), seconds[0] * bordered[1]);
            EXPECT_EQ(c.byRole[1].at(kD2), seconds[1] * bordered[0]);
            EXPECT_EQ(c.byRole[0].at(kI), ny * end[0]);
            EXPECT_EQ(c.byRole[1].at(kI), nx * end[1] + end[0] * end[1]);
            EXPECT_EQ(c.twice[0], boundaries[0]);
            EXPECT_EQ(c.twice[1], boundaries[1]);
        }
    }
}

// CFD4 with three sections of four nodes, used order 1: the first join's spacings are equal
// and take the five-point stencil across it; the second's differ in the last bit and take
// second-order stencils, the join node's before the one next to it.
TEST_F(Structure2D, Cfd4JoinsFollowTheNeighbouringSpacings) {
    auto model = Model2D::From({"DISCRETIZATIONMETHOD=CFD4;NUMSECTIONS=3;SPACINGPREFERENCE=100",
                                "DISCRETIZATIONMETHOD=BFD1;SPACINGPREFERENCE=100"},
                               "HIGHESTORDERYDERIVATIVEUSED=0");
    model->Drive();
    const QV_EquationStore& store = vzt::Equations(model->distribution);
    ASSERT_EQ(model->domains[1].ENDNODE.v(), 2);
    const std::string line = "77 78 81 86 86 80 81 84 85 79 81 82 83";
    EXPECT_EQ(Sequence(store), line + " " + line + " " + line);
}

// The worked count of an OCFE3 x block: one section of two elements, used order 1, three y
// nodes: 21 instances of six terms each.
TEST_F(Structure2D, Ocfe3FirstDerivativesOverThreeLines) {
    auto model = Model2D::From({"DISCRETIZATIONMETHOD=OCFE3;SPACINGPREFERENCE=0.25",
                                "DISCRETIZATIONMETHOD=OCFE2;SPACINGPREFERENCE=100"},
                               "HIGHESTORDERYDERIVATIVEUSED=0");
    const auto outcomes = model->Drive();
    const QV_EquationStore& store = vzt::Equations(model->distribution);
    EXPECT_EQ(outcomes.back().setUpResult, 21);
    EXPECT_EQ(store.IncidenceCount(), 126u);
    EXPECT_EQ(Sequence(store, 0, 7), "169 171 172 173 171 172 173");
}

// Blocks stand in method order, whichever direction names the method; a method is matched
// ignoring case; with only "idxdy" asked for, IDX is integrated (to be integrated again)
// but IDY is not.
TEST_F(Structure2D, BlocksStandInMethodOrderAndIntegralsFollowTheSelection) {
    auto model = Model2D::From({"DISCRETIZATIONMETHOD=ocfe2;SPACINGPREFERENCE=100",
                                "DISCRETIZATIONMETHOD=bFd1;SPACINGPREFERENCE=100"},
                               "INTEGRALS=idxdy;HIGHESTORDERXDERIVATIVEUSED=0;"
                               "HIGHESTORDERYDERIVATIVEUSED=0");
    model->Drive();
    std::vector<int> order; // the distinct statements, in the order they first appear
    const QV_EquationStore& store = vzt::Equations(model->distribution);
    for (std::size_t k = 0; k < store.EquationCount(); ++k) {
        const int n = StatementNumber(store.Equation(k));
        if (std::find(order.begin(), order.end(), n) == order.end()) {
            order.push_back(n);
        }
    }
    EXPECT_EQ(std::set<int>(order.begin(), order.end()), (std::set<int>{1, 3, 4, 15, 155, 156}))
        << Sequence(store);
    EXPECT_LT(std::find(order.begin(), order.end(), 15),
              std::find(order.begin(), order.end(), 155));
}

// The bordered loops read their iterator through v() in SetUpEquations and through fv() in
// JacPattern: with the host's fv() shifted past the last node, only JacPattern strays
// outside the declared sets, and fails.
TEST_F(Structure2D, BorderedLoopsReadEachWalksOwnAccessor) {
    auto model = Model2D::From({"DISCRETIZATIONMETHOD=BFD1;HIGHESTORDERDERIVATIVE=2",
                                "DISCRETIZATIONMETHOD=BFD1;HIGHESTORDERDERIVATIVE=2"});
    const int instances = model->Drive().back().setUpResult;
    ASSERT_GT(instances, 0);
    vzt::SetIteratorSecondShift(1);
    QV_ModelType::m_stLastGroup = 0;
    EXPECT_EQ(model->distribution.SetUpEquations(), instances);
    std::vector<int> rows(std::size_t(vzt::Equations(model->distribution).IncidenceCount()));
    std::vector<int> cols(rows.size());
    int* r = rows.data();
    int* c = cols.data();
    vzt::SetJacobianBufferEnd(model->distribution, rows.data() + rows.size(),
                              cols.data() + cols.size());
    EXPECT_LT(model->distribution.JacPattern(r, c, nullptr), instances); // the walk stopped
    vzt::SetJacobianBufferEnd(model->distribution, nullptr, nullptr);
    vzt::ClearSecondValues();
}

// Without its y domain, or when its x domain's data would make a stencil reach outside the
// declared sets, the distribution registers nothing of its own, SetUpEquations reports failure
// (JacPattern only passes its counter on), and no element is made outside the sets.
TEST_F(Structure2D, AModelThatCannotBeWalkedFailsWithoutMakingStrayElements) {
    {
        QV_DOMAIN x;
        QV_DISTRIBUTION2D d;
        vzt::Link(d.XDOMAIN, &x);
        const auto outcomes = vzt::Drive({&x, &d});
        EXPECT_LT(outcomes.back().setUpResult, 0);
        EXPECT_FALSE(outcomes.back().jacPatternRan); // the run stops after SetUpEquations
        int* r = nullptr;
        int* c = nullptr;
        EXPECT_EQ(d.JacPattern(r, c, nullptr), 0); // the host's counter, untouched
        EXPECT_EQ(vzt::Equations(d).InstanceCount(), 0u);
    }
    auto model = Model2D::From(
        {"DISCRETIZATIONMETHOD=CFD4;NUMPOLYPOINTS=0;MINNODECOUNT=1;SPACINGPREFERENCE=100",
         "DISCRETIZATIONMETHOD=BFD1"});
    const int lastGroup = QV_ModelType::m_stLastGroup;
    const auto outcomes = model->Drive();
    EXPECT_LT(outcomes.back().setUpResult, 0);
    EXPECT_EQ(vzt::Equations(model->distribution).InstanceCount(), 0u);
    EXPECT_EQ(QV_ModelType::m_stLastGroup, lastGroup);
    model->ExpectLookupsInside();
}

} // namespace
} // namespace testsupport
