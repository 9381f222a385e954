// The one-dimensional walks on a fake distribution, for what real domains cannot give: the
// order of instances in the blocks on exact layouts, groups, spacings compared bit for bit,
// which values the guards read, and what a failed lookup does.
#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <set>
#include <string>

#include "tests/distribution/fake_distribution.h"
#include "types/distribution1d/arrays.h"
#include "types/distribution1d/statements.h"
#include "types/domain/methods.h"

namespace testsupport {

namespace dist1d = pellorin::dist1d;
namespace {

// "N@node" per instance, in order, as JacPattern registered them.
std::string Sequence(const EquationModel& model, const FakeDistribution& d) {
    std::string out;
    const QV_EquationStore& store = vzt::Equations(model);
    for (std::size_t k = 0; k < store.EquationCount(); ++k) {
        const QV_EquationView eq = store.Equation(k);
        out += (out.empty() ? "" : " ") + std::to_string(StatementNumber(eq)) + "@" +
               std::to_string(d.field.Identify(Unknown(eq)).at[0]);
    }
    return out;
}

std::string Terms(const QV_EquationView& eq, const FakeDistribution& d) {
    std::string out;
    for (std::size_t k = 0; k < eq.tokenCount; ++k) {
        if (eq.tokens[k].kind == QV_Token::Kind::Term) {
            static constexpr const char* kNames[] = {"VALUE", "DDX", "D2DX2", "IDX"};
            const ExactField::Id id = d.field.Identify(eq.tokens[k].term);
            out += (out.empty() ? "" : " ") + std::string(id.array < 0 ? "h" : kNames[id.array]) +
                   "(" + std::to_string(id.at[id.array < 0 ? 1 : 0]) + ")";
        }
    }
    return out;
}

std::string Walked(FakeDistribution& d) {
    EquationModel model;
    RunWalks(d, model);
    return Sequence(model, d);
}

TEST(EquationWalks, GroupsAreTheBaseAndTheBlocksOwnNumberLeavingGaps) {
    FakeDistribution d(MakeLayout("OCFE4", {8, 8}), {1, 1, true});
    EquationModel model;
    RunWalks(d, model, 40);
    std::set<int> groups;
    for (std::size_t k = 0; k < vzt::Equations(model).InstanceCount(); ++k) {
        groups.insert(vzt::Equations(model).Instance(k).group);
    }
    EXPECT_EQ(groups, (std::set<int>{41, 51}));
}

TEST(EquationWalks, LowOrderBlocksWriteTheirInstancesInOrder) {
    const struct {
        const char* method;
        std::vector<int> nodeCounts;
        int used;
        bool idx;
        std::string expected;
    } cases[] = {
        {"BFD2", {4}, 2, true, "1@0 7@0 8@1 9@2 9@3 9@4 10@1 10@2 10@3 12@1 13@2 12@3 13@4"},
        {"BFD1", {3, 3}, 2, false, "2@0 3@1 3@2 3@3 3@4 3@5 3@6 4@1 4@2 4@4 4@5 5@3"},
        {"FFD1", {3, 3}, 2, false, "14@0 14@1 14@2 14@3 14@4 14@5 15@6 16@1 16@2 17@3 16@4 16@5"},
        {"FFD2", {2, 2}, 1, true, "1@0 19@0 20@1 19@2 20@3 21@4 24@1 25@2 24@3 25@4"},
        {"CFD2", {2, 2}, 1, false, "26@0 27@1 29@2 27@3 28@4"},
        {"CFD2", {2, 2}, 2, false, "26@0 27@1 28@2 27@3 28@4 30@1 30@3 31@2"},
        {"UBFD4",
         {4, 4},
         2,
         false,
         "51@0 52@1 53@2 54@3 55@4 52@5 53@6 54@7 55@8 56@1 57@2 58@3 56@5 57@6 58@7 59@4"},
        {"CFD4",
         {4, 4},
         2,
         true,
         "1@0 34@0 35@1 38@2 39@4 40@3 34@4 35@5 38@6 39@8 40@7 44@1 45@2 46@3 44@5 45@6 46@7 "
         "47@1 48@2 49@3 50@4 47@5 48@6 49@7 50@8"},
    };
    for (const auto& c : cases) {
        FakeDistribution d(MakeLayout(c.method, c.nodeCounts), {c.used, c.used, c.idx});
        EXPECT_EQ(Walked(d), c.expected) << c.method;
    }
}

TEST(EquationWalks, JoinStatementsTakeEachSectionsSpacing) {
    FakeDistribution bfd1(MakeLayout("BFD1", {3, 3}), {2, 2});
    EquationModel model;
    RunWalks(bfd1, model);
    const QV_EquationStore& store = vzt::Equations(model);
    EXPECT_EQ(Terms(store.Equation(3), bfd1), "DDX(3) h(1) VALUE(2) VALUE(3)");
    EXPECT_EQ(Terms(store.Equation(11), bfd1), "DDX(3) h(2) VALUE(3) VALUE(4)");

    FakeDistribution cfd2(MakeLayout("CFD2", {2, 2}), {1, 1});
    RunWalks(cfd2, model);
    EXPECT_EQ(Terms(vzt::Equations(model).Equation(2), cfd2), "DDX(2) h(2) h(1) VALUE(1) VALUE(3)");
}

TEST(EquationWalks, Cfd4ComparesNeighbouringSpacingsExactly) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::string equal = "34@0 35@1 38@2 43@3 43@4 37@5 38@6 39@8 40@7";
    const std::string unequal = "34@0 35@1 38@2 41@4 42@3 36@5 38@6 39@8 40@7";
    const struct {
        double h1, h2;
        std::string expected;
    } cases[] = {
        {0.125, 0.125, equal},
        {0.125, std::nextafter(0.125, 1.0), unequal},
        {0.125, nan, unequal},
        {nan, nan, unequal},
    };
    for (const auto& c : cases) {
        Layout layout = MakeLayout("CFD4", {4, 4});
        layout.sections[0].elementLength = c.h1;
        layout.sections[1].elementLength = c.h2;
        FakeDistribution d(layout, {1, 1});
        EXPECT_EQ(Walked(d), c.expected) << c.h1 << " " << c.h2;
    }
    // With second derivatives in use no spacing is compared: every section starts afresh.
    Layout layout = MakeLayout("CFD4", {4, 4});
    layout.sections[1].elementLength = nan;
    FakeDistribution d(layout, {2, 2});
    EXPECT_EQ(Walked(d).substr(0, 44), "34@0 35@1 38@2 39@4 40@3 34@4 35@5 38@6 39@8");
}

TEST(EquationWalks, CollocationElementBoundariesFollowTheBoundaryCondition) {
    const struct {
        std::vector<int> nodeCounts;
        const char* ebc;
        int declared;
        std::string expected;
    } cases[] = {
        {{2}, "Backward", 2, "1@0 64@0 66@1 67@2 71@1 72@1 73@2"},
        {{2}, "forward", 2, "1@0 65@2 66@1 68@0 71@1 72@1 73@2"},
        {{4}, "Backward", 2, "1@0 64@0 66@1 67@2 66@3 67@4 71@1 69@2 71@3 72@1 73@2 72@3 73@4"},
        {{4}, "Forward", 2, "1@0 65@4 66@1 68@0 66@3 68@2 70@2 71@1 71@3 72@1 73@2 72@3 73@4"},
        // Two sections: the join at node 2 carries a derivative from each side.
        {{2, 2}, "Backward", 2, "1@0 64@0 66@1 67@2 71@1 72@1 73@2 66@3 67@4 69@2 71@3 72@3 73@4"},
        {{2, 2}, "Forward", 2, "1@0 66@1 68@0 70@2 71@1 72@1 73@2 65@4 66@3 68@2 71@3 72@3 73@4"},
        {{2, 2}, "Forward", 1, "1@0 66@1 68@0 71@1 72@1 73@2 65@4 66@3 68@2 71@3 72@3 73@4"},
        {{2, 2}, "Neither", 2, "1@0 66@1 68@0 71@1 72@1 73@2 66@3 68@2 71@3 72@3 73@4"},
    };
    for (const auto& c : cases) {
        FakeDistribution d(MakeLayout("OCFE2", c.nodeCounts), {2, c.declared, true, c.ebc});
        EXPECT_EQ(Walked(d), c.expected) << c.ebc;
    }
}

// SetUpEquations registers nothing when any term is missing; JacPattern, which the host
// calls only after a SetUpEquations that succeeded, stops before the instance that needs it.
TEST(EquationWalks, AFailedLookupRegistersNoInstanceAndEndsTheExpressionsBeforeIt) {
    constexpr int kIdx = eqn::ArrayId(dist1d::kArrays, "IDX");
    const struct {
        std::pair<int, int> fail;
        int registered; // complete expressions before the one that needs the term
    } cases[] = {
        {{eqn::ArrayId(dist1d::kArrays, "VALUE"), 3}, 3}, // QV_Eqn3 at node 3 names VALUE(3)
        {{-1, 1}, 0},                                     // the first instance needs h of section 1
        {{kIdx, 0}, 0},                                   // the start value
    };
    for (const auto& c : cases) {
        FakeDistribution d(MakeLayout("BFD1", {8}), {1, 1, true});
        if (c.fail.first != kIdx) {
            d.settings.idx = false;
        }
        d.failLookup = c.fail;
        EquationModel model;
        const Walks w = RunWalks(d, model);
        EXPECT_FALSE(w.instances.complete);
        EXPECT_FALSE(w.expressions.complete);
        EXPECT_EQ(w.instances.instances, 0);
        EXPECT_EQ(vzt::Equations(model).InstanceCount(), 0u);
        EXPECT_EQ(vzt::Equations(model).IncidenceCount(), 0u);
        EXPECT_EQ(w.counter, c.registered);
    }
}

// Records which values the guards read, per section.
class ReadLog : public FakeDistribution {
public:
    using FakeDistribution::FakeDistribution;
    int UsedOrder(int d) override { return Log("used"), FakeDistribution::UsedOrder(d); }
    bool IntegralRequested(int k) override {
        return Log("idx"), FakeDistribution::IntegralRequested(k);
    }
    const char* ElementBoundary(int d) override {
        return Log("ebc"), FakeDistribution::ElementBoundary(d);
    }
    double ElementLengthValue(int d, int s) override {
        return Log("h" + std::to_string(s)), FakeDistribution::ElementLengthValue(d, s);
    }
    int Base(int d, int s) override { return m_section = s, FakeDistribution::Base(d, s); }

