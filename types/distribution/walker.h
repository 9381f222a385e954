// The one walk over an outline that both equation walks share. It runs each taken block's
// program, visits the instances in order, resolves each instance's terms in stream order and
// hands the instance to a sink:
//   bool sink.Instance(const Statement&, const Template&, std::span<QV_VarParam* const> terms)
// A term that cannot be resolved ends the walk before its instance reaches the sink.
//
// A sink that declares `static constexpr bool kChecksOnly = true` receives nothing: the walk
// then only asks whether every term of every instance it would visit can be had, a range of
// nodes at a time (and a loop over another direction at its two ends, where the context
// tells that every array's set along it is a run), so that a walk that would fail can be
// refused before anything is registered.
//
// A block runs in its own direction: its statements' indices are the own direction's, and
// every other index of an array term is the value of that direction's enclosing loop.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <span>

#include <vuzizev/sets.h>

#include "types/distribution/context.h"
#include "types/distribution/index_sets.h"
#include "types/distribution/outline.h"
#include "types/domain/methods.h"

namespace pellorin::eqn {

struct WalkOutcome {
    int instances = 0;     // instances handed to the sink
    bool complete = false; // false when a term lookup failed and the walk stopped
};

template <class Sink, class Context = EquationContext>
class Walker {
public:
    Walker(const Outline& outline, Context& context, Sink& sink, WalkKind kind)
        : m_outline(outline), m_context(context), m_sink(sink),
          m_expressions(kind == WalkKind::Expressions) {}

    WalkOutcome Run() {
        std::array<int, kMaxDirections> method{};
        for (int d = 0; d < m_outline.rank; ++d) {
            method[d] = methods::FindMethod(m_context.Method(d));
        }
        for (const Block& block : m_outline.blocks) {
            if (!m_ok) {
                break;
            }
            if (block.method != kAnyMethod && block.method != method[block.direction]) {
                continue;
            }
            m_own = block.direction;
            m_binding = 0;
            Bind();
            RunNodes(block.program, 0, int(block.program.size()));
        }
        return {m_count, m_ok};
    }

private:
    using Value = std::int64_t;

    void RunNodes(std::span<const Node> nodes, int from, int to) {
        for (int at = from; at < to && m_ok; at = nodes[at].end) {
            const Node& node = nodes[at];
            switch (node.kind) {
            case NodeKind::If:
                if (Holds(node.condition)) {
                    RunNodes(nodes, at + 1, node.split);
                } else {
                    RunNodes(nodes, node.split, node.end);
                }
                break;
            case NodeKind::Sections:
                RunSections(nodes, at);
                break;
            case NodeKind::Elements:
                RunElements(nodes, at);
                break;
            case NodeKind::Other:
                RunOther(nodes, at);
                break;
            case NodeKind::Along:
            case NodeKind::With: {
                const int own = m_own;
                const int binding = m_binding;
                (node.kind == NodeKind::Along ? m_own : m_binding) =
                    node.kind == NodeKind::Along ? node.direction : node.binding;
                Bind();
                RunNodes(nodes, at + 1, node.end);
                m_own = own;
                m_binding = binding;
                Bind();
                break;
            }
            case NodeKind::Emit:
                RunEmit(node);
                break;
            }
        }
    }

    void RunSections(std::span<const Node> nodes, int at) {
        const int sections = m_context.SectionCount(m_own);
        for (int s = 1; s <= sections && m_ok; ++s) {
            if (!m_context.HasSection(m_own, s)) {
                m_ok = false;
                return;
            }
            m_sections = sections;
            Set(Symbol::S, s);
            Set(Symbol::B, m_context.Base(m_own, s));
            Set(Symbol::N, m_context.NodeCount(m_own, s));
            RunNodes(nodes, at + 1, nodes[at].end);
        }
    }

    void RunElements(std::span<const Node> nodes, int at) {
        const int elements = m_context.ElementCount(m_own, int(Get(Symbol::S)));
        const Value step = elements > 0 ? Value(m_context.PolyPoints(m_own)) + 1 : 0;
        for (int e = 1; e <= elements && m_ok; ++e) {
            Set(Symbol::E, e);
            Set(Symbol::K, Get(Symbol::B) + (e - 1) * step);
            RunNodes(nodes, at + 1, nodes[at].end);
        }
    }

