#include "types/distribution/registration.h"

#include <vuzizev/vuzizev.h>

namespace pellorin::eqn {

bool EqualsIgnoringCase(std::string_view literal, const char* value) {
    if (value == nullptr) {
        return false;
    }
    auto fold = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    std::size_t k = 0;
    for (; k < literal.size(); ++k) {
        if (value[k] == '\0' || fold(value[k]) != fold(literal[k])) {
            return false;
        }
    }
    return value[k] == '\0';
}

namespace {

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

} // namespace

WalkOutcome RegisterInstances(const Outline& outline, EquationContext& context, QV_ModelType& model,
                              int groupBase) {
    context.BeginWalk(WalkKind::SetUp);
    InstanceSink sink(model, groupBase);
    return Walker<InstanceSink>(outline, context, sink).Run();
}

WalkOutcome RegisterExpressions(const Outline& outline, EquationContext& context,
                                QV_ModelType& model, QV_ModelExtensions& expressions, int groupBase,
                                int& counter, int*& rows, int*& cols) {
    context.BeginWalk(WalkKind::Expressions);
    ExpressionSink sink(model, expressions, groupBase, counter, rows, cols);
    return Walker<ExpressionSink>(outline, context, sink).Run();
}

} // namespace pellorin::eqn
