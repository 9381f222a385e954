// The two descriptions: constants, and descriptions that break the protocol. The layout and
// the counts the host sees are checked where the routine sees them.
#include <cstdlib>
#include <cstring>

#include "procedure_fixture.h"

namespace proctest {
namespace {

using Arg = vzt::ProcedureArgument;
using Args = std::vector<Arg>;
using DescriptionTest = ProcedureTest;

// The storing pass's constant is the one the routine receives, and an integer constant
// bound to the real x reaches it as a double.
TEST_F(DescriptionTest, TheStoringPassConstantWins) {
    Build({}, false);
    Args arguments = Arguments();
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

// A set loop's member is bound as a constant when the description reaches it: a text member
// for the real x, an integer member for n. The storing pass takes the members at which the
// loops then stand, and moving them afterwards changes nothing.
TEST_F(DescriptionTest, SetLoopsBindTheMemberTheyStandAt) {
    Build({}, false);
    QV_StringSetIter texts(QV_StrSetValue("2.5\"0.75\""));
    QV_IntegerSetIter counts(QV_IntSetValue(2, 4));
    for (int pass = 0; pass < 2; ++pass) {
        ASSERT_TRUE(texts.Next() && counts.Next());
        procedure->Argument(texts);
        for (const std::vector<QV_VarParam*>* array : {&X, &Y}) {
            procedure->Argument();
            procedure->SetDimensionSize(int(array->size()));
            for (QV_VarParam* element : *array) {
                procedure->Element(*element);
            }
        }
        procedure->Argument(counts);
        procedure->Argument(*y);
        procedure->LastArgument();
    }
    const double x = std::strtod(texts.String(), nullptr);
    ASSERT_EQ(counts.Integer(), 3);
    ASSERT_TRUE(counts.Next());
    double r = 0.0;
    ASSERT_EQ(Residual(r), 0);
    EXPECT_EQ(spy.calls.at(0).values[0], x);
    int n = 0;
    std::memcpy(&n, &spy.calls[0].values[5], sizeof n);
    EXPECT_EQ(n, 3);
}

using Describer = std::function<void(QV_DynamicProcExtensions&, Args)>;

// Describes x, then X with the given sizes and its first elements, then the whole call.
Describer StartingX(std::vector<int> sizes, std::size_t elements) {
    return [=](QV_DynamicProcExtensions& p, Args a) {
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

// The whole call, with its arguments edited first.
Describer Changed(std::function<void(Args&)> edit) {
    return [=](QV_DynamicProcExtensions& p, Args a) {
        edit(a);
        vzt::Describe(p, a);
    };
}

// A description that breaks the protocol writes nothing out of bounds (the sanitizers
// watch), and every later evaluation fails without calling the routine.
TEST_F(DescriptionTest, BrokenDescriptionsMakeTheProcedureUnusable) {
    const std::vector<std::pair<const char*, Describer>> cases = {
        {"a sixth argument", Changed([](Args& a) { a.push_back(Arg::Real(1.0)); })},
        {"four arguments", Changed([](Args& a) { a.pop_back(); })},
        {"a third description",
         [](QV_DynamicProcExtensions& p, Args a) {
             vzt::Describe(p, a);
             vzt::DescribeOnce(p, a);
         }},
        {"a second dimension", StartingX({2, 2}, 0)},
        {"a size with no dimension pending",
         [](QV_DynamicProcExtensions& p, Args a) {
             p.SetDimensionSize(3);
             vzt::Describe(p, a);
         }},
        {"a negative size", StartingX({-2}, 0)},
        {"more elements in the storing pass",
         [](QV_DynamicProcExtensions& p, Args a) {
             vzt::DescribeOnce(p, a);
             a[1].elements.push_back(a[1].elements[0]);
             vzt::DescribeOnce(p, a);
         }},
        {"more elements than the size", StartingX({1}, 2)},
        {"a constant bound to an array", Changed([](Args& a) { a[2] = Arg::Real(4.0); })},
        {"a constant bound to the output", Changed([](Args& a) { a[4] = Arg::Real(4.0); })},
    };
    for (const auto& [what, describe] : cases) {
        SCOPED_TRACE(what);
        Build({}, false);
        describe(*procedure, Arguments());
        double r = 7.0;
        EXPECT_EQ(Residual(r), pellorin::kProcedureUnusable);
        EXPECT_EQ(r, 7.0);
        int status = 0;
        EXPECT_TRUE(JacobianRow(status).empty());
        EXPECT_EQ(status, pellorin::kProcedureUnusable);
        EXPECT_EQ(procedure->Precall(true), pellorin::kProcedureUnusable);
        EXPECT_TRUE(spy.calls.empty());
        EXPECT_EQ(SetUpEquations(), 0);
        EXPECT_EQ(vzt::Equations(*owner).EquationCount(), 0u);
        ASSERT_EQ(owner->ProcedureCalls().size(), 1u);
        EXPECT_EQ(owner->ProcedureCalls()[0].procedure, nullptr);
    }
}

// The procedure with the host's counts in view: input list entries, input columns, solver
// inputs and outputs.
class CountedProcedure : public QVProc_INTERPOLATE {
public:
    CountedProcedure() : QVProc_INTERPOLATE(true, 5) {}
    std::vector<int> Counts() const {
        return {m_nInputListEntries, m_nInputColumns, m_nSolverInputs, m_nOutputElements};
    }
};

// x and arrays of 20: 41 input elements, whose solver status takes blocks of 16, 32 and 64
// flags, the first three allocations of the description after the procedure's guards. When
// one of them fails, the building pass stops at the flags it kept, and the storing pass that
// follows changes nothing: the counts stay those of the recorded elements, and the procedure
// is unusable.
TEST_F(DescriptionTest, AFailedBuildingPassKeepsTheCountsOfWhatItRecorded) {
    Binding longer;
    longer.X.resize(20);
    longer.Y.resize(20);
    longer.count = 20;
    for (int block = 0; block < 3; ++block) {
        SCOPED_TRACE(block);
        Build(longer, false);
        const std::size_t failures = vzt::Allocator().failedAllocations;
        vzt::FailAllocation(std::size_t(block) + 2);
        auto* counted = new CountedProcedure();
        procedure.reset(counted);
        vzt::Describe(*procedure, Arguments());
        ASSERT_EQ(vzt::Allocator().failedAllocations - failures, 1u);
        const int kept = 16 * block;
        EXPECT_EQ(counted->Counts(), (std::vector<int>{kept, kept, kept, 0}));
        double r = 7.0;
        EXPECT_EQ(Residual(r), pellorin::kProcedureUnusable);
        EXPECT_TRUE(spy.calls.empty());
        EXPECT_EQ(SetUpEquations(), 0);
        EXPECT_EQ(vzt::Equations(*owner).EquationCount(), 0u);
    }
}

} // namespace
} // namespace proctest