    // Another direction's nodes: a range read where the loop starts, or the set {0} +
    // INTERIOR + {ENDNODE} built there through the host's set algebra.
    void RunOther(std::span<const Node> nodes, int at) {
        const Node& node = nodes[at];
        const int d = node.direction;
        if constexpr (ChecksOnly()) {
            if (m_context.ArraysAreRunsAlong(d, ArraysUnder(nodes, at))) {
                RunOtherEnds(nodes, at);
                return;
            }
        }
        if (node.range != OtherRange::Bordered) {
            const Value end = m_context.EndNode(d);
            for (Value v = node.range == OtherRange::From1 ? 1 : 0; v <= end && m_ok; ++v) {
                m_other[d] = v;
                RunNodes(nodes, at + 1, node.end);
            }
            return;
        }
        QV_IntegerSetIter it(BorderedNodes(d, m_context.EndNode(d)));
        while (m_ok && it.Next()) {
            m_other[d] = m_expressions ? it.fv() : it.v();
            RunNodes(nodes, at + 1, node.end);
        }
    }

    // The arrays a loop's body may name, one bit each: the array terms of every statement
    // under it, through every binding and own direction (more than it names at any one node,
    // never fewer). A binding the outline does not have maps every role to the first array.
    std::uint32_t ArraysUnder(std::span<const Node> nodes, int at) const {
        std::uint32_t arrays = 1;
        for (int k = at + 1; k < nodes[at].end; ++k) {
            const Statement* statement = nodes[k].kind == NodeKind::Emit
                                             ? m_outline.statements.Find(nodes[k].statement)
                                             : nullptr;
            if (statement == nullptr) {
                continue;
            }
            const Template& tmpl = m_outline.statements.TemplateOf(*statement);
            for (int t = 0; t < tmpl.termCount; ++t) {
                if (tmpl.term[t].kind == TermKind::SectionParameter) {
                    continue;
                }
                for (const Binding& binding : m_outline.bindings) {
                    for (int d = 0; d < m_outline.rank; ++d) {
                        const int array = binding[d][tmpl.term[t].id];
                        arrays |= array < 32 ? std::uint32_t(1) << array : ~std::uint32_t(0);
                    }
                }
            }
        }
        return arrays;
    }

    // The check over another direction's nodes when the set along it of every array the
    // loop's body may name is a run: nothing the body does depends on the node but the index
    // its array terms have along that direction, so every term can be had at every node of
    // the loop when it can at the first and at the last, and the body is checked at those
    // two alone.
    void RunOtherEnds(std::span<const Node> nodes, int at) {
        const Node& node = nodes[at];
        const int d = node.direction;
        Value first = node.range == OtherRange::From1 ? 1 : 0;
        Value last = m_context.EndNode(d);
        if (node.range == OtherRange::Bordered) {
            QV_IntegerSetIter it(BorderedNodes(d, last));
            if (!it.Next()) {
                return;
            }
            first = it.v();
            last = first;
            while (it.Next()) {
                last = it.v();
            }
        }
        if (first > last) {
            return;
        }
        m_other[d] = first;
        RunNodes(nodes, at + 1, node.end);
        if (last != first && m_ok) {
            m_other[d] = last;
            RunNodes(nodes, at + 1, node.end);
        }
    }

    // {0} + INTERIOR + {end} of direction d.
    QV_IntSetValue BorderedNodes(int d, Value end) {
        const QV_SetValue* interior = m_context.Interior(d);
        const QV_SetValue none = QV_IntSetValue(static_cast<const char*>(nullptr));
        return Bordered(interior != nullptr ? *interior : none, end);
    }

    void RunEmit(const Node& node) {
        const Statement* statement = m_outline.statements.Find(node.statement);
        if (statement == nullptr) {
            m_ok = false;
            return;
        }
        if constexpr (ChecksOnly()) {
            Check(*statement, node);
            return;
        }
        if (!node.ranged) {
            Emit(*statement);
            return;
        }
        const Value hi = Evaluate(node.hi);
        for (Value i = Evaluate(node.lo); i <= hi && m_ok; ++i) {
            Set(Symbol::I, i);
            Emit(*statement);
        }
    }

