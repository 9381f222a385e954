// The two descriptions: the value buffer's layout, the counts the host sees, the element
// list, constants, and descriptions that break the protocol.
#include <climits>

#include "procedure_fixture.h"

namespace proctest {
namespace {

struct LayoutCase {
    int n1, n2, base;
};

class Layout : public ProcedureTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(Layout, OffsetsSlotsAndCountsFollowTheArraySizesAndTheBase) {
    const LayoutCase c = GetParam();
    vzt::Procedures().languageBase = c.base;
    Build({.n1 = c.n1, .n2 = c.n2, .count = 2});
    const int s1 = c.n1, s2 = c.n2, b = c.base;
    const int expected[5] = {0, 1, 1 + s1, 1 + s1 + s2, 2 + s1 + s2};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(procedure->GetOffset(k), expected[k]) << k;
        EXPECT_EQ(procedure->GetOffsets(0)[k], expected[k] + b) << k;
    }
    EXPECT_EQ(procedure->ValueSlots(), 3 + s1 + s2);
    // One FinalizeConstruction, in the building pass, with the output's slot and the total;
    // the derivative blocks are made with the building pass's counts.
    EXPECT_EQ(LogLines("FinalizeConstruction"),
              std::vector<std::string>{"FinalizeConstruction " + std::to_string(2 + s1 + s2) + " " +
                                       std::to_string(3 + s1 + s2)});
    const int entries = 1 + s1 + s2;
    EXPECT_EQ(LogLines("HandleDerivatives"),
              std::vector<std::string>{"HandleDerivatives false " + std::to_string(entries) + " " +
                                       std::to_string(entries + 1) + " 1 " +
                                       std::to_string(entries)});
    EXPECT_EQ(SetUpEquations(), 1 + entries);
}

INSTANTIATE_TEST_SUITE_P(Sizes, Layout,
                         ::testing::Values(LayoutCase{5, 7, 0}, LayoutCase{5, 7, 1},
                                           LayoutCase{10, 10, 0}, LayoutCase{10, 10, 1},
                                           LayoutCase{0, 3, 0}, LayoutCase{0, 3, 1}),
                         [](const ::testing::TestParamInfo<LayoutCase>& info) {
                             const LayoutCase& c = info.param;
                             return "N" + std::to_string(c.n1) + "M" + std::to_string(c.n2) +
                                    "Base" + std::to_string(c.base);
                         });

using DescriptionTest = ProcedureTest;

// Every mix of a constant or a variable for x and n gives the routine the same columns; the
// storing pass lists the by-reference inputs and then the output. The integer n takes the
// first four bytes of its slot; the other four are never written.
TEST_F(DescriptionTest, ColumnsCountConstantsAndVariablesAlike) {
    for (const bool xConstant : {false, true}) {
        for (const bool countVariable : {false, true}) {
            Build({.n1 = 3,
                   .n2 = 2,
                   .xConstant = xConstant,
                   .countVariable = countVariable,
                   .count = -7});
            const int inputEntries = 5 + (xConstant ? 0 : 1) + (countVariable ? 1 : 0);
            EXPECT_EQ(LogLines("HandleDerivatives").back(),
                      "HandleDerivatives false " + std::to_string(inputEntries) + " 7 1 " +
                          std::to_string(5 + (xConstant ? 0 : 1)));
            EXPECT_EQ(procedure->OutputVar(0), y.get());
            double r = 0.0;
            ASSERT_EQ(Residual(r), 0);
            ASSERT_EQ(Spy::Instance().calls.size(), 1u);
            EXPECT_EQ(Spy::Instance().calls[0].nonZeros, 7);
            EXPECT_EQ(Spy::Instance().calls[0].values[0], 0.5);
            int n[2] = {};
            std::memcpy(n, &Spy::Instance().calls[0].values[6], sizeof n);
            EXPECT_EQ(n[0], -7);
            EXPECT_EQ(n[1], 0);
            procedure.reset();
            vzt::ResetProcedures();
            vzt::RegisterRoutine("VARudaduro", "INTERP", &SpyRoutine);
        }
    }
}

// The storing pass's constant is the one the routine receives, and an integer constant
// bound to the real x reaches it as a double.
TEST_F(DescriptionTest, TheStoringPassConstantWins) {
    using Arg = vzt::ProcedureArgument;
    Build({.n1 = 2, .n2 = 2, .count = 2});
    procedure.reset(new QVProc_INTERPOLATE(true, 0));
    std::vector<Arg> arguments = Arguments();
    arguments[0] = Arg::Real(1.5);
    arguments[3] = Arg::Integer(9);
    vzt::DescribeOnce(*procedure, arguments);
    arguments[0] = Arg::Integer(3);
    arguments[3] = Arg::Real(2.9);
    vzt::DescribeOnce(*procedure, arguments);
    Spy::Instance().Reset(procedure->ValueSlots());
    double r = 0.0;
    ASSERT_EQ(Residual(r), 0);
    const RoutineCall& seen = Spy::Instance().calls.at(0);
    EXPECT_EQ(seen.values[0], 3.0);
    int n = 0;
    std::memcpy(&n, &seen.values[5], sizeof n);
    EXPECT_EQ(n, 2); // 2.9 read as an integer
    EXPECT_EQ(procedure->GetRealArg(0), 3.0);
}

// A description that breaks the protocol writes nothing out of bounds (the sanitizers
// watch), and every later evaluation fails without calling the routine.
TEST_F(DescriptionTest, BrokenDescriptionsMakeTheProcedureUnusable) {
    using Arg = vzt::ProcedureArgument;
    struct Case {
        const char* what;
        std::function<void(QV_DynamicProcExtensions&, std::vector<Arg>)> describe;
    };
    const std::vector<Case> cases = {
        {"a sixth argument",
         [](QV_DynamicProcExtensions& p, std::vector<Arg> a) {
             a.push_back(Arg::Real(1.0));
             vzt::Describe(p, a);
         }},
        {"four arguments",
         [](QV_DynamicProcExtensions& p, std::vector<Arg> a) {
             a.pop_back();
             vzt::Describe(p, a);
         }},
        {"a third description",
         [](QV_DynamicProcExtensions& p, std::vector<Arg> a) {
             vzt::Describe(p, a);
             vzt::DescribeOnce(p, a);
         }},
        {"a second dimension",
         [](QV_DynamicProcExtensions& p, std::vector<Arg> a) {
             p.Argument(*a[0].elements[0]);
             p.Argument();
             p.SetDimensionSize(2);
             p.SetDimensionSize(2);
             vzt::Describe(p, a);
         }},
        {"a size with no dimension pending",
         [](QV_DynamicProcExtensions& p, std::vector<Arg> a) {
             p.SetDimensionSize(3);
             vzt::Describe(p, a);
         }},
        {"a negative size",
         [](QV_DynamicProcExtensions& p, std::vector<Arg> a) {
             p.Argument(*a[0].elements[0]);
             p.Argument();
             p.SetDimensionSize(-2);
             vzt::Describe(p, a);
         }},
        {"more elements in the storing pass",
         [](QV_DynamicProcExtensions& p, std::vector<Arg> a) {
             vzt::DescribeOnce(p, a);
             a[1].elements.push_back(a[1].elements[0]);
             vzt::DescribeOnce(p, a);
         }},
        {"more elements than the size",
         [](QV_DynamicProcExtensions& p, std::vector<Arg> a) {
             p.Argument(*a[0].elements[0]);
             p.Argument();
             p.SetDimensionSize(1);
             p.Element(*a[1].elements[0]);
             p.Element(*a[1].elements[1]);
             vzt::Describe(p, a);
         }},
        {"a constant bound to an array",
         [](QV_DynamicProcExtensions& p, std::vector<Arg> a) {
             a[2] = Arg::Real(4.0);
             vzt::Describe(p, a);
         }},
        {"a constant bound to the output",
         [](QV_DynamicProcExtensions& p, std::vector<Arg> a) {
             a[4] = Arg::Real(4.0);
             vzt::Describe(p, a);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Build({.n1 = 2, .n2 = 2, .count = 2});
        procedure.reset(new QVProc_INTERPOLATE(true, 0));
        owner = std::make_unique<QV_ModelTypeEx>();
        c.describe(*procedure, Arguments());
        Spy::Instance().Reset(0);
        double r = 7.0;
        int index = 0;
        EXPECT_EQ(procedure->Residuals(&r, index), pellorin::kProcedureUnusable);
        EXPECT_EQ(r, 7.0);
        double entries[16] = {};
        index = 0;
        EXPECT_EQ(procedure->Jacobian(entries, index), pellorin::kProcedureUnusable);
        EXPECT_EQ(index, 0);
        EXPECT_EQ(procedure->Precall(true), pellorin::kProcedureUnusable);
        EXPECT_TRUE(Spy::Instance().calls.empty());
        SetUpEquations();
        EXPECT_TRUE(owner->ProcedureCalls().empty());
    }
}

} // namespace
} // namespace proctest
