// The residual notation and its compiler. A residual is written fully parenthesised with its
// operands in stream order, e.g. ((DDX(i) * h) + (VALUE(i - 1) - VALUE(i))):
//   (a + b) (a - b) (a * b) (a / b)   binary operators 19, 20, 21, 22
//   sq(a) op1(a)                      one-operand operators 40 and 1
//   -3                                an integer term, its sign folded in
//   0.5 -2.73205 3.0                  a real term: a literal of the coefficient table
//   VALUE(i - 1) VALUE(i, j + 1)      an array element; indices are integer-linear in symbols
//   h h(s-1) h(s+1)                   a section parameter of this, the previous, the next section
// Compiling turns a text into a template (the token stream, with every term an offset from
// the residual's anchor, the first array term's index) and that anchor. Residuals that
// differ only in where they stand share one template.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "types/distribution/coefficients.h"

namespace pellorin::eqn {

inline constexpr int kMaxTokens = 32;
inline constexpr int kMaxTerms = 8;
inline constexpr int kMaxRank = 3;

// The symbols an index may use: the node of a node loop, an element's first node and its
// number, a section's first node, node count and number.
enum class Symbol : std::uint8_t { I, K, E, B, N, S };
inline constexpr std::array<std::string_view, 6> kSymbolNames = {"i", "k", "e", "b", "n", "s"};
inline constexpr int kSymbolCount = static_cast<int>(kSymbolNames.size());

// constant + sum of coefficient * symbol.
struct IndexExpr {
    int constant = 0;
    std::array<std::int8_t, kSymbolCount> coefficient{};
    constexpr bool operator==(const IndexExpr&) const = default;
};

// Where an instance stands: the index of the residual's first array term.
struct Anchor {
    int rank = 0;
    std::array<IndexExpr, kMaxRank> index{};
    constexpr bool operator==(const Anchor&) const = default;
};

enum class TokenKind : std::uint8_t { Op, Integer, Real, Term };

// Op: the operator code; Integer: the value; Real: a coefficient index; Term: a term slot.
struct Token {
    TokenKind kind = TokenKind::Op;
    int value = 0;
    constexpr bool operator==(const Token&) const = default;
};

enum class TermKind : std::uint8_t { Array, SectionParameter };

// Array: element anchor + offset of array `id`. Section parameter: parameter `id` of
// section s + offset[0].
struct TermSlot {
    TermKind kind = TermKind::Array;
    std::uint8_t id = 0;
    std::array<std::int8_t, kMaxRank> offset{};
    constexpr bool operator==(const TermSlot&) const = default;
};

struct Template {
    int tokenCount = 0;
    int termCount = 0;
    std::array<Token, kMaxTokens> token{};
    std::array<TermSlot, kMaxTerms> term{};
    constexpr bool operator==(const Template&) const = default;
    constexpr std::span<const Token> Tokens() const { return {token.data(), size_t(tokenCount)}; }
    constexpr std::span<const TermSlot> Terms() const { return {term.data(), size_t(termCount)}; }
};

// The names a distribution's residuals may use for its arrays and section parameters.
struct Vocabulary {
    std::span<const std::string_view> arrays;
    std::span<const std::string_view> parameters;
};

struct Compiled {
    Template tmpl;
    Anchor anchor;
    const char* error = nullptr; // null when the text compiled
    int position = 0;            // where the error was found
};

namespace detail {

constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
constexpr bool IsNameChar(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || IsDigit(c) || c == '_';
}

template <class Names>
constexpr int FindName(const Names& names, std::string_view name) {
    for (std::size_t k = 0; k < names.size(); ++k) {
        if (names[k] == name) {
            return static_cast<int>(k);
        }
    }
    return -1;
}

// A term as written, before it is made relative to the anchor.
struct WrittenTerm {
    TermKind kind = TermKind::Array;
    int id = 0;
    int rank = 0;
    std::array<IndexExpr, kMaxRank> index{};
};

// Called only where a text compiled at build time is malformed: not a constant expression,
// so the build stops here, with the reason in the compiler's trace of the call to Fail.
inline void MalformedText(const char* /*why*/) {}

class Parser {
public:
    // A parser that stops the build stops it at its first fault.
    constexpr Parser(std::string_view text, const Vocabulary* vocabulary, bool stopsBuild = false)
        : m_text(text), m_vocabulary(vocabulary), m_stopsBuild(stopsBuild) {}

    constexpr const char* Error() const { return m_error; }
    constexpr int Position() const { return static_cast<int>(m_pos); }

    constexpr bool Fail(const char* message) {
        if (m_error == nullptr) {
            m_error = message;
        }
        if (m_stopsBuild) {
            MalformedText(message);
        }
        return false;
    }

