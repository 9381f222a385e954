// A distribution's equation statements as data: number, own group and residual text, compiled
// at build time into statements that share templates wherever their streams are the same.
// A malformed text stops the build.
#pragma once

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "types/distribution/notation.h"

namespace pellorin::eqn {

// The roles a residual names its arrays by, relative to the block's own direction: the
// distributed variable (or the integral being integrated again), its first and second
// derivatives, and the integral being defined; h is the section's ELEMENTLENGTH.
inline constexpr std::array<std::string_view, 4> kRoleNames = {"F", "D1", "D2", "I"};
inline constexpr int kRoleCount = int(kRoleNames.size());
enum Role : int { kF, kD1, kD2, kI };
inline constexpr std::array<std::string_view, 1> kParameterNames = {"h"};
inline constexpr Vocabulary kRoleVocabulary{kRoleNames, kParameterNames};

struct StatementText {
    int number;                // N of QV_Eqn<N>
    int group;                 // own group, counted from 1
    std::string_view residual; // in the residual notation, or "=N": the residual of QV_Eqn<N>
};

struct Statement {
    int number = 0;
    int group = 0;
    int templateIndex = 0;
    Anchor anchor{};
    std::array<char, 12> name{}; // "QV_Eqn<N>"
};

// A compiled table, seen without its sizes.
struct StatementView {
    std::span<const Statement> statements;
    std::span<const Template> templates;

    // The statement numbered `number`, or null; numbers run contiguously from the first.
    const Statement* Find(int number) const {
        if (statements.empty()) {
            return nullptr;
        }
        const long k = long(number) - statements.front().number;
        return k >= 0 && k < long(statements.size()) ? &statements[std::size_t(k)] : nullptr;
    }
    const Template& TemplateOf(const Statement& s) const { return templates[s.templateIndex]; }
};

template <std::size_t Statements, std::size_t Templates>
struct StatementTable {
    std::array<Statement, Statements> statements{};
    std::array<Template, Templates> templates{};
    StatementView View() const { return {statements, templates}; }
};

namespace detail {

// Called only when a table entry is malformed: not a constant expression, so the build stops
// here, with the offending entry in the compiler's trace.
inline void MalformedStatementTable(const char* /*why*/, int /*statement*/) {}

constexpr std::array<char, 12> EquationName(int number) {
    std::array<char, 12> name{'Q', 'V', '_', 'E', 'q', 'n'};
    char digits[6]{};
    int count = 0;
    do {
        digits[count++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number > 0 && count < 5);
    for (int k = 0; k < count; ++k) {
        name[6 + k] = digits[count - 1 - k];
    }
    return name;
}

constexpr bool IsReference(const StatementText& text) {
    return !text.residual.empty() && text.residual[0] == '=';
}

// The residual a text stands for: its own, or that of the earlier statement it names.
template <std::size_t N>
constexpr std::string_view Residual(const std::array<StatementText, N>& texts, std::size_t s) {
    const std::string_view own = texts[s].residual;
    if (own.empty() || own[0] != '=') {
        return own;
    }
    int number = 0;
    for (char c : own.substr(1)) {
        if (c < '0' || c > '9' || number > 100000) {
            MalformedStatementTable("a reference names no statement", texts[s].number);
        }
        number = number * 10 + (c - '0');
    }
    const long k = long(number) - texts[0].number;
    if (k < 0 || std::size_t(k) >= s || texts[std::size_t(k)].residual.starts_with('=')) {
        MalformedStatementTable("a reference must name an earlier written statement",
                                texts[s].number);
    }
    return texts[std::size_t(k)].residual;
}

} // namespace detail

// The number of distinct templates among the texts.
template <std::size_t N>
consteval std::size_t CountTemplates(const std::array<StatementText, N>& texts,
                                     const Vocabulary& vocabulary) {
    std::array<Template, N> seen{};
    std::size_t count = 0;
    for (std::size_t s = 0; s < N; ++s) {
        if (detail::IsReference(texts[s])) {
            detail::Residual(texts, s); // checks the reference; it adds no template
            continue;
        }
        const Compiled c = Compile(texts[s].residual, vocabulary, true);
        bool found = false;
        for (std::size_t k = 0; k < count && !found; ++k) {
            found = seen[k] == c.tmpl;
        }
        if (!found) {
            seen[count++] = c.tmpl;
        }
    }
    return count;
}

template <std::size_t Templates, std::size_t N>
consteval StatementTable<N, Templates> BuildTable(const std::array<StatementText, N>& texts,
                                                  const Vocabulary& vocabulary) {
    StatementTable<N, Templates> table{};
    std::size_t count = 0;
    for (std::size_t s = 0; s < N; ++s) {
        const StatementText& text = texts[s];
        if (s > 0 && text.number != texts[s - 1].number + 1) {
            detail::MalformedStatementTable("statement numbers must be contiguous", text.number);
        }
        if (detail::IsReference(text)) {
            // The statement it names stands before it, compiled.
            const std::string_view own = text.residual;
            int number = 0;
            for (char c : own.substr(1)) {
                number = number * 10 + (c - '0');
            }
            const Statement& same = table.statements[std::size_t(number - texts[0].number)];
            table.statements[s] = {text.number, text.group, same.templateIndex, same.anchor,
                                   detail::EquationName(text.number)};
            continue;
        }
        const Compiled c = Compile(text.residual, vocabulary);
        std::size_t k = 0;
        while (k < count && !(table.templates[k] == c.tmpl)) {
            ++k;
        }
        if (k == count) {
            table.templates[count++] = c.tmpl;
        }
        table.statements[s] = {text.number, text.group, static_cast<int>(k), c.anchor,
                               detail::EquationName(text.number)};
    }
    return table;
}

} // namespace pellorin::eqn
