// Block outlines: which statements a distribution writes, under which conditions, over which
// nodes of which directions, and in which order. An outline is written as a small program
// whose nesting is the loop order, compiled at build time into a flat tree that the walker
// runs. A malformed outline stops the build, the reason in the compiler's trace.
//
//   if COND { ... } else if COND { ... } else { ... }
//   for s { ... }            the own domain's sections, 1 to NUMSECTIONS
//   for e { ... }            the section's elements, with k their first node
//   for y { ... }            another direction's nodes, 0 to its ENDNODE
//   for y from 1 { ... }     the same from 1
//   for y bordered { ... }   {0} + its INTERIOR + {ENDNODE}, built where the loop starts
//   along y { ... }          the statements inside run along y (the own direction changes)
//   with NAME { ... }        the statements inside bind their roles the NAME way
//   N                        statement N at its anchor
//   N [b + 1 : b + n]        statement N at every own node i of the range
//
// `for e` and the symbols b, n and s stand only inside a `for s`; k and e only inside a
// `for e`; a range may not name i, which it binds.
//
// A condition is one test, or tests joined all by `and` or all by `or`, each optionally
// preceded by `not`; they are made left to right and stop at the first that decides:
//   used>0 used>1 ho=2      the own direction's used and declared derivative orders
//   backward forward        the own domain's element boundary condition, ignoring case
//   s=1 s=ns                the first, the last section (inside `for s`)
//   k=0 k+p=end             an element starting at node 0, ending at the domain's last node
//                           (inside `for e`)
//   h(s-1)=h h(s+1)=h       a neighbouring section's spacing equals this one's exactly
//                           (inside `for s`)
//   has(NAME)               NAME is in INTEGRALS
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

#include "types/distribution/statement_table.h"

namespace pellorin::eqn {

inline constexpr int kMaxDirections = 3;
inline constexpr std::array<std::string_view, kMaxDirections> kDirectionNames = {"x", "y", "z"};

enum class Atom : std::uint8_t {
    UsedAbove0,
    UsedAbove1,
    DeclaredOrder2,
    Backward,
    Forward,
    FirstSection,
    LastSection,
    ElementAtFirstNode,
    ElementAtLastNode,
    PrevSpacingEqual,
    NextSpacingEqual,
    Integral,
};

struct Literal {
    Atom atom = Atom::UsedAbove0;
    bool negated = false;
    std::uint8_t integral = 0; // which integral, for Atom::Integral
};

struct Condition {
    static constexpr int kMaxLiterals = 4;
    bool any = false; // joined by `or`; otherwise by `and`
    std::uint8_t count = 0;
    std::array<Literal, kMaxLiterals> literal{};
};

enum class NodeKind : std::uint8_t { If, Sections, Elements, Other, Along, With, Emit };
enum class OtherRange : std::uint8_t { Full, From1, Bordered };

// One node of the tree, its subtree laid out after it up to `end`. An If's then-branch runs
// to `split`, its else-branch from there to `end`.
struct Node {
    NodeKind kind = NodeKind::Emit;
    OtherRange range = OtherRange::Full;
    std::uint8_t direction = 0; // Other, Along
    std::uint8_t binding = 0;   // With
    bool ranged = false;        // Emit over [lo : hi]
    std::int16_t split = 0;
    std::int16_t end = 0;
    int statement = 0;
    Condition condition{};
    IndexExpr lo{};
    IndexExpr hi{};
};

// What an outline may name: the integrals of INTEGRALS, the alternative role bindings, and
// the statements it may place.
struct OutlineVocabulary {
    std::span<const std::string_view> integrals;
    std::span<const std::string_view> bindings;
    int firstStatement = 0;
    int lastStatement = 0;
};

template <std::size_t N>
struct Program {
    std::array<Node, N> nodes{};
    int count = 0;
    constexpr std::span<const Node> View() const { return {nodes.data(), std::size_t(count)}; }
};

namespace detail {

constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\n' || c == '\t';
}

class OutlineParser {
public:
    constexpr OutlineParser(std::string_view text, const OutlineVocabulary& vocabulary, Node* nodes,
                            int capacity)
        : m_text(text), m_vocabulary(vocabulary), m_nodes(nodes), m_capacity(capacity) {}

    constexpr int Parse() {
        while (m_error == nullptr && !Word().empty()) {
            Statement();
        }
        return m_count;
    }

    // The first fault met, or null.
    constexpr const char* Error() const { return m_error; }

private:
    // The next word: a brace or bracket alone, else everything up to a blank or a brace.
    constexpr std::string_view Word() {
        while (m_pos < m_text.size() && IsBlank(m_text[m_pos])) {
            ++m_pos;
        }
        std::size_t end = m_pos;
        if (end < m_text.size() && IsDelimiter(m_text[end])) {
            ++end;
        } else {
            while (end < m_text.size() && !IsBlank(m_text[end]) && !IsDelimiter(m_text[end])) {
                ++end;
            }
        }
        return m_text.substr(m_pos, end - m_pos);
    }
    static constexpr bool IsDelimiter(char c) { return c == '{' || c == '}' || c == '['; }
    constexpr std::string_view Take() {
        const std::string_view word = Word();
        m_pos += word.size();
        return word;
    }
    constexpr void Expect(std::string_view word) {
        if (Take() != word) {
            Fail("outline: unexpected word");
        }
    }