    constexpr void SkipBlanks() {
        while (m_pos < m_text.size() && m_text[m_pos] == ' ') {
            ++m_pos;
        }
    }
    constexpr bool AtEnd() {
        SkipBlanks();
        return m_pos == m_text.size();
    }
    constexpr char Peek() {
        SkipBlanks();
        return m_pos < m_text.size() ? m_text[m_pos] : '\0';
    }
    constexpr bool Accept(char c) {
        if (Peek() != c) {
            return false;
        }
        ++m_pos;
        return true;
    }
    constexpr bool Expect(char c, const char* message) { return Accept(c) || Fail(message); }

    constexpr std::string_view Name() {
        SkipBlanks();
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && IsNameChar(m_text[m_pos])) {
            ++m_pos;
        }
        return m_text.substr(start, m_pos - start);
    }

    constexpr bool Integer(int& value) {
        SkipBlanks();
        if (m_pos == m_text.size() || !IsDigit(m_text[m_pos])) {
            return Fail("expected a number");
        }
        long long v = 0;
        while (m_pos < m_text.size() && IsDigit(m_text[m_pos])) {
            v = v * 10 + (m_text[m_pos++] - '0');
            if (v > 2147483647LL) {
                return Fail("integer out of range");
            }
        }
        value = static_cast<int>(v);
        return true;
    }

    // sign? (integer | symbol) (('+' | '-') (integer | symbol))*
    constexpr bool Linear(IndexExpr& out) {
        out = IndexExpr{};
        int sign = Accept('-') ? -1 : 1;
        while (true) {
            if (IsDigit(Peek())) {
                int v = 0;
                if (!Integer(v)) {
                    return false;
                }
                out.constant += sign * v;
            } else {
                const int symbol = FindName(kSymbolNames, Name());
                if (symbol < 0) {
                    return Fail("unknown index symbol");
                }
                const int c = out.coefficient[symbol] + sign;
                if (c < -100 || c > 100) {
                    return Fail("index coefficient out of range");
                }
                out.coefficient[symbol] = static_cast<std::int8_t>(c);
            }
            if (Accept('+')) {
                sign = 1;
            } else if (Accept('-')) {
                sign = -1;
            } else {
                return true;
            }
        }
    }

    // expr := '(' expr op expr ')' | sq(expr) | op1(expr) | number | term
    constexpr bool Expression() {
        if (m_error != nullptr) {
            return false;
        }
        const char c = Peek();
        if (c == '(') {
            ++m_pos;
            const int opToken = m_tokenCount;
            if (!Push({TokenKind::Op, 0}) || !Expression()) {
                return false;
            }
            int code = 0;
            switch (Peek()) {
            case '+':
                code = 19;
                break;
            case '-':
                code = 20;
                break;
            case '*':
                code = 21;
                break;
            case '/':
                code = 22;
                break;
            default:
                return Fail("expected an operator");
            }
            ++m_pos;
            m_tokens[opToken].value = code;
            return Expression() && Expect(')', "expected ')'");
        }
        if (c == '-' || IsDigit(c)) {
            return Number();
        }
        const std::string_view name = Name();
        if (name.empty()) {
            return Fail("expected an operand");
        }
        if (name == "sq" || name == "op1") {
            return Expect('(', "expected '('") && Push({TokenKind::Op, name == "sq" ? 40 : 1}) &&
                   Expression() && Expect(')', "expected ')'");
        }
        return Term(name);
    }

    constexpr bool Number() {
        SkipBlanks();
        const std::size_t start = m_pos;
        const bool negative = Accept('-');
        int value = 0;
        if (!Integer(value)) {
            return false;
        }
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            ++m_pos;
            if (m_pos == m_text.size() || !IsDigit(m_text[m_pos])) {
                return Fail("expected digits after '.'");
            }
            while (m_pos < m_text.size() && IsDigit(m_text[m_pos])) {
                ++m_pos;
            }
            const std::string_view literal = m_text.substr(start, m_pos - start);
            for (std::size_t k = 0; k < kCoefficients.size(); ++k) {
                if (kCoefficients[k].text == literal) {
                    return Push({TokenKind::Real, static_cast<int>(k)});
                }
            }
            return Fail("real literal is not in the coefficient table");
        }
        return Push({TokenKind::Integer, negative ? -value : value});
    }

