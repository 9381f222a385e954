// Every statement an outline places reads only loop state that an enclosing loop binds: an
// anchor in b, n or s, or a section parameter, inside a `for s`; in k or e inside a `for e`;
// in i only over a node range. Placed elsewhere it would stand wherever the last loop left
// off. The outline compiler sees the ranges and tests but not the statements' anchors, so
// the three distributions' outlines are checked here against their statement tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "types/distribution/outline.h"
#include "types/distribution1d/arrays.h"
#include "types/distribution1d/outline.h"
#include "types/distribution1d/statements.h"
#include "types/distribution2d/outline.h"
#include "types/distribution2d/statements.h"
#include "types/distribution3d/outline.h"
#include "types/distribution3d/statements.h"

namespace pellorin::eqn {
namespace {

struct Bound {
    bool section = false;
    bool element = false;
};

bool Uses(const IndexExpr& expr, Symbol symbol) {
    return expr.coefficient[static_cast<int>(symbol)] != 0;
}

// The symbols statement `node` reads that no loop around it binds, as "N: b k".
std::string Unbound(const StatementView& statements, const Node& node, Bound bound) {
    const Statement* statement = statements.Find(node.statement);
    if (statement == nullptr) {
        return std::to_string(node.statement) + ": no such statement";
    }
    const IndexExpr& anchor = statement->anchor.index[0];
    const struct {
        Symbol symbol;
        bool bound;
    } symbols[] = {{Symbol::I, node.ranged},   {Symbol::K, bound.element},
                   {Symbol::E, bound.element}, {Symbol::B, bound.section},
                   {Symbol::N, bound.section}, {Symbol::S, bound.section}};
    std::string missing;
    for (const auto& s : symbols) {
        if (!s.bound && Uses(anchor, s.symbol)) {
            missing += " " + std::string(kSymbolNames[static_cast<int>(s.symbol)]);
        }
    }
    for (const TermSlot& term : statements.TemplateOf(*statement).Terms()) {
        if (term.kind == TermKind::SectionParameter && !bound.section) {
            missing += " section parameter";
            break;
        }
    }
    return missing.empty() ? "" : std::to_string(node.statement) + ":" + missing;
}

void CollectUnbound(std::span<const Node> nodes, int from, int to, Bound bound,
                    const StatementView& statements, std::vector<std::string>& faults) {
    for (int at = from; at < to; at = nodes[at].end) {
        const Node& node = nodes[at];
        Bound inner = bound;
        switch (node.kind) {
        case NodeKind::If:
            CollectUnbound(nodes, at + 1, node.split, bound, statements, faults);
            CollectUnbound(nodes, node.split, node.end, bound, statements, faults);
            continue;
        case NodeKind::Sections:
            inner.section = true;
            break;
        case NodeKind::Elements:
            inner.element = true;
            break;
        case NodeKind::Along: // another own direction: the loops around are not its own
            inner = Bound{};
            break;
        case NodeKind::Other:
        case NodeKind::With:
            break;
        case NodeKind::Emit:
            if (std::string fault = Unbound(statements, node, bound); !fault.empty()) {
                faults.push_back(fault);
            }
            continue;
        }
        CollectUnbound(nodes, at + 1, node.end, inner, statements, faults);
    }
}

std::vector<std::string> UnboundIn(std::span<const Node> program, const StatementView& statements) {
    std::vector<std::string> faults;
    CollectUnbound(program, 0, int(program.size()), Bound{}, statements, faults);
    return faults;
}

constexpr OutlineVocabulary kNames1d{dist1d::kIntegrals, {}, 1, 102};
PELLORIN_OUTLINE(kBound, "for s { 2 for e { 12 } 3 [b + 1 : b + n] }", kNames1d);
PELLORIN_OUTLINE(kElementOutsideItsLoop, "for s { 12 }", kNames1d);
PELLORIN_OUTLINE(kSectionOutsideItsLoop, "2", kNames1d);
PELLORIN_OUTLINE(kNodeWithoutARange, "for s { 3 }", kNames1d);

TEST(OutlineBinding, FindsAStatementPlacedOutsideTheLoopsItReads) {
    const StatementView statements = dist1d::Statements();
    const struct {
        std::span<const Node> program;
        std::vector<std::string> faults;
    } cases[] = {
        {kBound.View(), {}},
        {kElementOutsideItsLoop.View(), {"12: k"}},
        {kSectionOutsideItsLoop.View(), {"2: b section parameter"}},
        {kNodeWithoutARange.View(), {"3: i"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnboundIn(c.program, statements), c.faults);
    }
}

TEST(OutlineBinding, EveryPlacedStatementReadsOnlyTheLoopsAroundIt) {
    const struct {
        const char* name;
        const Outline& outline;
        StatementView statements;
    } distributions[] = {
        {"DISTRIBUTION1D", dist1d::EquationOutline(), dist1d::Statements()},
        {"DISTRIBUTION2D", dist2d::EquationOutline(), dist2d::Statements()},
        {"DISTRIBUTION3D", dist3d::EquationOutline(), dist3d::Statements()},
    };
    for (const auto& d : distributions) {
        ASSERT_FALSE(d.outline.blocks.empty()) << d.name;
        for (std::size_t b = 0; b < d.outline.blocks.size(); ++b) {
            for (const std::string& fault : UnboundIn(d.outline.blocks[b].program, d.statements)) {
                ADD_FAILURE() << d.name << " block " << b << ", statement " << fault;
            }
        }
    }
}

} // namespace
} // namespace pellorin::eqn
