// The coefficient table and the residual notation compiler.
#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <set>
#include <string>

#include "types/distribution/notation.h"
#include "types/distribution1d/statements.h"

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
    EXPECT_EQ(kCoefficients.size(), std::size_t(kStoredCoefficientCount + 1));
    EXPECT_EQ(kCoefficients[0].value, 1.0 / 720);
    EXPECT_EQ(kCoefficients[12].value, 1.0 / 12);
    EXPECT_EQ(kCoefficients[64].value, -13.0);
    EXPECT_EQ(kCoefficients.back().value, 0.5);
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
            out += slot.kind == TermKind::Array ? std::string(dist1d::kArrayNames[slot.id]) : "h";
            out += "[" + std::to_string(slot.offset[0]) + "]";
            break;
        }
        }
        out += ' ';
    }
    return out;
}

TEST(NotationCompiler, TurnsResidualsIntoPrefixStreamsRelativeToTheAnchor) {
    const Compiled bfd1 =
        Compile("((DDX(i) * h) + (VALUE(i - 1) - VALUE(i)))", dist1d::kVocabulary);
    ASSERT_EQ(bfd1.error, nullptr);
    EXPECT_EQ(Describe(bfd1), "op19 op21 DDX[0] h[0] op20 VALUE[-1] VALUE[0] ");
    EXPECT_EQ(bfd1.anchor.rank, 1);
    EXPECT_EQ(bfd1.anchor.index[0].coefficient[int(Symbol::I)], 1);

    const Compiled join = Compile("((DDX(b + n) * (h(s+1) + h)) + (VALUE(b + n - 1) - "
                                  "VALUE(b + n + 1)))",
                                  dist1d::kVocabulary);
    ASSERT_EQ(join.error, nullptr);
    EXPECT_EQ(Describe(join), "op19 op21 DDX[0] op19 h[1] h[0] op20 VALUE[-1] VALUE[1] ");

    const Compiled signs = Compile("((DDX(k) * h) + (VALUE(k + 2) - ((-3.0 * VALUE(k)) + "
                                   "(-50 * sq(VALUE(k + 1))))))",
                                   dist1d::kVocabulary);
    ASSERT_EQ(signs.error, nullptr);
    EXPECT_EQ(Describe(signs), "op19 op21 DDX[0] h[0] op20 VALUE[2] op19 op21 real-3.0 VALUE[0] "
                               "op21 int-50 op40 VALUE[1] ");

    const Compiled start = Compile("op1(IDX(0))", dist1d::kVocabulary);
    ASSERT_EQ(start.error, nullptr);
    EXPECT_EQ(Describe(start), "op1 IDX[0] ");
}

TEST(NotationCompiler, ReadsSeveralIndicesPerTerm) {
    static constexpr std::array<std::string_view, 2> arrays = {"VALUE", "DDY"};
    static constexpr std::array<std::string_view, 1> parameters = {"h"};
    const Vocabulary twoD{arrays, parameters};
    const Compiled c = Compile("((DDY(i, b + 1) * h) + (VALUE(i, b) - VALUE(i, b + 2)))", twoD);
    ASSERT_EQ(c.error, nullptr);
    EXPECT_EQ(c.anchor.rank, 2);
    EXPECT_EQ(c.anchor.index[1].constant, 1);
    EXPECT_EQ(c.tmpl.term[2].offset[0], 0);
    EXPECT_EQ(c.tmpl.term[2].offset[1], -1);
    EXPECT_EQ(c.tmpl.term[3].offset[1], 1);
}

TEST(NotationCompiler, RejectsMalformedTextsWithTheirFault) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"((DDY(i) * h) + VALUE(i))", "unknown array or parameter"},
        {"((DDX(i) * h) + VALUE(i)", "expected ')'"},
        {"((DDX(i) * h) ^ VALUE(i))", "expected an operator"},
        {"((DDX(i) * h) + VALUE(i))) ", "unexpected text after the residual"},
        {"((DDX(i) * 0.3) + VALUE(i))", "real literal is not in the coefficient table"},
        {"((DDX(i) * 3.) + VALUE(i))", "expected digits after '.'"},
        {"((DDX(i) * h(b+1)) + VALUE(i))", "a section parameter takes s plus a constant"},
        {"((DDX(i) * h) + VALUE(k))", "an index differs from the anchor by more than a constant"},
        {"((DDX(x) * h) + VALUE(i))", "unknown index symbol"},
        {"(h * 2)", "a residual needs an array term"},
        {"(DDX(i) * h)(", "unexpected text after the residual"},
        {"", "expected an operand"},
    };
    for (const auto& c : cases) {
        const Compiled out = Compile(c.text, dist1d::kVocabulary);
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

} // namespace
} // namespace pellorin::eqn
