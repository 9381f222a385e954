// The host's record of a model's equations: the instances that SetUpEquations opens and
// the named prefix expressions that JacPattern registers. Stored flat, since one model
// can hold millions of instances.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

#include "vuzizev/api.h"

class QV_VarParam;

// A growing array of plain values. It grows by reallocation, which moves a large block by
// remapping its pages where the allocator can, so that an array of millions of entries is
// not copied and touched again at every growth. Allocation failure throws std::bad_alloc.
template <class T>
class QV_FlatArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

public:
    QV_FlatArray() = default;
    QV_FlatArray(const QV_FlatArray&) = delete;
    QV_FlatArray& operator=(const QV_FlatArray&) = delete;
    ~QV_FlatArray() { std::free(m_data); }

    std::size_t size() const { return m_size; }
    std::size_t capacity() const { return m_capacity; }
    bool empty() const { return m_size == 0; }
    const T* data() const { return m_data; }
    const T& operator[](std::size_t k) const { return m_data[k]; }
    const T& back() const { return m_data[m_size - 1]; }
    void clear() { m_size = 0; }
    void push_back(const T& value) {
        if (m_size == m_capacity) [[unlikely]] {
            Grow();
        }
        m_data[m_size++] = value;
    }

private:
    // Out of line, so that the appends millions of calls make stay small.
    [[gnu::noinline, gnu::cold]] void Grow() {
        const std::size_t capacity = m_capacity < 64 ? 64 : 2 * m_capacity;
        if (capacity > SIZE_MAX / sizeof(T)) {
            throw std::bad_alloc();
        }
        void* grown = std::realloc(m_data, capacity * sizeof(T));
        if (grown == nullptr) {
            throw std::bad_alloc();
        }
        m_data = static_cast<T*>(grown);
        m_capacity = capacity;
    }

    T* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

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
    void OpenInstance(int group) {
        m_instanceGroups.push_back(group);
        m_incidenceStart.push_back(std::uint32_t(m_incidence.size()));
    }
    void AddIncidence(const QV_VarParam* term) { m_incidence.push_back(term); }
    void ClearInstances();
    std::size_t InstanceCount() const { return m_instanceGroups.size(); }
    std::size_t IncidenceCount() const { return m_incidence.size(); }
    QV_InstanceView Instance(std::size_t k) const;

    // JacPattern side.
    void OpenEquation(const char* name, int counter, int group);
    // Appends a token to the equation with the given number; false when that is not the
    // equation most recently opened.
    bool AddToken(int counter, const QV_Token& token) {
        if (m_openCounter != counter) [[unlikely]] {
            ++m_misrouted;
            return false;
        }
        m_tokens.push_back(token);
        return true;
    }
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
    QV_FlatArray<int> m_instanceGroups;
    QV_FlatArray<std::uint32_t> m_incidenceStart;
    QV_FlatArray<const QV_VarParam*> m_incidence;

    QV_FlatArray<std::uint32_t> m_equationName;
    QV_FlatArray<int> m_equationGroups;
    QV_FlatArray<int> m_equationCounters;
    QV_FlatArray<std::uint32_t> m_tokenStart;
    QV_FlatArray<QV_Token> m_tokens;
    std::vector<std::string> m_texts;
    std::size_t m_misrouted = 0;
    // The number of the equation most recently opened, which tokens must name; no int
    // equals it while none is open.
    static constexpr std::int64_t kNoneOpen = INT64_MIN;
    std::int64_t m_openCounter = kNoneOpen;

    // Callers pass the same few name strings again and again: the text each address last
    // interned, checked by one comparison before it is trusted.
    struct RecentText {
        const char* address = nullptr;
        std::uint32_t index = 0;
    };
    static constexpr std::size_t kRecentTexts = 64;
    RecentText m_recentTexts[kRecentTexts];
};
