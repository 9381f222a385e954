#include "standin/expressions.h"

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

// One recursive descent over a prefix stream, folding each operand into a Result: leaf
// makes one from a term, combine from an operator and its one or two operands.
template <class Result>
class Reader {
public:
    Reader(const QV_EquationView& equation)
        : m_tokens(equation.tokens), m_count(equation.tokenCount) {}

    // The whole stream as one operand; empty when it is not exactly one.
    template <class Leaf, class Combine>
    std::optional<Result> Whole(const Leaf& leaf, const Combine& combine) {
        std::optional<Result> result = Operand(leaf, combine, 0);
        return m_pos == m_count ? result : std::nullopt;
    }

private:
    template <class Leaf, class Combine>
    std::optional<Result> Operand(const Leaf& leaf, const Combine& combine, int depth) {
        if (m_pos >= m_count || depth > kMaxDepth) {
            return std::nullopt;
        }
        const QV_Token t = m_tokens[m_pos++];
        if (t.kind != QV_Token::Kind::Op) {
            return leaf(t);
        }
        const int arity = Arity(t.op);
        if (arity < 0) {
            return std::nullopt;
        }
        std::optional<Result> a = Operand(leaf, combine, depth + 1);
        if (!a) {
            return std::nullopt;
        }
        if (arity == 1) {
            return combine(t.op, *a, *a);
        }
        std::optional<Result> b = Operand(leaf, combine, depth + 1);
        if (!b) {
            return std::nullopt;
        }
        return combine(t.op, *a, *b);
    }

    static constexpr int kMaxDepth = 10000;
    QV_TokenSpan m_tokens;
    std::size_t m_count;
    std::size_t m_pos = 0;
};

// Text of one operand and the precedence of its outermost operator (3 for atoms).
struct Piece {
    std::string text;
    int precedence;
};
constexpr int kAtom = 3;

} // namespace

std::optional<double> Evaluate(const QV_EquationView& equation, const QV_EquationStore&,
                               const std::function<double(const QV_VarParam*)>& valueOf) {
    const auto leaf = [&](const QV_Token& t) -> std::optional<double> {
        switch (t.kind) {
        case QV_Token::Kind::Integer:
            return double(t.integer);
        case QV_Token::Kind::Real:
            return t.real;
        case QV_Token::Kind::Term:
            return valueOf(t.term);
        default:
            return std::nullopt;
        }
    };
    const auto combine = [](int op, double a, double b) {
        switch (op) {
        case EOp_Plus:
            return a + b;
        case EOp_Minus:
            return a - b;
        case EOp_Times:
            return a * b;
        case EOp_Divide:
            return a / b;
        case EOp_Square:
            return a * a;
        default: // the start-value operator reads as its operand
            return a;
        }
    };
    return Reader<double>(equation).Whole(leaf, combine);
}

std::string Infix(const QV_EquationView& equation, const QV_EquationStore& store,
                  const std::function<std::string(const QV_VarParam*)>& nameOf) {
    const auto leaf = [&](const QV_Token& t) -> std::optional<Piece> {
        switch (t.kind) {
        case QV_Token::Kind::Integer:
            return Piece{std::to_string(t.integer), kAtom};
        case QV_Token::Kind::Real:
            return Piece{ShortestDecimal(t.real), kAtom};
        case QV_Token::Kind::Term:
            return Piece{nameOf(t.term), kAtom};
        case QV_Token::Kind::Text:
            return Piece{"\"" + store.Text(t.text) + "\"", kAtom};
        default:
            return std::nullopt;
        }
    };
    const auto combine = [](int op, const Piece& a, const Piece& b) {
        if (Arity(op) == 1) {
            return Piece{(op == EOp_Square ? "sq(" : "op1(") + a.text + ")", kAtom};
        }
        const bool additive = op == EOp_Plus || op == EOp_Minus;
        const int precedence = additive ? 1 : 2;
        // The left operand keeps its parentheses only when it binds more loosely; the right
        // one also when it binds equally, so that a - (b - c) keeps its shape.
        const std::string left = a.precedence < precedence ? "(" + a.text + ")" : a.text;
        const std::string right = b.precedence <= precedence ? "(" + b.text + ")" : b.text;
        const char* symbol = op == EOp_Plus    ? " + "
                             : op == EOp_Minus ? " - "
                             : op == EOp_Times ? "*"
                                               : "/";
        return Piece{left + symbol + right, precedence};
    };
    const std::optional<Piece> piece = Reader<Piece>(equation).Whole(leaf, combine);
    return piece ? piece->text : "<malformed>";
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
