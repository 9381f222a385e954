// Values a routine gives back to its variable inputs, through a procedure of the tests whose
// inputs all receive values: an integer, a real array and a string.
#include <cmath>
#include <cstring>

#include "procedure_fixture.h"

namespace proctest {
namespace {

class QVProc_WRITEBACK
    : public QV_ProcedureTemplate<QVProc_WRITEBACK, 3, 1, 1, QV_ProcedureType_C, 4> {
public:
    QVProc_WRITEBACK() { SetMode(true, 0); }
    const char* ProcedureName() const override { return "GIVEBACK"; }
    const char* DLLName() const override { return "TESTROUTINES"; }
    static int Dimensions(int k) { return k == 1 ? 1 : 0; }
    static int Type(int k) { return k == 0 ? 2 : k == 2 ? 5 : 4; } // n, X, the text, y
    static bool IsVariableInput(int k) { return k < 3; }
    static constexpr bool ReturnsDerivatives() { return true; }
    void CreateDerivatives() { HandleDerivatives(false); }
    void NegateDerivatives() { HandleDerivatives(true); }
};

// Writes 7 over the integer, -0 and 2.5 over the reals, "ABC" and blanks over the string.
extern "C" void GiveBack(int*, double* values, int*, double*, int*, int* offsets, int*, int*,
                         double*, int*, int*, int*, int*, int*, double*, int* ifail) {
    const int seven = 7;
    std::memcpy(values + offsets[0], &seven, sizeof seven);
    values[offsets[1]] = -0.0;
    values[offsets[1] + 1] = 2.5;
    char* cell = reinterpret_cast<char*>(values + offsets[2]);
    std::memset(cell, ' ', 40);
    std::memcpy(cell, "ABC", 3);
    *ifail = 0;
}

using WriteBack = ProcedureTest;

// The fixture's n, X and y serve as the integer, the real array and the output.
TEST_F(WriteBack, ChangedValuesOfSolverVariablesAreWrittenBack) {
    Build({}, false);
    vzt::RegisterRoutine("TESTROUTINES", "GIVEBACK", &GiveBack);
    vzt::Procedures().postsetInputs = true;
    auto text = std::make_unique<QV_STRINGPARAMETER>();
    text->Specify(QV_Value("old", 0u));
    text->SetSolverVariable(true);
    count->SetSolverVariable(true);
    std::unique_ptr<QVProc_WRITEBACK> p(new QVProc_WRITEBACK);
    using Arg = vzt::ProcedureArgument;
    vzt::Describe(*p,
                  {Arg::Variable(*count), Arg::Array(X), Arg::Variable(*text), Arg::Variable(*y)});
    EXPECT_EQ(p->ValueSlots(), 1 + 2 + 5 + 1);
    double r = 0.0;
    int index = 0;
    ASSERT_EQ(p->Residuals(&r, index), 0);
    EXPECT_EQ(count->Current().AsInteger(), 7);
    EXPECT_FALSE(std::signbit(X[0]->Current().AsReal())); // -0 equals 0: nothing written
    EXPECT_EQ(X[1]->Current().AsReal(), 2.5);
    EXPECT_STREQ(text->Current().AsText(), "ABC"); // trailing blanks trimmed
    EXPECT_EQ(LogLines("UpdateController").size(), 3u);

    // A variable that is not a solver variable keeps its value.
    X[1]->SetSolverVariable(false);
    SetValue(*X[1], 1.0);
    index = 0;
    ASSERT_EQ(p->Residuals(&r, index), 0);
    EXPECT_EQ(X[1]->Current().AsReal(), 1.0);
}

} // namespace
} // namespace proctest
