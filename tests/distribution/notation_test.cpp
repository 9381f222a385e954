// The coefficient table and the residual notation compiler.
#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <set>
#include <string>

#include "types/distribution/notation.h"
#include "types/distribution/outline.h"
#include "types/distribution/statement_table.h"

namespace pellorin::eqn {
namespace {

TEST(CoefficientTable, EveryEntryIsTheDoubleItsLiteralDenotes) {
    std::set<std::uint64_t> seen;
    for (const Coefficient& c : kCoefficients) {
        const std::string text(c.text);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(std::strtod(text.c_str(), nullptr)),
                  std::bit_cast<std::uint64_t>(c.value))
            << text;
        EXPECT_TRUE(seen.insert(std::bit_cast<std::uint64_t>(c.value)).second) << text;
    }
}

std::string Describe(const Compiled& c) {
    std::string out;
    for (const Token& t : c.tmpl.Tokens()) {
        switch (t.kind) {
        case TokenKind::Op:
            out += "op" + std::to_string(t.value);
            break;
        case TokenKind::Integer:
            out += "int" + std::to_string(t.value);
            break;
        case TokenKind::Real:
            out += "real" + std::string(kCoefficients[t.value].text);
            break;
        case TokenKind::Term: {
            const TermSlot& slot = c.tmpl.term[t.value];
            out += slot.kind == TermKind::Array ? std::string(kRoleNames[slot.id]) : "h";
            out += "[" + std::to_string(slot.offset[0]) + "]";
            break;
        }
        }
        out += ' ';
    }
    return out;
}

TEST(NotationCompiler, TurnsResidualsIntoPrefixStreamsRelativeToTheAnchor) {
    const Compiled bfd1 = Compile("((D1(i) * h) + (F(i - 1) - F(i)))", kRoleVocabulary);
    ASSERT_EQ(bfd1.error, nullptr);
    EXPECT_EQ(Describe(bfd1), "op19 op21 D1[0] h[0] op20 F[-1] F[0] ");
    EXPECT_EQ(bfd1.anchor.rank, 1);
    EXPECT_EQ(bfd1.anchor.index[0].coefficient[int(Symbol::I)], 1);

    const Compiled join = Compile("((D1(b + n) * (h(s+1) + h)) + (F(b + n - 1) - "
                                  "F(b + n + 1)))",
                                  kRoleVocabulary);
    ASSERT_EQ(join.error, nullptr);
    EXPECT_EQ(Describe(join), "op19 op21 D1[0] op19 h[1] h[0] op20 F[-1] F[1] ");

    const Compiled signs = Compile("((D1(k) * h) + (F(k + 2) - ((-3.0 * F(k)) + "
                                   "(-50 * sq(F(k + 1))))))",
                                   kRoleVocabulary);
    ASSERT_EQ(signs.error, nullptr);
    EXPECT_EQ(Describe(signs), "op19 op21 D1[0] h[0] op20 F[2] op19 op21 real-3.0 F[0] "
                               "op21 int-50 op40 F[1] ");

    const Compiled start = Compile("op1(I(0))", kRoleVocabulary);
    ASSERT_EQ(start.error, nullptr);
    EXPECT_EQ(Describe(start), "op1 I[0] ");
}

TEST(NotationCompiler, RejectsMalformedTextsWithTheirFault) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"((D9(i) * h) + F(i))", "unknown array or parameter"},
        {"((D1(i) * h) + F(i)", "expected ')'"},
        {"((D1(i) * h) ^ F(i))", "expected an operator"},
        {"((D1(i) * h) + F(i))) ", "unexpected text after the residual"},
        {"((D1(i) * 0.3) + F(i))", "real literal is not in the coefficient table"},
        {"((D1(i) * 3.) + F(i))", "expected digits after '.'"},
        {"((D1(i) * h(b+1)) + F(i))", "a section parameter takes s plus a constant"},
        {"((D1(i) * h(s+101)) + F(i))", "section offset out of range"},
        {"((D1(i) * h) + F(i + 101))", "index offset out of range"},
        {"((D1(i) * h) + F(k))", "an index differs from the anchor by more than a constant"},
        {"((D1(x) * h) + F(i))", "unknown index symbol"},
        {"(h * 2)", "a residual needs an array term"},
        {"(D1(i) * h)(", "unexpected text after the residual"},
        {"", "expected an operand"},
    };
    for (const auto& c : cases) {
        const Compiled out = Compile(c.text, kRoleVocabulary);
        ASSERT_NE(out.error, nullptr) << c.text;
        EXPECT_STREQ(out.error, c.error) << c.text;
    }
}

TEST(NotationCompiler, ReadsNodeRanges) {
    IndexExpr lo, hi;
    ASSERT_TRUE(CompileRange("b + n - 1 : b + n", lo, hi));
    EXPECT_EQ(lo.constant, -1);
    EXPECT_EQ(lo.coefficient[int(Symbol::B)], 1);
    EXPECT_EQ(hi.coefficient[int(Symbol::N)], 1);
    EXPECT_FALSE(CompileRange("b + 1", lo, hi));
    EXPECT_FALSE(CompileRange("b : q", lo, hi));
}

// An outline that reads a loop's state outside that loop would read whatever the last loop
// left; it is refused, with the reason.
TEST(OutlineCompiler, RefusesASymbolOutsideTheLoopThatBindsIt) {
    static constexpr std::array<std::string_view, 1> kIntegrals = {"idx"};
    static constexpr OutlineVocabulary kNames{kIntegrals, {}, 1, 9};
    const struct {
        const char* text;
        const char* error; // null: the outline compiles
    } cases[] = {
        {"for s { if s=ns { 1 } for e { if k=0 { 2 } 3 [k + 1 : k + 2] } 4 [b : b + n] }", nullptr},
        {"if s=ns { 1 }", "outline: a section test outside the `for s` that binds s"},
        {"if not s=1 { 1 }", "outline: a section test outside the `for s` that binds s"},
        {"if h(s+1)=h { 1 }", "outline: a section test outside the `for s` that binds s"},
        {"for s { } if h(s-1)=h { 1 }", "outline: a section test outside the `for s` that binds s"},
        {"for s { if k=0 { 1 } }", "outline: an element test outside the `for e` that binds k"},
        {"for s { if k+p=end { 1 } }", "outline: an element test outside the `for e` that binds k"},
        {"for e { 1 }", "outline: `for e` outside the `for s` that binds its section"},
        {"1 [b : b + n]", "outline: b, n or s in a range outside the `for s` that binds them"},
        {"for x { 1 [0 : s] }",
         "outline: b, n or s in a range outside the `for s` that binds them"},
        {"for s { 1 [k : k + 2] }",
         "outline: k or e in a range outside the `for e` that binds them"},
        {"for s { 1 [i : b] }", "outline: a node range names i, which it binds"},
        {"for s { 1 [b : ] }", "outline: malformed node range"},
        {"for s { 1 ", "outline: missing '}'"},
        {"if used>0 and used>1 or ho=2 { 1 }", "outline: `and` and `or` mixed"},
        {"10", "outline: no such statement"},
    };
    for (const auto& c : cases) {
        const char* error = OutlineError(c.text, kNames);
        if (c.error == nullptr) {
            EXPECT_EQ(error, nullptr) << c.text << ": " << error;
        } else {
            EXPECT_STREQ(error, c.error) << c.text;
        }
    }
}

} // namespace
} // namespace pellorin::eqn