    // Stops the build at compile time; elsewhere the parse stops at the first fault.
    constexpr void Fail(const char* why) {
        if (m_error == nullptr) {
            m_error = why;
        }
        if (std::is_constant_evaluated()) {
            MalformedStatementTable(why, m_count);
        }
    }

    constexpr int Open(NodeKind kind) {
        if (m_count == m_capacity) {
            Fail("outline: too many nodes");
            return m_capacity - 1;
        }
        m_nodes[m_count].kind = kind;
        return m_count++;
    }
    constexpr void Close(int node) { m_nodes[node].end = std::int16_t(m_count); }

    constexpr void Body() {
        Expect("{");
        while (m_error == nullptr && Word() != "}") {
            if (Word().empty()) {
                Fail("outline: missing '}'");
                return;
            }
            Statement();
        }
        Take();
    }

    constexpr void Statement() {
        const std::string_view word = Take();
        if (word == "if") {
            If();
        } else if (word == "for") {
            For();
        } else if (word == "along") {
            const int node = Open(NodeKind::Along);
            m_nodes[node].direction = std::uint8_t(Direction(Take()));
            Body();
            Close(node);
        } else if (word == "with") {
            const int node = Open(NodeKind::With);
            m_nodes[node].binding = std::uint8_t(Index(m_vocabulary.bindings, Take()) + 1);
            Body();
            Close(node);
        } else {
            Emit(word);
        }
    }

    constexpr void If() {
        const int node = Open(NodeKind::If);
        m_nodes[node].condition = ParseCondition();
        Body();
        m_nodes[node].split = std::int16_t(m_count);
        if (Word() == "else") {
            Take();
            if (Word() == "if") {
                Take();
                If();
            } else {
                Body();
            }
        }
        Close(node);
    }

    constexpr void For() {
        const std::string_view what = Take();
        int node = 0;
        int* depth = nullptr;
        if (what == "s") {
            node = Open(NodeKind::Sections);
            depth = &m_sectionLoops;
        } else if (what == "e") {
            if (m_sectionLoops == 0) {
                Fail("outline: `for e` outside the `for s` that binds its section");
            }
            node = Open(NodeKind::Elements);
            depth = &m_elementLoops;
        } else {
            node = Open(NodeKind::Other);
            m_nodes[node].direction = std::uint8_t(Direction(what));
            if (Word() == "from") {
                Take();
                Expect("1");
                m_nodes[node].range = OtherRange::From1;
            } else if (Word() == "bordered") {
                Take();
                m_nodes[node].range = OtherRange::Bordered;
            }
        }
        if (depth != nullptr) {
            ++*depth;
        }
        Body();
        if (depth != nullptr) {
            --*depth;
        }
        Close(node);
    }

    constexpr void Emit(std::string_view number) {
        int n = 0;
        for (char c : number) {
            if (c < '0' || c > '9' || n > 100000) {
                Fail("outline: unknown word");
                return;
            }
            n = n * 10 + (c - '0');
        }
        if (number.empty() || n < m_vocabulary.firstStatement || n > m_vocabulary.lastStatement) {
            Fail("outline: no such statement");
            return;
        }
        const int node = Open(NodeKind::Emit);
        m_nodes[node].statement = n;
        if (Word() == "[") {
            Take();
            const std::size_t close = m_text.find(']', m_pos);
            if (close == std::string_view::npos ||
                !CompileRange(m_text.substr(m_pos, close - m_pos), m_nodes[node].lo,
                              m_nodes[node].hi, true)) {
                Fail("outline: malformed node range");
                return;
            }
            m_nodes[node].ranged = true;
            m_pos = close + 1;
            CheckBound(m_nodes[node].lo);
            CheckBound(m_nodes[node].hi);
        }
        Close(node);
    }

    constexpr Condition ParseCondition() {
        Condition condition;
        std::string_view joiner;
        while (true) {
            if (condition.count == Condition::kMaxLiterals) {
                Fail("outline: too many tests");
                return condition;
            }
            Literal& literal = condition.literal[condition.count++];
            std::string_view word = Take();
            if (word == "not") {
                literal.negated = true;
                word = Take();
            }
            ParseAtom(word, literal);
            const std::string_view next = Word();
            if (next != "and" && next != "or") {
                break;
            }
            if (!joiner.empty() && joiner != next) {
                Fail("outline: `and` and `or` mixed");
            }
            joiner = Take();
        }
        condition.any = joiner == "or";
        return condition;
    }

