// The one-dimensional statement table and outline, checked as data.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "types/distribution1d/outline.h"
#include "types/distribution1d/statements.h"

namespace pellorin::dist1d {
namespace {

using namespace eqn;

TEST(Statements1D, BuildTableMatchesARunTimeCompileOfEveryText) {
    const StatementView view = Statements();
    ASSERT_EQ(StatementTexts().size(), 102u);
    ASSERT_EQ(view.statements.size(), 102u);
    for (const StatementText& text : StatementTexts()) {
        const Compiled c = Compile(text.residual, kVocabulary);
        ASSERT_EQ(c.error, nullptr) << text.number << " at " << c.position;
        const Statement* s = view.Find(text.number);
        ASSERT_NE(s, nullptr);
        EXPECT_EQ(s->group, text.group);
        EXPECT_TRUE(view.TemplateOf(*s) == c.tmpl) << text.number;
        EXPECT_TRUE(s->anchor == c.anchor) << text.number;
        EXPECT_EQ(std::string(s->name.data()), "QV_Eqn" + std::to_string(text.number));
    }
    EXPECT_EQ(view.Find(0), nullptr);
    EXPECT_EQ(view.Find(103), nullptr);
}

TEST(Statements1D, TokenCountsPerGroupMatchTheSizeTable) {
    // Per own group: variable and parameter terms, operators, integer terms, real terms.
    const std::array<std::array<int, 4>, 12> expected = {{{0, 0, 0, 0},
                                                          {1, 1, 0, 0},
                                                          {21, 20, 1, 2},
                                                          {34, 45, 15, 2},
                                                          {21, 20, 1, 2},
                                                          {34, 45, 15, 2},
                                                          {39, 49, 15, 2},
                                                          {108, 173, 75, 4},
                                                          {90, 153, 69, 4},
                                                          {49, 61, 0, 21},
                                                          {78, 113, 0, 46},
                                                          {111, 171, 0, 73}}};
    std::array<std::array<int, 4>, 12> counted{};
    const StatementView view = Statements();
    for (const Statement& s : view.statements) {
        for (const Token& t : view.TemplateOf(s).Tokens()) {
            const int column = t.kind == TokenKind::Term      ? 0
                               : t.kind == TokenKind::Op      ? 1
                               : t.kind == TokenKind::Integer ? 2
                                                              : 3;
            ++counted[s.group][column];
        }
    }
    EXPECT_EQ(counted, expected);
}

TEST(Statements1D, EveryCoefficientIsUsedAndNoResidualNamesATermTwice) {
    std::set<int> used;
    const StatementView view = Statements();
    for (const Statement& s : view.statements) {
        const Template& t = view.TemplateOf(s);
        for (const Token& token : t.Tokens()) {
            if (token.kind == TokenKind::Real) {
                used.insert(token.value);
            }
        }
        for (int a = 0; a < t.termCount; ++a) {
            for (int b = a + 1; b < t.termCount; ++b) {
                EXPECT_FALSE(t.term[a] == t.term[b]) << s.number;
            }
        }
    }
    EXPECT_EQ(used.size(), kCoefficients.size());
}

TEST(Statements1D, IdenticalStreamsShareOneTemplate) {
    const StatementView view = Statements();
    auto templateOf = [&](int n) { return view.Find(n)->templateIndex; };
    // Second derivatives of the low-order blocks; a two-point forward difference at b and i.
    for (int n : {10, 16, 22, 30}) {
        EXPECT_EQ(templateOf(n), templateOf(4)) << n;
    }
    EXPECT_EQ(templateOf(14), templateOf(2));
    EXPECT_EQ(templateOf(60), templateOf(47));
    // Same weights in another stream order stay apart.
    EXPECT_NE(templateOf(79), templateOf(80));
    EXPECT_LT(view.templates.size(), 70u);
}

// Which symbols are bound where an item stands.
bool UsesOnly(const Anchor& anchor, std::initializer_list<Symbol> bound) {
    for (int k = 0; k < kSymbolCount; ++k) {
        bool allowed = false;
        for (Symbol s : bound) {
            allowed = allowed || int(s) == k;
        }
        if (anchor.index[0].coefficient[k] != 0 && !allowed) {
            return false;
        }
    }
    return true;
}

TEST(Outline1D, EveryStatementStandsOnceInItsBlockWithItsSymbolsBound) {
    const Outline& outline = EquationOutline();
    std::multiset<int> seen;
    for (const Item& item : outline.start) {
        seen.insert(item.statement);
    }
    const std::array<const char*, 10> methods = {"BFD1", "BFD2",  "FFD1",  "FFD2",  "CFD2",
                                                 "CFD4", "UBFD4", "OCFE2", "OCFE3", "OCFE4"};
    ASSERT_EQ(outline.blocks.size(), methods.size());
    for (std::size_t b = 0; b < methods.size(); ++b) {
        const Block& block = outline.blocks[b];
        EXPECT_EQ(block.method, methods[b]);
        for (const Part& part : block.parts) {
            for (const auto& [items, element] :
                 {std::pair{part.perSection, false}, std::pair{part.perElement, true}}) {
                for (const Item& item : items) {
                    seen.insert(item.statement);
                    const Statement* s = outline.statements.Find(item.statement);
                    ASSERT_NE(s, nullptr);
                    EXPECT_EQ(s->group, int(b) + 2) << item.statement;
                    const bool ok = item.ranged ? UsesOnly(s->anchor, {Symbol::I})
                                    : element   ? UsesOnly(s->anchor, {Symbol::K})
                                                : UsesOnly(s->anchor, {Symbol::B, Symbol::N});
                    EXPECT_TRUE(ok) << item.statement;
                }
            }
        }
    }
    for (int n = 1; n <= 102; ++n) {
        EXPECT_EQ(seen.count(n), 1u) << n;
    }
}

} // namespace
} // namespace pellorin::dist1d
