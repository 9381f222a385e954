#include "vuzizev/expressions.h"

#include <charconv>
#include <cstddef>

namespace vzt {
namespace {

int Arity(int op) {
    switch (op) {
    case EOp_Plus:
    case EOp_Minus:
    case EOp_Times:
    case EOp_Divide:
        return 2;
    case EOp_Square:
    case EOp_Unary:
        return 1;
    default:
        return -1;
    }
}

// A recursive descent over the prefix stream; pos advances past one whole operand.
class Reader {
public:
    Reader(const QV_EquationView& equation, const QV_EquationStore& store)
        : m_tokens(equation.tokens), m_count(equation.tokenCount), m_store(store) {}

    bool AtEnd() const { return m_pos == m_count; }

    std::optional<double> Value(const std::function<double(const QV_VarParam*)>& valueOf,
                                int depth = 0) {
        if (m_pos >= m_count || depth > kMaxDepth) {
            return std::nullopt;
        }
        const QV_Token& t = m_tokens[m_pos++];
        switch (t.kind) {
        case QV_Token::Kind::Integer:
            return double(t.integer);
        case QV_Token::Kind::Real:
            return t.real;
        case QV_Token::Kind::Term:
            return valueOf(t.term);
        case QV_Token::Kind::Text:
            return std::nullopt;
        case QV_Token::Kind::Op:
            break;
        }
        const int arity = Arity(t.op);
        if (arity < 0) {
            return std::nullopt;
        }
        const std::optional<double> a = Value(valueOf, depth + 1);
        if (!a) {
            return std::nullopt;
        }
        if (arity == 1) {
            return t.op == EOp_Square ? *a * *a : *a;
        }
        const std::optional<double> b = Value(valueOf, depth + 1);
        if (!b) {
            return std::nullopt;
        }
        switch (t.op) {
        case EOp_Plus:
            return *a + *b;
        case EOp_Minus:
            return *a - *b;
        case EOp_Times:
            return *a * *b;
        default:
            return *a / *b;
        }
    }

    // Text of one operand and the precedence of its outermost operator (3 for atoms).
    struct Piece {
        std::string text;
        int precedence;
    };

    std::optional<Piece> Text(const std::function<std::string(const QV_VarParam*)>& nameOf,
                              int depth = 0) {
        if (m_pos >= m_count || depth > kMaxDepth) {
            return std::nullopt;
        }
        const QV_Token& t = m_tokens[m_pos++];
        switch (t.kind) {
        case QV_Token::Kind::Integer:
            return Piece{std::to_string(t.integer), kAtom};
        case QV_Token::Kind::Real:
            return Piece{ShortestDecimal(t.real), kAtom};
        case QV_Token::Kind::Term:
            return Piece{nameOf(t.term), kAtom};
        case QV_Token::Kind::Text:
            return Piece{"\"" + m_store.Text(t.text) + "\"", kAtom};
        case QV_Token::Kind::Op:
            break;
        }
        const int arity = Arity(t.op);
        if (arity < 0) {
            return std::nullopt;
        }
        const std::optional<Piece> a = Text(nameOf, depth + 1);
        if (!a) {
            return std::nullopt;
        }
        if (arity == 1) {
            return Piece{(t.op == EOp_Square ? "sq(" : "op1(") + a->text + ")", kAtom};
        }
        const std::optional<Piece> b = Text(nameOf, depth + 1);
        if (!b) {
            return std::nullopt;
        }
        const bool additive = t.op == EOp_Plus || t.op == EOp_Minus;
        const int precedence = additive ? 1 : 2;
        // The left operand keeps its parentheses only when it binds more loosely; the right
        // one also when it binds equally, so that a - (b - c) keeps its shape.
        const std::string left = a->precedence < precedence ? "(" + a->text + ")" : a->text;
        const std::string right = b->precedence <= precedence ? "(" + b->text + ")" : b->text;
        const char* symbol = t.op == EOp_Plus    ? " + "
                             : t.op == EOp_Minus ? " - "
                             : t.op == EOp_Times ? "*"
                                                 : "/";
        return Piece{left + symbol + right, precedence};
    }

private:
    static constexpr int kAtom = 3;
    static constexpr int kMaxDepth = 10000;
    const QV_Token* m_tokens;
    std::size_t m_count;
    const QV_EquationStore& m_store;
    std::size_t m_pos = 0;
};

} // namespace

std::optional<double> Evaluate(const QV_EquationView& equation, const QV_EquationStore& store,
                               const std::function<double(const QV_VarParam*)>& valueOf) {
    Reader reader(equation, store);
    std::optional<double> value = reader.Value(valueOf);
    if (!value || !reader.AtEnd()) {
        return std::nullopt;
    }
    return value;
}

std::string Infix(const QV_EquationView& equation, const QV_EquationStore& store,
                  const std::function<std::string(const QV_VarParam*)>& nameOf) {
    Reader reader(equation, store);
    const auto piece = reader.Text(nameOf);
    if (!piece || !reader.AtEnd()) {
        return "<malformed>";
    }
    return piece->text;
}

std::string ShortestDecimal(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    // Keep reals recognisable as reals.
    if (text.find_first_of(".eEn") == std::string::npos) {
        text += ".0";
    }
    return text;
}

} // namespace vzt
