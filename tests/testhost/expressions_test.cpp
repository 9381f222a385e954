// Evaluation and infix rendering of the prefix expressions a model registers.
#include <standin/expressions.h>

#include <cstdio>
#include <utility>

#include "support/host_fixture.h"

namespace {

using ExpressionsTest = testsupport::HostTest;

// Registers equations on model from prefix tokens, one call per token.
struct Builder {
    QV_ModelTypeEx2& model;
    int counter = 0;
    Builder& Open() {
        model.AddEquation("QV_EqnX", counter, 1);
        return *this;
    }
    Builder& Op(EOp op) {
        model.AddOp(op, counter - 1);
        return *this;
    }
    Builder& Term(QV_VarParam& t) {
        int *rows = nullptr, *cols = nullptr;
        model.AddTerm(t, rows, cols, counter - 1);
        return *this;
    }
    template <class Number>
    Builder& Value(Number v) {
        model.AddTerm(v, counter - 1);
        return *this;
    }
};

TEST_F(ExpressionsTest, EvaluatesAndRendersWithParenthesesOnlyWhereTheStructureNeedsThem) {
    QV_ModelTypeEx2 model;
    QV_REALVARIABLE a(true), c(true), d(true);
    QV_REALPARAMETER h(true);
    Builder e{model};
    // ((a - h) + (c - d))
    e.Open().Op(EOp_Plus).Op(EOp_Minus).Term(a).Term(h).Op(EOp_Minus).Term(c).Term(d);
    // ((a - (2 * c)) / sq(a + 0.00138...)), the 2 an integer and the other a real
    e.Open().Op(EOp_Divide).Op(EOp_Minus).Term(a).Op(EOp_Times).Value(2).Term(c);
    e.Op(EOp_Square).Op(EOp_Plus).Term(a).Value(0.001388888888888889);
    const auto value = [&](const QV_VarParam* p) {
        return p == &a ? 2.0 : p == &h ? 0.5 : p == &c ? 3.0 : 5.0;
    };
    const auto name = [&](const QV_VarParam* p) -> std::string {
        return p == &a ? "a" : p == &h ? "h" : p == &c ? "c" : "d";
    };
    const double shifted = 2.0 + 0.001388888888888889;
    const std::pair<const char*, double> expected[] = {
        {"a - h + (c - d)", (2.0 - 0.5) + (3.0 - 5.0)},
        {"(a - 2*c)/sq(a + 0.001388888888888889)", (2.0 - 6.0) / (shifted * shifted)}};
    const QV_EquationStore& store = vzt::Equations(model);
    for (std::size_t k = 0; k < 2; ++k) {
        EXPECT_EQ(vzt::Infix(store.Equation(k), store, name), expected[k].first);
        EXPECT_DOUBLE_EQ(vzt::Evaluate(store.Equation(k), store, value).value_or(0.0),
                         expected[k].second);
    }
}

TEST_F(ExpressionsTest, MalformedStreamsAreReportedNotRead) {
    QV_ModelTypeEx2 model;
    QV_REALVARIABLE a(true);
    Builder b{model};
    b.Open().Op(EOp_Plus).Term(a);             // an operator short of an operand
    b.Open().Term(a).Term(a);                  // an operand too many
    b.Open().Op(static_cast<EOp>(99)).Term(a); // an operator code the host does not know
    const QV_EquationStore& store = vzt::Equations(model);
    const auto one = [](const QV_VarParam*) { return 1.0; };
    const auto name = [](const QV_VarParam*) { return std::string("a"); };
    for (std::size_t k = 0; k < store.EquationCount(); ++k) {
        EXPECT_FALSE(vzt::Evaluate(store.Equation(k), store, one).has_value()) << k;
        EXPECT_EQ(vzt::Infix(store.Equation(k), store, name), "<malformed>") << k;
    }
}

// A caller may write each name into the same buffer: the store keeps what the text said
// when it was given, not what the address last held.
TEST_F(ExpressionsTest, NamesGivenFromOneReusedBufferStayApart) {
    QV_ModelTypeEx2 model;
    char name[16];
    int counter = 0;
    const char* const written[] = {"QV_Eqn7", "QV_Eqn8", "QV_Eqn7", "QV_Eqn70", "QV_Eqn8"};
    for (const char* text : written) {
        std::snprintf(name, sizeof name, "%s", text);
        model.AddEquation(name, counter, 1);
    }
    model.AddEquation(static_cast<const char*>(nullptr), counter, 1);
    const QV_EquationStore& store = vzt::Equations(model);
    ASSERT_EQ(store.EquationCount(), 6u);
    for (std::size_t k = 0; k < 5; ++k) {
        EXPECT_STREQ(store.Equation(k).name, written[k]) << k;
    }
    EXPECT_STREQ(store.Equation(5).name, "");
    EXPECT_EQ(store.Equation(0).name, store.Equation(2).name); // one text per distinct name
}

TEST(ShortestDecimal, RoundTripsAndStaysReal) {
    for (double v : {0.5, -2.73205, 0.08333333333333333, 1e-300, 3.0, -0.0}) {
        const std::string text = vzt::ShortestDecimal(v);
        EXPECT_EQ(std::stod(text), v) << text;
        EXPECT_NE(text.find_first_of(".e"), std::string::npos) << text;
    }
    EXPECT_EQ(vzt::ShortestDecimal(0.04166), "0.04166");
}

} // namespace
