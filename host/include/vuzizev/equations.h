// The host's record of a model's equations: the instances that SetUpEquations opens and
// the named prefix expressions that JacPattern registers. Stored flat, since one model
// can hold millions of instances.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vuzizev/api.h"

class QV_VarParam;

// One token of a prefix expression.
struct QV_Token {
    enum class Kind : std::uint8_t { Op, Integer, Real, Term, Text };
    Kind kind = Kind::Op;
    union {
        int op;
        int integer;
        double real;
        const QV_VarParam* term;
        std::uint32_t text; // index into QV_EquationStore::texts
    };
    QV_Token() : real(0.0) {}
};

// An equation instance as SetUpEquations registers it: its group and its incidence.
struct QV_InstanceView {
    int group;
    const QV_VarParam* const* incidence;
    std::size_t incidenceCount;
};

// A named equation as JacPattern registers it.
struct QV_EquationView {
    const char* name;
    int group;
    int counter; // the number the host gave the equation
    const QV_Token* tokens;
    std::size_t tokenCount;
};

class VZ_API QV_EquationStore {
public:
    // SetUpEquations side.
    void OpenInstance(int group);
    void AddIncidence(const QV_VarParam* term);
    void ClearInstances();
    std::size_t InstanceCount() const { return m_instanceGroups.size(); }
    std::size_t IncidenceCount() const { return m_incidence.size(); }
    QV_InstanceView Instance(std::size_t k) const;

    // JacPattern side.
    void OpenEquation(const char* name, int counter, int group);
    // Appends a token to the equation with the given number; false when that is not the
    // equation most recently opened.
    bool AddToken(int counter, const QV_Token& token);
    std::uint32_t InternText(const char* text);
    void ClearEquations();
    std::size_t EquationCount() const { return m_equationGroups.size(); }
    std::size_t TokenCount() const { return m_tokens.size(); }
    QV_EquationView Equation(std::size_t k) const;
    const std::string& Text(std::uint32_t index) const { return m_texts[index]; }
    // Tokens that named an equation other than the one being written.
    std::size_t MisroutedTokens() const { return m_misrouted; }

    // Bytes held by the store (for measurements).
    std::size_t BytesUsed() const;

private:
    std::vector<int> m_instanceGroups;
    std::vector<std::uint32_t> m_incidenceStart;
    std::vector<const QV_VarParam*> m_incidence;

    std::vector<std::uint32_t> m_equationName;
    std::vector<int> m_equationGroups;
    std::vector<int> m_equationCounters;
    std::vector<std::uint32_t> m_tokenStart;
    std::vector<QV_Token> m_tokens;
    std::vector<std::string> m_texts;
    std::size_t m_misrouted = 0;
};
