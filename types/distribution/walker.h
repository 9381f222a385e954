// The one walk over an outline that both equation walks share. It visits the instances in
// order, resolves each instance's terms in stream order and hands the instance to a sink:
//   bool sink.Instance(const Statement&, const Template&, std::span<QV_VarParam* const> terms)
// A term that cannot be resolved ends the walk before its instance reaches the sink.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <span>

#include "framework/api.h"
#include "types/distribution/context.h"
#include "types/distribution/outline.h"

namespace pellorin::eqn {

struct WalkOutcome {
    int instances = 0;     // instances handed to the sink
    bool complete = false; // false when a term lookup failed and the walk stopped
};

// Equal ignoring the case of ASCII letters; a null string equals nothing.
PELLORIN_API bool EqualsIgnoringCase(std::string_view literal, const char* value);

template <class Sink, class Context = EquationContext>
class Walker {
public:
    Walker(const Outline& outline, Context& context, Sink& sink)
        : m_outline(outline), m_context(context), m_sink(sink) {}

    WalkOutcome Run() {
        RunItems(m_outline.start);
        for (const Block& block : m_outline.blocks) {
            if (m_ok && EqualsIgnoringCase(block.method, m_context.Method())) {
                RunBlock(block);
            }
        }
        return {m_count, m_ok};
    }

private:
    using Value = std::int64_t;

    void RunBlock(const Block& block) {
        if (block.order == Order::SectionsOutside) {
            const int sections = m_context.SectionCount();
            for (int s = 1; s <= sections && m_ok; ++s) {
                EnterSection(s, sections);
                for (const Part& part : block.parts) {
                    if (Holds(part.when)) {
                        RunSection(part);
                    }
                }
            }
            return;
        }
        for (const Part& part : block.parts) {
            if (!Holds(part.when)) {
                continue;
            }
            const int sections = m_context.SectionCount();
            for (int s = 1; s <= sections && m_ok; ++s) {
                EnterSection(s, sections);
                RunSection(part);
            }
        }
    }

    void EnterSection(int s, int sections) {
        m_sections = sections;
        Set(Symbol::S, s);
        Set(Symbol::B, m_context.Base(s));
        Set(Symbol::N, m_context.NodeCount(s));
    }

    void RunSection(const Part& part) {
        RunItems(part.perSection);
        if (part.perElement.empty()) {
            return;
        }
        const int s = static_cast<int>(Get(Symbol::S));
        const int elements = m_context.ElementCount(s);
        for (int e = 1; e <= elements && m_ok; ++e) {
            const Value step = Value(m_context.PolyPoints()) + 1;
            Set(Symbol::E, e);
            Set(Symbol::K, Get(Symbol::B) + (e - 1) * step);
            RunItems(part.perElement);
        }
    }

    void RunItems(std::span<const Item> items) {
        for (const Item& item : items) {
            if (!m_ok) {
                return;
            }
            const Statement* statement = m_outline.statements.Find(item.statement);
            if (statement == nullptr) {
                m_ok = false;
                return;
            }
            if (!item.ranged) {
                m_anchor = Evaluate(statement->anchor.index[0]);
                if (Holds(item.guard)) {
                    Emit(*statement);
                }
                continue;
            }
            if (!Holds(item.guard)) {
                continue;
            }
            const Value hi = Evaluate(item.hi);
            for (Value i = Evaluate(item.lo); i <= hi && m_ok; ++i) {
                Set(Symbol::I, i);
                Emit(*statement);
            }
        }
    }

    void Emit(const Statement& statement) {
        const Template& tmpl = m_outline.statements.TemplateOf(statement);
        std::array<Value, kMaxRank> anchor{};
        for (int d = 0; d < statement.anchor.rank; ++d) {
            anchor[d] = Evaluate(statement.anchor.index[d]);
        }
        std::array<QV_VarParam*, kMaxTerms> terms{};
        for (int t = 0; t < tmpl.termCount && m_ok; ++t) {
            terms[t] = Resolve(tmpl.term[t], statement.anchor.rank, anchor);
            m_ok = terms[t] != nullptr;
        }
        if (m_ok) {
            m_ok = m_sink.Instance(statement, tmpl, {terms.data(), size_t(tmpl.termCount)});
            m_count += m_ok ? 1 : 0;
        }
    }

    QV_VarParam* Resolve(const TermSlot& slot, int rank, const std::array<Value, kMaxRank>& at) {
        if (slot.kind == TermKind::SectionParameter) {
            const Value s = Get(Symbol::S) + slot.offset[0];
            return Fits(s) ? m_context.SectionParameter(slot.id, int(s)) : nullptr;
        }
        std::array<int, kMaxRank> index{};
        for (int d = 0; d < rank; ++d) {
            const Value v = at[d] + slot.offset[d];
            if (!Fits(v)) {
                return nullptr;
            }
            index[d] = int(v);
        }
        return m_context.ArrayElement(slot.id, {index.data(), size_t(rank)});
    }

    // Tests the guard's atoms from the lowest bit up, each at most once, and stops at the
    // first that decides.
    bool Holds(const Guard& guard) {
        if (guard.any != 0) {
            bool any = false;
            for (unsigned rest = guard.any; rest != 0 && !any; rest &= rest - 1) {
                any = Test(Atom(rest & -rest));
            }
            if (!any) {
                return false;
            }
        }
        for (unsigned rest = guard.all | guard.none; rest != 0; rest &= rest - 1) {
            const unsigned bit = rest & -rest;
            if (Test(Atom(bit)) != ((guard.all & bit) != 0)) {
                return false;
            }
        }
        return true;
    }

    bool Test(Atom atom) {
        const Value s = Get(Symbol::S);
        switch (atom) {
        case kFirstSection:
            return s == 1;
        case kLastSection:
            return s == m_sections;
        case kUsedAbove0:
            return m_context.UsedOrder() > 0;
        case kUsedAbove1:
            return m_context.UsedOrder() > 1;
        case kIntegrals:
            return m_context.IntegralRequested();
        case kBackward:
            return EqualsIgnoringCase("Backward", m_context.ElementBoundary());
        case kForward:
            return EqualsIgnoringCase("Forward", m_context.ElementBoundary());
        case kDeclaredOrder2:
            return m_context.DeclaredOrder() == 2;
        case kAtFirstNode:
            return m_anchor == 0;
        case kAtLastNode:
            return m_anchor == m_context.EndNode();
        case kPrevSpacingEqual:
            return SpacingEqual(s - 1, s);
        case kNextSpacingEqual:
            return SpacingEqual(s + 1, s);
        }
        return false;
    }

    bool SpacingEqual(Value other, Value s) {
        if (!Fits(other)) {
            return false;
        }
        return m_context.ElementLengthValue(int(other)) == m_context.ElementLengthValue(int(s));
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
    std::array<Value, kSymbolCount> m_symbol{};
    Value m_anchor = 0;
    int m_sections = 0;
    int m_count = 0;
    bool m_ok = true;
};

} // namespace pellorin::eqn