    void Emit(const Statement& statement) {
        const Template& tmpl = m_outline.statements.TemplateOf(statement);
        const Value anchor = Evaluate(statement.anchor.index[0]);
        std::array<QV_VarParam*, kMaxTerms> terms{};
        for (int t = 0; t < tmpl.termCount && m_ok; ++t) {
            terms[t] = Resolve(tmpl.term[t], anchor);
            m_ok = terms[t] != nullptr;
        }
        if (m_ok) {
            m_ok = m_sink.Instance(statement, tmpl, {terms.data(), size_t(tmpl.termCount)});
            m_count += m_ok ? 1 : 0;
        }
    }

    static constexpr bool ChecksOnly() {
        if constexpr (requires { Sink::kChecksOnly; }) {
            return Sink::kChecksOnly;
        } else {
            return false;
        }
    }

    // Whether every term of the statement can be had at every node of the emit's range. The
    // anchor moves with i by one node per step (or not at all), so each array term covers
    // one run of own nodes, checked against its declared set in one step; any other anchor
    // is checked node by node.
    void Check(const Statement& statement, const Node& node) {
        Value lo = 0;
        Value hi = 0;
        if (node.ranged) {
            lo = Evaluate(node.lo);
            hi = Evaluate(node.hi);
            if (lo > hi) {
                return;
            }
            Set(Symbol::I, lo);
        }
        const Value first = Evaluate(statement.anchor.index[0]);
        if (node.ranged) {
            Set(Symbol::I, hi);
        }
        const Value last = Evaluate(statement.anchor.index[0]);
        const Template& tmpl = m_outline.statements.TemplateOf(statement);
        if (last - first == hi - lo || last == first) {
            for (int t = 0; t < tmpl.termCount && m_ok; ++t) {
                m_ok = Covered(tmpl.term[t], first, last);
            }
            return;
        }
        for (Value i = lo; i <= hi && m_ok; ++i) {
            Set(Symbol::I, i);
            const Value anchor = Evaluate(statement.anchor.index[0]);
            for (int t = 0; t < tmpl.termCount && m_ok; ++t) {
                m_ok = Covered(tmpl.term[t], anchor, anchor);
            }
        }
    }

    // Whether the term can be had for every own anchor from `first` to `last`.
    bool Covered(const TermSlot& slot, Value first, Value last) {
        if (slot.kind == TermKind::SectionParameter) {
            return Resolve(slot, first) != nullptr;
        }
        std::array<int, kMaxDirections> index{};
        const Value end = last + slot.offset[0];
        return ElementIndex(slot, first, index) && Fits(end) &&
               m_context.ArrayCovers(m_roles[slot.id], index.data(), m_own, int(end));
    }

    QV_VarParam* Resolve(const TermSlot& slot, Value anchor) {
        if (slot.kind == TermKind::SectionParameter) {
            const Value s = Get(Symbol::S) + slot.offset[0];
            return Fits(s) ? m_context.SectionParameter(m_own, slot.id, int(s)) : nullptr;
        }
        std::array<int, kMaxDirections> index{};
        return ElementIndex(slot, anchor, index)
                   ? m_context.ArrayElement(m_roles[slot.id], index.data())
                   : nullptr;
    }

    // An array term's index: the own direction's anchor moved by the term's offset, every
    // other direction's loop value; false when one does not fit 32 bits.
    bool ElementIndex(const TermSlot& slot, Value anchor, std::array<int, kMaxDirections>& index) {
        for (int d = 0; d < m_outline.rank; ++d) {
            const Value v = d == m_own ? anchor + slot.offset[0] : m_other[d];
            if (!Fits(v)) {
                return false;
            }
            index[d] = int(v);
        }
        return true;
    }

    void Bind() {
        const std::size_t b = m_binding;
        m_roles = b < m_outline.bindings.size() ? m_outline.bindings[b][m_own] : RoleMap{};
    }

