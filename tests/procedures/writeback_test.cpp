// Values a routine gives back to its variable inputs, through a procedure of the tests whose
// inputs all receive values: an integer array, a real array and a string array.
#include <cmath>
#include <cstring>

#include "procedure_fixture.h"
#include "standin/host_access.h"

namespace proctest {
namespace {

class QVProc_WRITEBACK
    : public QV_ProcedureTemplate<QVProc_WRITEBACK, 3, 1, 3, QV_ProcedureType_C, 4> {
public:
    QVProc_WRITEBACK() { SetMode(true, 0); }
    const char* ProcedureName() const override { return "GIVEBACK"; }
    const char* DLLName() const override { return "TESTROUTINES"; }
    static int Dimensions(int k) { return k < 3 ? 1 : 0; }
    static int Type(int k) { return k == 0 ? 2 : k == 2 ? 5 : 4; } // n, X, the texts, y
    static bool IsVariableInput(int k) { return k < 3; }
    static constexpr bool ReturnsDerivatives() { return true; }
    void CreateDerivatives() { HandleDerivatives(false); }
    void NegateDerivatives() { HandleDerivatives(true); }
};

// What the routine leaves in the inputs' places.
const int kIntegers[3] = {7, 5, 9};
const double kReals[4] = {-0.0, 2.5, NAN, 1.5};
const char* const kTexts[3] = {"ABC                                     ", "  X", ""};

extern "C" void GiveBack(int*, double* values, int*, double*, int*, int* offsets, int*, int*,
                         double*, int*, int*, int*, int*, int*, double*, int* ifail) {
    std::memcpy(values + offsets[0], kIntegers, sizeof kIntegers);
    std::memcpy(values + offsets[1], kReals, sizeof kReals);
    char** cells = reinterpret_cast<char**>(values + offsets[2]); // the host's pointer table
    for (int e = 0; e < 3; ++e) {
        std::memset(cells[e], e == 2 ? ' ' : '\0', 40);
        std::memcpy(cells[e], kTexts[e], std::strlen(kTexts[e]));
    }
    *ifail = 0;
}

// Records what the host's update controller is told.
struct Controller : QV_IncrementalUpdate {
    std::vector<std::pair<const QV_VarParam*, int>> told;
    void NotifyValueWritten(QV_VarParam* variable, int kind) override {
        told.emplace_back(variable, kind);
    }
};

// One input element: its value before the call, whether it is the user's or the library's
// assignment, whether the solver computes it, and its value after.
struct Element {
    const char* what;
    int argument; // 0 integers, 1 reals, 2 texts
    QV_Value before;
    bool specified;
    bool solver;
    QV_Value after;
    bool written; // and the controller told
};

QV_VarParam* MakeElement(int argument) {
    switch (argument) {
    case 0:
        return new QV_INTEGERPARAMETER;
    case 1:
        return new QV_REALVARIABLE;
    default:
        return new QV_STRINGPARAMETER;
    }
}

using WriteBack = ProcedureTest;

// A changed value of a solver variable is written, by assignment when the library's value was
// in force and in place when the user's was; each write is told to the controller, once, with
// the variable and 0. The written value carries the host's write-back tag.
TEST_F(WriteBack, ChangedValuesOfSolverVariablesAreWrittenAndTold) {
    const std::vector<Element> elements = {
        {"integer assigned", 0, QV_Value(5, 0u), false, true, QV_Value(7, 0u), true},
        {"integer unchanged", 0, QV_Value(5, 0u), true, true, QV_Value(5, 0u), false},
        {"integer the user's", 0, QV_Value(3, 0u), true, true, QV_Value(9, 0u), true},
        {"real -0 equals 0", 1, QV_Value(0.0, 0u), true, true, QV_Value(0.0, 0u), false},
        {"real assigned", 1, QV_Value(1.0, 0u), false, true, QV_Value(2.5, 0u), true},
        {"real NaN over NaN", 1, QV_Value(NAN, 0u), true, true, QV_Value(NAN, 0u), true},
        {"real not a solver variable", 1, QV_Value(1.0, 0u), true, false, QV_Value(1.0, 0u), false},
        {"text trimmed", 2, QV_Value("old", 0u), true, true, QV_Value("ABC", 0u), true},
        {"text leading blanks kept", 2, QV_Value("x", 0u), false, true, QV_Value("  X", 0u), true},
        {"text of blanks", 2, QV_Value("keep", 0u), true, true, QV_Value("keep", 0u), false},
    };
    Build({}, false);
    vzt::RegisterRoutine("TESTROUTINES", "GIVEBACK", &GiveBack);
    vzt::Procedures().postsetInputs = true;
    Controller controller;
    vzt::Procedures().updateController = &controller;
    std::vector<std::unique_ptr<QV_VarParam>> owned;
    std::vector<QV_VarParam*> arrays[3];
    for (const Element& e : elements) {
        QV_VarParam* v = MakeElement(e.argument);
        owned.emplace_back(v);
        QV_Value before = e.before;
        e.specified ? vzt::Specify(*v, before) : v->Assign(&before);
        vzt::SetSolverVariable(*v, e.solver);
        arrays[e.argument].push_back(v);
    }
    std::unique_ptr<QVProc_WRITEBACK> p(new QVProc_WRITEBACK);
    using Arg = vzt::ProcedureArgument;
    vzt::Describe(*p, {Arg::Array(arrays[0]), Arg::Array(arrays[1]), Arg::Array(arrays[2]),
                       Arg::Variable(*y)});
    // The texts take the table of their three pointers, in whole slots, then their cells.
    const int pointerSlots = int((3 * sizeof(char*) + 7) / 8);
    EXPECT_EQ(vzt::ProcedureValueSlots(*p), 2 + 4 + (pointerSlots + 15) + 1);
    double r = 0.0;
    int index = 0;
    ASSERT_EQ(p->Residuals(&r, index), 0);

    std::vector<std::pair<const QV_VarParam*, int>> told;
    for (std::size_t k = 0; k < elements.size(); ++k) {
        const Element& e = elements[k];
        SCOPED_TRACE(e.what);
        const QV_Value& now = vzt::Current(*owned[k]);
        EXPECT_EQ(vzt::Kind(now) == vzt::ValueKind::Text ? std::string(vzt::AsText(now)) : "",
                  vzt::Kind(e.after) == vzt::ValueKind::Text ? std::string(vzt::AsText(e.after))
                                                             : "");
        const double expected = vzt::AsReal(e.after), actual = vzt::AsReal(now);
        EXPECT_TRUE(std::isnan(expected) ? std::isnan(actual) : actual == expected);
        EXPECT_EQ(owned[k]->IsDefaultAssignment(), !e.specified);
        if (e.written && !e.specified) {
            EXPECT_EQ(vzt::PlainTag(vzt::LastAssignment(*owned[k])), 0x3E000000u);
        }
        if (e.written) {
            told.emplace_back(owned[k].get(), 0);
        }
    }
    EXPECT_EQ(controller.told, told);

    // Without a controller the values are written all the same.
    vzt::Procedures().updateController = nullptr;
    QV_Value one(1.0, 0u);
    arrays[1][1]->Assign(&one);
    index = 0;
    ASSERT_EQ(p->Residuals(&r, index), 0);
    EXPECT_EQ(arrays[1][1]->Real(), 2.5);
    EXPECT_EQ(controller.told, told);
}

} // namespace
} // namespace proctest
