// The two equation walks of a distribution, on one outline:
//   RegisterInstances   (SetUpEquations) each instance's group, then its terms as incidence;
//   RegisterExpressions (JacPattern)     each instance's name and group, then its tokens.
// A type calls them from its equation hooks with its own context and group base. Both are
// templates over the context's type: a type whose context class is final has every read of
// the walk called directly, which matters at millions of terms.
#pragma once

#include <span>

#include <vuzizev/model.h>

#include "types/distribution/coefficients.h"
#include "types/distribution/context.h"
#include "types/distribution/outline.h"
#include "types/distribution/walker.h"

namespace pellorin::eqn {

namespace detail {

class InstanceSink {
public:
    InstanceSink(QV_ModelType& model, int groupBase) : m_model(model), m_groupBase(groupBase) {}

    bool Instance(const Statement& statement, const Template&,
                  std::span<QV_VarParam* const> terms) {
        m_model.SetGroupLimits(m_groupBase + statement.group);
        for (QV_VarParam* term : terms) {
            m_model.AddNonZero(*term);
        }
        return true;
    }

private:
    QV_ModelType& m_model;
    int m_groupBase;
};

class ExpressionSink {
public:
    ExpressionSink(QV_ModelType& model, QV_ModelExtensions& expressions, int groupBase,
                   int& counter, int*& rows, int*& cols)
        : m_model(model), m_expressions(expressions), m_groupBase(groupBase), m_counter(counter),
          m_rows(rows), m_cols(cols) {}

    bool Instance(const Statement& statement, const Template& tmpl,
                  std::span<QV_VarParam* const> terms) {
        m_model.AddEquation(statement.name.data(), m_counter, m_groupBase + statement.group);
        const int eqn = m_counter - 1;
        for (const Token& token : tmpl.Tokens()) {
            switch (token.kind) {
            case TokenKind::Op:
                m_expressions.AddOp(EOp(token.value), eqn);
                break;
            case TokenKind::Integer:
                m_expressions.AddTerm(token.value, eqn);
                break;
            case TokenKind::Real:
                m_expressions.AddTerm(kCoefficients[token.value].value, eqn);
                break;
            case TokenKind::Term:
                m_expressions.AddTerm(*terms[token.value], m_rows, m_cols, eqn);
                break;
            }
        }
        return true;
    }

private:
    QV_ModelType& m_model;
    QV_ModelExtensions& m_expressions;
    int m_groupBase;
    int& m_counter;
    int*& m_rows;
    int*& m_cols;
};

// Receives nothing: the walk only checks that every term can be had.
struct CheckSink {
    static constexpr bool kChecksOnly = true;
    bool Instance(const Statement&, const Template&, std::span<QV_VarParam* const>) { return true; }
};

} // namespace detail

// SetGroupLimits(groupBase + own group) and AddNonZero per term, for every instance. A walk
// that would meet a term it cannot have registers nothing: it is checked whole first.
template <class Context>
WalkOutcome RegisterInstances(const Outline& outline, Context& context, QV_ModelType& model,
                              int groupBase) {
    context.BeginWalk(WalkKind::SetUp);
    detail::CheckSink check;
    if (!Walker<detail::CheckSink, Context>(outline, context, check, WalkKind::SetUp)
             .Run()
             .complete) {
        return {};
    }
    detail::InstanceSink sink(model, groupBase);
    return Walker<detail::InstanceSink, Context>(outline, context, sink, WalkKind::SetUp).Run();
}

// AddEquation("QV_Eqn<N>", counter, groupBase + own group), then AddOp/AddTerm per token with
// eqn = counter - 1, for every instance. `counter` advances by one per instance.
template <class Context>
WalkOutcome RegisterExpressions(const Outline& outline, Context& context, QV_ModelType& model,
                                QV_ModelExtensions& expressions, int groupBase, int& counter,
                                int*& rows, int*& cols) {
    context.BeginWalk(WalkKind::Expressions);
    detail::ExpressionSink sink(model, expressions, groupBase, counter, rows, cols);
    return Walker<detail::ExpressionSink, Context>(outline, context, sink, WalkKind::Expressions)
        .Run();
}

} // namespace pellorin::eqn