    constexpr bool Term(std::string_view name) {
        if (m_termCount == kMaxTerms) {
            return Fail("too many terms");
        }
        WrittenTerm& term = m_terms[m_termCount];
        if (const int array = FindName(m_vocabulary->arrays, name); array >= 0) {
            term.kind = TermKind::Array;
            term.id = array;
            if (!Expect('(', "expected '(' after an array name")) {
                return false;
            }
            do {
                if (term.rank == kMaxRank) {
                    return Fail("too many indices");
                }
                if (!Linear(term.index[term.rank++])) {
                    return false;
                }
            } while (Accept(','));
            if (!Expect(')', "expected ')' after an index")) {
                return false;
            }
        } else if (const int parameter = FindName(m_vocabulary->parameters, name); parameter >= 0) {
            term.kind = TermKind::SectionParameter;
            term.id = parameter;
            term.rank = 1;
            term.index[0].coefficient[static_cast<int>(Symbol::S)] = 1;
            if (m_pos < m_text.size() && m_text[m_pos] == '(') {
                ++m_pos;
                if (!Linear(term.index[0]) || !Expect(')', "expected ')'")) {
                    return false;
                }
                IndexExpr onlyS{};
                onlyS.coefficient[static_cast<int>(Symbol::S)] = 1;
                onlyS.constant = term.index[0].constant;
                if (!(term.index[0] == onlyS)) {
                    return Fail("a section parameter takes s plus a constant");
                }
            }
        } else {
            return Fail("unknown array or parameter");
        }
        return Push({TokenKind::Term, m_termCount++});
    }

    constexpr bool Push(Token token) {
        if (m_tokenCount == kMaxTokens) {
            return Fail("too many tokens");
        }
        m_tokens[m_tokenCount++] = token;
        return true;
    }

    // Makes every term relative to the anchor, the first array term's index.
    constexpr bool Finish(Compiled& out) {
        int anchorTerm = -1;
        for (int t = 0; t < m_termCount && anchorTerm < 0; ++t) {
            if (m_terms[t].kind == TermKind::Array) {
                anchorTerm = t;
            }
        }
        if (anchorTerm < 0) {
            return Fail("a residual needs an array term");
        }
        out.anchor.rank = m_terms[anchorTerm].rank;
        out.anchor.index = m_terms[anchorTerm].index;
        for (int t = 0; t < m_termCount; ++t) {
            const WrittenTerm& written = m_terms[t];
            TermSlot& slot = out.tmpl.term[t];
            slot.kind = written.kind;
            slot.id = static_cast<std::uint8_t>(written.id);
            if (written.kind == TermKind::SectionParameter) {
                const int offset = written.index[0].constant;
                if (offset < -100 || offset > 100) {
                    return Fail("section offset out of range");
                }
                slot.offset[0] = static_cast<std::int8_t>(offset);
                continue;
            }
            if (written.rank != out.anchor.rank) {
                return Fail("array terms differ in rank");
            }
            for (int d = 0; d < written.rank; ++d) {
                const IndexExpr& a = out.anchor.index[d];
                const IndexExpr& w = written.index[d];
                if (a.coefficient != w.coefficient) {
                    return Fail("an index differs from the anchor by more than a constant");
                }
                const int offset = w.constant - a.constant;
                if (offset < -100 || offset > 100) {
                    return Fail("index offset out of range");
                }
                slot.offset[d] = static_cast<std::int8_t>(offset);
            }
        }
        out.tmpl.tokenCount = m_tokenCount;
        out.tmpl.termCount = m_termCount;
        out.tmpl.token = m_tokens;
        return true;
    }

private:
    std::string_view m_text;
    const Vocabulary* m_vocabulary;
    std::size_t m_pos = 0;
    bool m_stopsBuild = false;
    const char* m_error = nullptr;
    int m_tokenCount = 0;
    int m_termCount = 0;
    std::array<Token, kMaxTokens> m_tokens{};
    std::array<WrittenTerm, kMaxTerms> m_terms{};
};

} // namespace detail

// Compiles one residual text; on failure `error` names the fault and `position` its place
// (or, for a text compiled as part of the build, the build stops there).
constexpr Compiled Compile(std::string_view text, const Vocabulary& vocabulary,
                           bool stopsBuild = false) {
    Compiled out;
    detail::Parser parser(text, &vocabulary, stopsBuild);
    const bool ok = parser.Expression() &&
                    (parser.AtEnd() || parser.Fail("unexpected text after the residual")) &&
                    parser.Finish(out);
    if (!ok) {
        out = Compiled{};
        out.error = parser.Error();
        out.position = parser.Position();
    }
    return out;
}

// Compiles a node range "lo : hi"; false when malformed.
constexpr bool CompileRange(std::string_view text, IndexExpr& lo, IndexExpr& hi,
                            bool stopsBuild = false) {
    const Vocabulary none{};
    detail::Parser parser(text, &none, stopsBuild);
    return parser.Linear(lo) && parser.Expect(':', "expected ':'") && parser.Linear(hi) &&
           parser.AtEnd();
}

} // namespace pellorin::eqn
