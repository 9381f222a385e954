// The two descriptions: the counts the host sees, constants, and descriptions that break the
// protocol. The value buffer's layout is checked where the routine sees it.
#include <cstring>

#include "procedure_fixture.h"

namespace proctest {
namespace {

using Arg = vzt::ProcedureArgument;
using DescriptionTest = ProcedureTest;

// A constant or a variable for x and for n gives the routine the same columns; the
// storing pass lists the by-reference inputs and then the output. The integer n takes the
// first four bytes of its slot; the other four are never written.
TEST_F(DescriptionTest, ColumnsCountConstantsAndVariablesAlike) {
    for (const auto& [xConstant, countVariable] : {std::pair{false, true}, {true, false}}) {
        Build({.n1 = 3, .xConstant = xConstant, .countVariable = countVariable, .count = -7});
        const int inputEntries = 5 + (xConstant ? 0 : 1) + (countVariable ? 1 : 0);
        EXPECT_EQ(LogLines("HandleDerivatives").back(),
                  "HandleDerivatives false " + std::to_string(inputEntries) + " 7 1 " +
                      std::to_string(5 + (xConstant ? 0 : 1)));
        EXPECT_EQ(procedure->OutputVar(0), y);
        double r = 0.0;
        ASSERT_EQ(Residual(r), 0);
        ASSERT_EQ(spy.calls.size(), 1u);
        EXPECT_EQ(spy.calls[0].nonZeros, 7);
        EXPECT_EQ(spy.calls[0].values[0], 0.5);
        int n[2] = {};
        std::memcpy(n, &spy.calls[0].values[6], sizeof n);
        EXPECT_EQ(n[0], -7);
        EXPECT_EQ(n[1], 0);
    }
}

// The storing pass's constant is the one the routine receives, and an integer constant
// bound to the real x reaches it as a double.
TEST_F(DescriptionTest, TheStoringPassConstantWins) {
    Build({}, false);
    std::vector<Arg> arguments = Arguments();
    arguments[0] = Arg::Real(1.5);
    arguments[3] = Arg::Integer(9);
    vzt::DescribeOnce(*procedure, arguments);
    arguments[0] = Arg::Integer(3);
    arguments[3] = Arg::Real(2.9);
    vzt::DescribeOnce(*procedure, arguments);
    double r = 0.0;
    ASSERT_EQ(Residual(r), 0);
    EXPECT_EQ(spy.calls.at(0).values[0], 3.0);
    int n = 0;
    std::memcpy(&n, &spy.calls[0].values[5], sizeof n);
    EXPECT_EQ(n, 2); // 2.9 read as an integer
}

using Describer = std::function<void(QV_DynamicProcExtensions&, std::vector<Arg>)>;

// Describes x, then X with the given sizes and its first elements, then the whole call.
Describer StartingX(std::vector<int> sizes, std::size_t elements) {
    return [=](QV_DynamicProcExtensions& p, std::vector<Arg> a) {
        p.Argument(*a[0].elements[0]);
        p.Argument();
        for (const int size : sizes) {
            p.SetDimensionSize(size);
        }
        for (std::size_t e = 0; e < elements; ++e) {
            p.Element(*a[1].elements[e]);
        }
        vzt::Describe(p, a);
    };
}

// The call with argument k bound to a instead.
Describer Rebinding(std::size_t k, Arg bound) {
    return [=](QV_DynamicProcExtensions& p, std::vector<Arg> a) {
        a.resize(std::max(a.size(), k + 1));
        a[k] = bound;
        vzt::Describe(p, a);
    };
}

// A description that breaks the protocol writes nothing out of bounds (the sanitizers
// watch), and every later evaluation fails without calling the routine.
TEST_F(DescriptionTest, BrokenDescriptionsMakeTheProcedureUnusable) {
    const std::vector<std::pair<const char*, Describer>> cases = {
        {"a sixth argument", Rebinding(5, Arg::Real(1.0))},
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
        {"a second dimension", StartingX({2, 2}, 0)},
        {"a size with no dimension pending",
         [](QV_DynamicProcExtensions& p, std::vector<Arg> a) {
             p.SetDimensionSize(3);
             vzt::Describe(p, a);
         }},
        {"a negative size", StartingX({-2}, 0)},
        {"more elements in the storing pass",
         [](QV_DynamicProcExtensions& p, std::vector<Arg> a) {
             vzt::DescribeOnce(p, a);
             a[1].elements.push_back(a[1].elements[0]);
             vzt::DescribeOnce(p, a);
         }},
        {"more elements than the size", StartingX({1}, 2)},
        {"a constant bound to an array", Rebinding(2, Arg::Real(4.0))},
        {"a constant bound to the output", Rebinding(4, Arg::Real(4.0))},
    };
    for (const auto& [what, describe] : cases) {
        SCOPED_TRACE(what);
        Build({}, false);
        describe(*procedure, Arguments());
        double r = 7.0;
        int index = 0;
        EXPECT_EQ(procedure->Residuals(&r, index), pellorin::kProcedureUnusable);
        EXPECT_EQ(r, 7.0);
        double entries[16] = {};
        index = 0;
        EXPECT_EQ(procedure->Jacobian(entries, index), pellorin::kProcedureUnusable);
        EXPECT_EQ(index, 0);
        EXPECT_EQ(procedure->Precall(true), pellorin::kProcedureUnusable);
        EXPECT_TRUE(spy.calls.empty());
        SetUpEquations();
        EXPECT_TRUE(owner->ProcedureCalls().empty());
    }
}

} // namespace
} // namespace proctest
