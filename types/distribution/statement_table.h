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

struct StatementText {
    int number;                // N of QV_Eqn<N>
    int group;                 // own group, counted from 1
    std::string_view residual; // in the residual notation
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

} // namespace detail

// The number of distinct templates among the texts.
template <std::size_t N>
consteval std::size_t CountTemplates(const std::array<StatementText, N>& texts,
                                     const Vocabulary& vocabulary) {
    std::array<Template, N> seen{};
    std::size_t count = 0;
    for (const StatementText& text : texts) {
        const Compiled c = Compile(text.residual, vocabulary);
        if (c.error != nullptr) {
            detail::MalformedStatementTable(c.error, text.number);
        }
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
