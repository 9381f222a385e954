// A three-dimensional distribution over three real domains, driven as the host drives a
// model: its residuals on exact fields, the structure of its walks, the instance orders its
// outlines fix, and the failures it reports.
#include <algorithm>
#include <map>
#include <set>

#include "tests/distribution/real_model.h"
#include "types/distribution3d/distribution3d.h"
#include "types/distribution3d/statements.h"

namespace testsupport {

namespace dist3d = pellorin::dist3d;
using Model3D = RealModel<QV_DISTRIBUTION3D, 3>;

// In the order of the distribution's arrays.
template <>
std::vector<ArrayRow> Model3D::Arrays() {
    QV_DISTRIBUTION3D& t = distribution;
    constexpr Factor V = Factor::Value, D = Factor::First, S = Factor::Second, I = Factor::Interval;
#define PELLORIN_ROW(NAME, ...)                                                                    \
    Row(#NAME, t.NAME, {&t.QV_##NAME##_SET1, &t.QV_##NAME##_SET2, &t.QV_##NAME##_SET3},            \
        {__VA_ARGS__})
    std::vector<ArrayRow> rows = {
        Row("VALUE", *t.VALUE.get(), {&t.QV_VALUE_SET1, &t.QV_VALUE_SET2, &t.QV_VALUE_SET3},
            {V, V, V}),
        PELLORIN_ROW(DDX, D, V, V),
        PELLORIN_ROW(DDY, V, D, V),
        PELLORIN_ROW(DDZ, V, V, D),
        PELLORIN_ROW(D2DX2, S, V, V),
        Row("D2DY2", t.D2DY2, {&t.QV_D2DY2_SET1, &domains[1].INTERIOR, &t.QV_D2DY2_SET3},
            {V, S, V}),
        Row("D2DZ2", t.D2DZ2, {&t.QV_D2DZ2_SET1, &t.QV_D2DZ2_SET2, &domains[2].INTERIOR},
            {V, V, S}),
        PELLORIN_ROW(IDX, I, V, V),
        PELLORIN_ROW(IDY, V, I, V),
        PELLORIN_ROW(IDZ, V, V, I),
        PELLORIN_ROW(IDXDY, I, I, V),
        PELLORIN_ROW(IDXDZ, I, V, I),
        PELLORIN_ROW(IDYDZ, V, I, I),
        PELLORIN_ROW(IDXDYDZ, I, I, I)};
#undef PELLORIN_ROW
    return rows;
}
template <>
pellorin::eqn::StatementView Model3D::StatementTable() {
    return dist3d::Statements();
}
// Blocks: group 8 + 3 m + d. Start values: each holds its integral along one direction.
template <>
int Model3D::OwnDirection(int statement) {
    static constexpr std::array<int, 13> kStart = {0, 0, 1, 2, 0, 1, 0, 2, 1, 2, 0, 1, 2};
    const int group = dist3d::Statements().Find(statement)->group;
    return group <= 7 ? kStart.at(statement) : (group - 8) % 3;
}

namespace {

// Every method in every direction, mixed with others so that method-major order matters,
// 1 to 3 sections, used orders 0 to 2, both boundary conditions, all seven integrals.
std::vector<Configuration<3>> Configurations() {
    std::vector<Configuration<3>> all;
    const int n = int(std::size(kMethods));
    const std::string integrals = "idx,idy,idz,idxdy,idxdz,idydz,idxdydz";
    for (int m = 0; m < n; ++m) {
        const std::string own = kMethods[m], a = kMethods[(m + 3) % n], b = kMethods[(m + 6) % n];
        all.push_back(
            {{{{own, 2, "Backward", 2}, {a, 1, "Forward", 1}, {b, 1, "Backward", 2}}}, integrals});
        all.push_back(
            {{{{b, 1, "Forward", 0}, {own, 3, "Forward", 2}, {a, 1, "Backward", 1}}}, integrals});
        all.push_back(
            {{{{a, 1, "Backward", 2}, {b, 1, "Backward", 2}, {own, 2, "Backward", 2}}}, integrals});
    }
    return all;
}

using Distribution3DEndToEnd = EndToEnd<QV_DISTRIBUTION3D, 3>;

TEST_P(Distribution3DEndToEnd, BothWalksAgreeWithinTheDeclaredIndexSets) {
    ExpectWalksAgreeInsideTheSets();
}

TEST_P(Distribution3DEndToEnd, ResidualsAreExactToEachStatementsDegreeAndNoHigher) {
    ExpectExactToEachStatementsDegree();
}

INSTANTIATE_TEST_SUITE_P(MixedMethods, Distribution3DEndToEnd,
                         ::testing::ValuesIn(Configurations()),
                         [](const auto& info) { return TestName(info.param); });

using Structure3D = HostTest;

// A domain of one node: its blocks, with their used order 0, write nothing.
const std::string kPoint = "ENDNODE=0;INTERIOR=";

// "N@a" per instance, a the unknown's index along `direction`, runs of one statement at
// consecutive nodes joined: "13@0 14@1-6".
std::string Order(const QV_EquationStore& store, int direction) {
    std::string out;
    int last = 0, from = 0, to = 0;
    auto flush = [&] {
        if (last != 0) {
            out += (out.empty() ? "" : " ") + std::to_string(last) + "@" + std::to_string(from) +
                   (to > from ? "-" + std::to_string(to) : "");
        }
    };
    for (std::size_t k = 0; k < store.EquationCount(); ++k) {
        const QV_EquationView eq = store.Equation(k);
        const int n = StatementNumber(eq);
        const int at = IndexOf(Unknown(eq))[direction];
        if (n == last && at == to + 1) {
            to = at;
            continue;
        }
        flush();
        last = n, from = at, to = at;
    }
    flush();
    return out;
}

// Instance orders along x with y and z a single node, two x sections, used order 2.
TEST_F(Structure3D, XBlocksWriteTheirInstancesInTheOrderTheOutlinesGive) {
    const struct {
        const char* x;
        const char* order;
    } cases[] = {
        {"DISCRETIZATIONMETHOD=BFD1;SPACINGPREFERENCE=0.16666", "13@0 14@1-6 15@1-2 15@4-5 16@3"},
        {"DISCRETIZATIONMETHOD=FFD1;SPACINGPREFERENCE=0.16666", "61@0-5 62@6 63@1-2 64@3 63@4-5"},
        {"DISCRETIZATIONMETHOD=UBFD4",
         "211@0 212@1 213@2 214@3-7 215@8 212@9 213@10 214@11-15 215@16 216@1 217@2 218@3-7 "
         "216@9 217@10 218@11-15 219@8"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        auto model = Model3D::From(
            {std::string(c.x) + ";NUMSECTIONS=2;HIGHESTORDERDERIVATIVE=2", kPoint, kPoint},
            "HIGHESTORDERYDERIVATIVEUSED=0;HIGHESTORDERZDERIVATIVEUSED=0");
        ASSERT_GT(model->Drive().back().setUpResult, 0);
        EXPECT_EQ(Order(vzt::Equations(model->distribution), 0), c.order);
    }
}

// The other two directions' loops nest in the order each (method, direction, part) gives:
// the first-derivative lines of a y block run i outer, k inner, for UBFD4 but k outer for
// BFD1.
TEST_F(Structure3D, OtherDirectionsNestInEachBlocksOwnOrder) {
    for (const auto& [method, lines] : std::map<std::string, std::string>{
             {"UBFD4", "(0,0) (0,1) (1,0) (1,1)"}, {"BFD1", "(0,0) (1,0) (0,1) (1,1)"}}) {
        SCOPED_TRACE(method);
        const std::string line = "ENDNODE=1;INTERIOR=";
        auto model = Model3D::From({line, "DISCRETIZATIONMETHOD=" + method, line},
                                   "HIGHESTORDERXDERIVATIVEUSED=0;HIGHESTORDERYDERIVATIVEUSED=1;"
                                   "HIGHESTORDERZDERIVATIVEUSED=0");
        ASSERT_GT(model->Drive().back().setUpResult, 0);
        std::string seen;
        std::set<std::pair<int, int>> visited;
        const QV_EquationStore& store = vzt::Equations(model->distribution);
        for (std::size_t k = 0; k < store.EquationCount(); ++k) {
            const auto index = IndexOf(Unknown(store.Equation(k)));
            if (visited.insert({index[0], index[2]}).second) {
                seen += (seen.empty() ? "(" : " (") + std::to_string(index[0]) + "," +
                        std::to_string(index[2]) + ")";
            }
        }
        EXPECT_EQ(seen, lines);
    }
}

// Blocks stand method-major: with x on CFD4 and y on BFD1, the BFD1 y block comes first.
TEST_F(Structure3D, BlocksStandInMethodOrderWhateverTheirDirection) {
    auto model = Model3D::From({"DISCRETIZATIONMETHOD=CFD4", "DISCRETIZATIONMETHOD=BFD1", kPoint},
                               "HIGHESTORDERZDERIVATIVEUSED=0");
    ASSERT_GT(model->Drive().back().setUpResult, 0);
    const QV_EquationStore& store = vzt::Equations(model->distribution);
    EXPECT_EQ(StatementNumber(store.Equation(0)), 18);
    EXPECT_EQ(StatementNumber(store.Equation(store.EquationCount() - 1)), 147);
}

// With both used orders 2 on every direction: one first-derivative equation per node, plus
// one per join (differences) or element boundary inside the domain (collocation, either
// boundary condition) on each line; a join's lines run over the bordered sets of the
// directions before its own and the full ranges of those after it, so where joins of
// several directions meet only one extra equation is written.
TEST_F(Structure3D, JoinsAndContinuityCountOncePerLine) {
    const int n = int(std::size(kMethods));
    for (int m = 0; m < n; ++m) {
        for (const char* ebc : {"Backward", "Forward"}) {
            const std::string methods[] = {kMethods[m], kMethods[(m + 4) % n],
                                           kMethods[(m + 8) % n]};
            SCOPED_TRACE(methods[0] + " " + methods[1] + " " + methods[2] + " " + ebc);
            std::array<std::string, 3> specs;
            for (int d = 0; d < 3; ++d) {
                specs[d] =
                    "DISCRETIZATIONMETHOD=" + methods[d] +
                    ";NUMSECTIONS=2;HIGHESTORDERDERIVATIVE=2;ELEMENTBOUNDARYCONDITION=" + ebc;
            }
            auto model = Model3D::From(specs);
            ASSERT_GT(model->Drive().back().setUpResult, 0);
            int end[3], bordered[3], extra[3];
            for (int d = 0; d < 3; ++d) {
                QV_DOMAIN& domain = model->domains[d];
                end[d] = domain.ENDNODE.v();
                bordered[d] = BorderedSize(domain);
                int elements = 0;
                for (int s = 1; s <= domain.NUMSECTIONS.v(); ++s) {
                    elements += domain.SECTION.get()->Get(s)->NUMELEMENTS.v();
                }
                extra[d] = IsCollocation(methods[d]) ? elements - 1 : domain.NUMSECTIONS.v() - 1;
            }
            std::map<int, int> firstDerivatives;
            const QV_EquationStore& store = vzt::Equations(model->distribution);
            const pellorin::eqn::StatementView view = pellorin::dist3d::Statements();
            for (std::size_t k = 0; k < store.EquationCount(); ++k) {
                const int s = StatementNumber(store.Equation(k));
                if (s > 12 && view.TemplateOf(*view.Find(s)).term[0].id == pellorin::eqn::kD1) {
                    ++firstDerivatives[Model3D::OwnDirection(s)];
                }
            }
            const int nodes = (end[0] + 1) * (end[1] + 1) * (end[2] + 1);
            for (int d = 0; d < 3; ++d) {
                int lines = 1;
                for (int o = 0; o < 3; ++o) {
                    lines *= o == d ? 1 : o < d ? bordered[o] : end[o] + 1;
                }
                EXPECT_EQ(firstDerivatives[d], nodes + extra[d] * lines) << "direction " << d;
            }
        }
    }
}

// Without its z domain, or when a domain's data would make a stencil reach outside the
// declared sets, the distribution registers nothing of its own, SetUpEquations reports failure
// (JacPattern only passes its counter on), and no element is made outside the sets.
TEST_F(Structure3D, AModelThatCannotBeWalkedFailsWithoutMakingStrayElements) {
    {
        QV_DOMAIN x, y;
        QV_DISTRIBUTION3D d;
        vzt::Link(d.XDOMAIN, &x);
        vzt::Link(d.YDOMAIN, &y);
        const auto outcomes = vzt::Drive({&x, &y, &d});
        EXPECT_LT(outcomes.back().setUpResult, 0);
        EXPECT_FALSE(outcomes.back().jacPatternRan); // the run stops after SetUpEquations
        int* r = nullptr;
        int* c = nullptr;
        EXPECT_EQ(d.JacPattern(r, c, nullptr), 0); // the host's counter, untouched
        EXPECT_EQ(vzt::Equations(d).InstanceCount(), 0u);
    }
    auto model = Model3D::From(
        {"DISCRETIZATIONMETHOD=BFD1",
         "DISCRETIZATIONMETHOD=CFD4;NUMPOLYPOINTS=0;MINNODECOUNT=1;SPACINGPREFERENCE=100",
         "DISCRETIZATIONMETHOD=BFD1"});
    const int lastGroup = QV_ModelType::m_stLastGroup;
    const auto outcomes = model->Drive();
    EXPECT_LT(outcomes.back().setUpResult, 0);
    EXPECT_EQ(vzt::Equations(model->distribution).InstanceCount(), 0u);
    EXPECT_EQ(QV_ModelType::m_stLastGroup, lastGroup);
    model->ExpectLookupsInside();
}

// The walk is checked whole before anything is registered, also where a declared set along a
// direction the statements do not run in leaves out its first node, its last, or one in
// between: SetUpEquations then fails and registers nothing, and makes no stray element.
// With the whole set, the same model registers every instance.
TEST_F(Structure3D, ADeclaredSetMissingANodeAcrossTheWalkFailsSetUpWhole) {
    const struct {
        const char* set;
        std::vector<std::pair<int, int>> runs; // of a domain with ENDNODE 4
        bool walks;
    } cases[] = {
        {"QV_DDX_SET2", {{0, 4}}, true},          {"QV_DDX_SET2", {{0, 3}}, false},
        {"QV_DDX_SET2", {{1, 4}}, false},         {"QV_DDX_SET2", {{0, 1}, {3, 4}}, false},
        {"QV_DDX_SET3", {{0, 2}, {4, 4}}, false}, {"QV_IDY_SET3", {{0, 0}, {2, 4}}, false},
        {"QV_D2DZ2_SET1", {{0, 3}}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.set + std::string(c.runs.size() > 1 ? " with a gap" : ""));
        vzt::Reset();
        auto model = Model3D::From(
            {"DISCRETIZATIONMETHOD=CFD2;SPACINGPREFERENCE=0.25;HIGHESTORDERDERIVATIVE=2",
             "DISCRETIZATIONMETHOD=BFD1;SPACINGPREFERENCE=0.25",
             "DISCRETIZATIONMETHOD=FFD2;SPACINGPREFERENCE=0.25;HIGHESTORDERDERIVATIVE=2;"
             "ELEMENTBOUNDARYCONDITION=Forward"},
            "INTEGRALS=idx,idy,idz,idxdy,idxdz,idydz,idxdydz");
        QV_SetValue members;
        for (const auto& [lo, hi] : c.runs) {
            members += QV_IntSetValue(lo, hi);
        }
        auto* set = dynamic_cast<QV_Set*>(vzt::FindProperty(model->distribution, c.set));
        ASSERT_NE(set, nullptr);
        ASSERT_TRUE(vzt::Specify(*set, QV_Value(members, 0u)));
        const auto outcomes = model->Drive();
        const std::size_t instances = vzt::Equations(model->distribution).InstanceCount();
        EXPECT_EQ(outcomes.back().setUpResult >= 0, c.walks);
        EXPECT_EQ(instances > 0, c.walks) << instances << " instances";
        model->ExpectLookupsInside();
    }
}

} // namespace
} // namespace testsupport