    std::map<int, std::multiset<std::string>> reads;

private:
    void Log(const std::string& what) { reads[m_section].insert(what); }
    int m_section = 0;
};

// A guard makes its tests left to right and stops at the first that decides it, so that a
// neighbour's spacing is never read where the section test has already said no.
TEST(EquationWalks, GuardsReadOnlyWhatDecidesThemLeftToRight) {
    using namespace eqn;
    static constexpr std::array<std::string_view, 1> kIntegrals = {"idx"};
    static constexpr OutlineVocabulary kNames{kIntegrals, {}, 1, 102};
    static PELLORIN_OUTLINE(kProgram, R"(for s {
        if s=1 or backward { 1 }
        if not s=ns and h(s+1)=h { 1 }
        if not s=1 and h(s-1)=h { 1 }
        if used>0 or has(idx) { 1 } })",
                            kNames);
    static constexpr Block kBlocks[] = {{pellorin::methods::MethodId("BFD1"), 0, kProgram.View()}};
    static constexpr Binding kBinding = {{{0, 1, 2, 3}}};
    const Outline outline{dist1d::Statements(), kBlocks, 1, {&kBinding, 1}};
    ReadLog d(MakeLayout("BFD1", {8, 8}), {1, 1});
    EquationModel model;
    const WalkOutcome outcome = RegisterInstances(outline, d, model, 0);
    EXPECT_TRUE(outcome.complete);
    EXPECT_EQ(outcome.instances, 6);
    // SetUpEquations walks twice: a check that every term can be had, then the registration.
    // A walk reads the used order and the boundary condition once, where a guard first needs
    // them.
    using Reads = std::multiset<std::string>;
    EXPECT_EQ(d.reads[1], (Reads{"h1", "h1", "h2", "h2", "used", "used"}));
    EXPECT_EQ(d.reads[2], (Reads{"ebc", "ebc", "h1", "h1", "h2", "h2"}));
}

} // namespace
} // namespace testsupport