    // Makes the tests left to right and stops at the first that decides.
    bool Holds(const Condition& condition) {
        for (int k = 0; k < condition.count; ++k) {
            const Literal& literal = condition.literal[k];
            const bool holds = Test(literal) != literal.negated;
            if (holds == condition.any) {
                return holds;
            }
        }
        return !condition.any;
    }

    // The tests on the own direction's orders and boundary condition and on INTEGRALS read
    // values that stay as they are during a walk: each is made once per direction.
    bool Test(const Literal& literal) {
        const int slot = KeptAt(literal);
        if (slot < 0) {
            return TestNow(literal);
        }
        std::uint8_t& known = m_known[m_own][slot];
        if (known == 0) {
            known = TestNow(literal) ? 2 : 1;
        }
        return known == 2;
    }

    // Where the answer of a test made once per direction is kept; -1 for the others.
    static int KeptAt(const Literal& literal) {
        if (literal.atom == Atom::Integral) {
            return literal.integral < kKeptIntegrals ? kKeptOrderTests + literal.integral : -1;
        }
        return literal.atom <= Atom::Forward ? static_cast<int>(literal.atom) : -1;
    }

    bool TestNow(const Literal& literal) {
        const Value s = Get(Symbol::S);
        switch (literal.atom) {
        case Atom::UsedAbove0:
            return m_context.UsedOrder(m_own) > 0;
        case Atom::UsedAbove1:
            return m_context.UsedOrder(m_own) > 1;
        case Atom::DeclaredOrder2:
            return m_context.DeclaredOrder(m_own) == 2;
        case Atom::Backward:
            return SUValue::CompareCI("Backward", m_context.ElementBoundary(m_own)) == 0;
        case Atom::Forward:
            return SUValue::CompareCI("Forward", m_context.ElementBoundary(m_own)) == 0;
        case Atom::FirstSection:
            return s == 1;
        case Atom::LastSection:
            return s == m_sections;
        case Atom::ElementAtFirstNode:
            return Get(Symbol::K) == 0;
        case Atom::ElementAtLastNode:
            return Get(Symbol::K) + Value(m_context.PolyPoints(m_own)) + 1 ==
                   m_context.EndNode(m_own);
        case Atom::PrevSpacingEqual:
            return SpacingEqual(s - 1, s);
        case Atom::NextSpacingEqual:
            return SpacingEqual(s + 1, s);
        case Atom::Integral:
            return m_context.IntegralRequested(literal.integral);
        }
        return false;
    }

    // NaN, as for a section that does not exist, equals nothing.
    bool SpacingEqual(Value other, Value s) {
        if (!Fits(other)) {
            return false;
        }
        return m_context.ElementLengthValue(m_own, int(other)) ==
               m_context.ElementLengthValue(m_own, int(s));
    }

    Value Evaluate(const IndexExpr& expr) const {
        Value v = expr.constant;
        for (int k = 0; k < kSymbolCount; ++k) {
            v += Value(expr.coefficient[k]) * m_symbol[k];
        }
        return v;
    }

    static bool Fits(Value v) { return v >= INT_MIN && v <= INT_MAX; }
    Value Get(Symbol s) const { return m_symbol[static_cast<int>(s)]; }
    void Set(Symbol s, Value v) { m_symbol[static_cast<int>(s)] = v; }

    const Outline& m_outline;
    Context& m_context;
    Sink& m_sink;
    const bool m_expressions;
    std::array<Value, kSymbolCount> m_symbol{};
    std::array<Value, kMaxDirections> m_other{};
    RoleMap m_roles{};
    int m_own = 0;
    int m_binding = 0;
    int m_sections = 0;
    int m_count = 0;
    bool m_ok = true;
    // The answers of the tests made once per direction (the atoms up to Forward, then the
    // integrals): 0 not made yet, 1 false, 2 true.
    static constexpr int kKeptOrderTests = static_cast<int>(Atom::Forward) + 1;
    static constexpr int kKeptIntegrals = 16;
    std::array<std::array<std::uint8_t, kKeptOrderTests + kKeptIntegrals>, kMaxDirections>
        m_known{};
};

} // namespace pellorin::eqn