    constexpr void ParseAtom(std::string_view word, Literal& literal) {
        constexpr std::array<std::string_view, 11> kAtoms = {
            "used>0", "used>1", "ho=2",    "backward", "forward", "s=1",
            "s=ns",   "k=0",    "k+p=end", "h(s-1)=h", "h(s+1)=h"};
        for (std::size_t a = 0; a < kAtoms.size(); ++a) {
            if (word == kAtoms[a]) {
                literal.atom = Atom(a);
                CheckBound(literal.atom);
                return;
            }
        }
        if (word.size() > 5 && word.substr(0, 4) == "has(" && word.back() == ')') {
            literal.atom = Atom::Integral;
            literal.integral =
                std::uint8_t(Index(m_vocabulary.integrals, word.substr(4, word.size() - 5)));
            return;
        }
        Fail("outline: unknown test");
    }

    // A test of the section or the element reads the state of the loop that binds it.
    constexpr void CheckBound(Atom atom) {
        switch (atom) {
        case Atom::FirstSection:
        case Atom::LastSection:
        case Atom::PrevSpacingEqual:
        case Atom::NextSpacingEqual:
            if (m_sectionLoops == 0) {
                Fail("outline: a section test outside the `for s` that binds s");
            }
            break;
        case Atom::ElementAtFirstNode:
        case Atom::ElementAtLastNode:
            if (m_elementLoops == 0) {
                Fail("outline: an element test outside the `for e` that binds k");
            }
            break;
        default:
            break;
        }
    }

    // A range's symbols are bound by the loops around it; i is what the range binds.
    constexpr void CheckBound(const IndexExpr& expr) {
        const auto uses = [&](Symbol symbol) {
            return expr.coefficient[static_cast<int>(symbol)] != 0;
        };
        if (uses(Symbol::I)) {
            Fail("outline: a node range names i, which it binds");
        }
        if (m_sectionLoops == 0 && (uses(Symbol::B) || uses(Symbol::N) || uses(Symbol::S))) {
            Fail("outline: b, n or s in a range outside the `for s` that binds them");
        }
        if (m_elementLoops == 0 && (uses(Symbol::K) || uses(Symbol::E))) {
            Fail("outline: k or e in a range outside the `for e` that binds them");
        }
    }

    constexpr int Direction(std::string_view word) {
        return Index(std::span<const std::string_view>(kDirectionNames), word);
    }
    constexpr int Index(std::span<const std::string_view> names, std::string_view word) {
        for (std::size_t k = 0; k < names.size(); ++k) {
            if (names[k] == word) {
                return int(k);
            }
        }
        Fail("outline: unknown name");
        return 0;
    }

    std::string_view m_text;
    OutlineVocabulary m_vocabulary;
    Node* m_nodes;
    int m_capacity;
    std::size_t m_pos = 0;
    int m_count = 0;
    int m_sectionLoops = 0;
    int m_elementLoops = 0;
    const char* m_error = nullptr;
};

} // namespace detail

// The first fault of an outline text, or null when it compiles.
constexpr const char* OutlineError(std::string_view text, const OutlineVocabulary& vocabulary) {
    std::array<Node, 512> scratch{};
    detail::OutlineParser parser(text, vocabulary, scratch.data(), int(scratch.size()));
    parser.Parse();
    return parser.Error();
}

// The number of nodes an outline compiles to.
consteval int CountNodes(std::string_view text, const OutlineVocabulary& vocabulary) {
    std::array<Node, 512> scratch{};
    return detail::OutlineParser(text, vocabulary, scratch.data(), int(scratch.size())).Parse();
}

template <std::size_t N>
consteval Program<N> CompileOutline(std::string_view text, const OutlineVocabulary& vocabulary) {
    Program<N> program;
    program.count = detail::OutlineParser(text, vocabulary, program.nodes.data(), int(N)).Parse();
    return program;
}

// One method's block in one direction: taken when the own domain's method is row `method`
// of the method table. A block of any method (the start values) is always taken.
inline constexpr int kAnyMethod = -2;

struct Block {
    int method = kAnyMethod;
    int direction = 0;
    std::span<const Node> program;
};

// Which array each role of the residual notation stands for, per direction: the default
// binding first, then the alternatives that `with` names.
using RoleMap = std::array<std::uint8_t, kRoleCount>;
using Binding = std::array<RoleMap, kMaxDirections>;

struct Outline {
    StatementView statements;
    std::span<const Block> blocks;
    int rank = 1; // the number of directions, and of indices of every array
    std::span<const Binding> bindings;
};

} // namespace pellorin::eqn

// Compiles an outline text into a constant program of exactly the nodes it needs.
#define PELLORIN_OUTLINE(NAME, TEXT, VOCABULARY)                                                   \
    constexpr auto NAME =                                                                          \
        ::pellorin::eqn::CompileOutline<::pellorin::eqn::CountNodes(TEXT, VOCABULARY)>(TEXT,       \
                                                                                       VOCABULARY)
