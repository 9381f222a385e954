// The stand-in's record of a model's equations: the instances that SetUpEquations opens and
// the named prefix expressions that JacPattern registers. Stored flat, since one model
// can hold millions of instances. The type library never includes this header.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "vuzizev/api.h"

class QV_VarParam;

namespace vzt {
// Throws std::bad_alloc for a container of the host's that cannot grow, having first given
// back the memory the host keeps for ending a run that runs out: a throw needs some too.
[[noreturn]] VZ_API void ThrowOutOfMemory();
} // namespace vzt

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
            vzt::ThrowOutOfMemory();
        }
        void* grown = std::realloc(m_data, capacity * sizeof(T));
        if (grown == nullptr) {
            vzt::ThrowOutOfMemory();
        }
        m_data = static_cast<T*>(grown);
        m_capacity = capacity;
    }

    T* m_data = nullptr;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

// A growing array kept in fixed chunks: an append never moves what is stored, and the array
// holds at most one partly filled chunk beyond its contents. Allocation failure throws
// std::bad_alloc.
template <class T>
class QV_ChunkedArray {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);
    static constexpr std::size_t kChunk = 512;

public:
    QV_ChunkedArray() = default;
    QV_ChunkedArray(const QV_ChunkedArray&) = delete;
    QV_ChunkedArray& operator=(const QV_ChunkedArray&) = delete;
    ~QV_ChunkedArray() {
        for (T* chunk : m_chunks) {
            std::free(chunk);
        }
    }

    std::size_t size() const { return m_size; }
    const T& operator[](std::size_t k) const { return m_chunks[k / kChunk][k % kChunk]; }
    // How many entries from the k-th on lie next to it in memory (up to the end of its chunk).
    static std::size_t ContiguousFrom(std::size_t k) { return kChunk - k % kChunk; }
    T& operator[](std::size_t k) { return m_chunks[k / kChunk][k % kChunk]; }
    void push_back(const T& value) {
        if (m_size == m_chunks.size() * kChunk) [[unlikely]] {
            AddChunk();
        }
        m_chunks[m_size / kChunk][m_size % kChunk] = value;
        ++m_size;
    }
    // Empties the array, or keeps only its first n entries; its chunks stay for what comes
    // next.
    void clear() { m_size = 0; }
    void truncate(std::size_t n) { m_size = n < m_size ? n : m_size; }
    void swap(QV_ChunkedArray& other) {
        m_chunks.swap(other.m_chunks);
        std::swap(m_size, other.m_size);
    }
    std::size_t BytesUsed() const {
        return m_chunks.size() * kChunk * sizeof(T) + m_chunks.capacity() * sizeof(T*);
    }

private:
    [[gnu::noinline, gnu::cold]] void AddChunk() {
        T* chunk = static_cast<T*>(std::malloc(kChunk * sizeof(T)));
        if (chunk == nullptr) {
            vzt::ThrowOutOfMemory();
        }
        m_chunks.push_back(chunk);
    }

    std::vector<T*> m_chunks;
    std::size_t m_size = 0;
};

// Indices that stay small, each kept in the fewest bytes (1, 2 or 4) that hold the largest so
// far: millions of them cost a byte each while they stay below 256. Allocation failure throws
// std::bad_alloc.
class QV_IndexArray {
public:
    std::size_t size() const { return m_words.size() + m_halves.size() + m_bytes.size(); }
    std::uint32_t operator[](std::size_t k) const {
        switch (m_width) {
        case 1:
            return m_bytes[k];
        case 2:
            return m_halves[k];
        default:
            return m_words[k];
        }
    }
    void push_back(std::uint32_t index) {
        if (index > m_largest) [[unlikely]] {
            Widen(index);
        }
        switch (m_width) {
        case 1:
            m_bytes.push_back(std::uint8_t(index));
            break;
        case 2:
            m_halves.push_back(std::uint16_t(index));
            break;
        default:
            m_words.push_back(index);
            break;
        }
    }
    // Keeps the width, and the chunks for what comes next.
    void clear() {
        m_bytes.clear();
        m_halves.clear();
        m_words.clear();
    }
    std::size_t BytesUsed() const {
        return m_bytes.BytesUsed() + m_halves.BytesUsed() + m_words.BytesUsed();
    }

private:
    // Moves what is kept into the narrowest width that also holds index, and frees the old.
    [[gnu::noinline, gnu::cold]] void Widen(std::uint32_t index) {
        if (index <= UINT16_MAX && m_width == 1) {
            for (std::size_t k = 0; k < m_bytes.size(); ++k) {
                m_halves.push_back(m_bytes[k]);
            }
            QV_ChunkedArray<std::uint8_t>().swap(m_bytes);
            m_width = 2;
            m_largest = UINT16_MAX;
            return;
        }
        const std::size_t n = size();
        for (std::size_t k = 0; k < n; ++k) {
            m_words.push_back((*this)[k]);
        }
        QV_ChunkedArray<std::uint8_t>().swap(m_bytes);
        QV_ChunkedArray<std::uint16_t>().swap(m_halves);
        m_width = 4;
        m_largest = UINT32_MAX;
    }

    QV_ChunkedArray<std::uint8_t> m_bytes;
    QV_ChunkedArray<std::uint16_t> m_halves;
    QV_ChunkedArray<std::uint32_t> m_words;
    unsigned m_width = 1;
    std::uint32_t m_largest = UINT8_MAX;
};

// Where each instance's incidence starts, in an incidence that may pass 2^32 entries: 32 bits
// a start, and the high part once per run of instances that share it. The starts only grow.
class QV_StartList {
public:
    QV_StartList() = default;
    QV_StartList(const QV_StartList&) = delete;
    QV_StartList& operator=(const QV_StartList&) = delete;

    std::size_t size() const { return m_low.size(); }
    std::uint64_t operator[](std::size_t k) const {
        const std::uint64_t low = m_low[k];
        return k < m_firstHigh ? low : low | HighOf(k);
    }
    // Whether the k-th start lies below 2^32, so that its low part is all of it.
    bool IsLow(std::size_t k) const { return k < m_firstHigh; }
    std::uint32_t LowPart(std::size_t k) const { return m_low[k]; }
    void push_back(std::uint64_t start) {
        if ((start >> 32) != m_high) [[unlikely]] {
            m_high = start >> 32;
            m_highs.push_back({m_low.size(), m_high << 32});
            m_firstHigh = m_highs.front().first;
        }
        m_low.push_back(std::uint32_t(start));
    }
    void clear() {
        m_low.clear();
        m_highs.clear();
        m_high = 0;
        m_firstHigh = SIZE_MAX;
    }
    void swap(QV_StartList& other) {
        m_low.swap(other.m_low);
        m_highs.swap(other.m_highs);
        std::swap(m_high, other.m_high);
        std::swap(m_firstHigh, other.m_firstHigh);
    }
    std::size_t BytesUsed() const {
        return m_low.BytesUsed() + m_highs.capacity() * sizeof(HighRun);
    }

private:
    // The instances from first on start at high or above, up to the next run.
    struct HighRun {
        std::size_t first;
        std::uint64_t high;
    };
    std::uint64_t HighOf(std::size_t k) const {
        const auto after = std::upper_bound(
            m_highs.begin(), m_highs.end(), k,
            [](std::size_t value, const HighRun& run) { return value < run.first; });
        return after == m_highs.begin() ? 0 : (after - 1)->high;
    }

    QV_ChunkedArray<std::uint32_t> m_low;
    std::vector<HighRun> m_highs;       // the runs after the first, whose high part is 0
    std::uint64_t m_high = 0;           // the high part of the last start
    std::size_t m_firstHigh = SIZE_MAX; // the first instance whose high part is not 0
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

class QV_EquationStore;

// The incidence of one instance, read entry by entry.
struct VZ_API QV_IncidenceSpan {
    const QV_EquationStore* store;
    std::uint64_t first;
    const QV_VarParam* operator[](std::size_t k) const;
};

// The tokens of one equation, read token by token.
struct VZ_API QV_TokenSpan {
    const QV_EquationStore* store;
    std::uint64_t first;
    std::int64_t instance; // the instance whose incidence its terms may name, or -1
    QV_Token operator[](std::size_t k) const;
};

// An equation instance as SetUpEquations registers it: its group and its incidence.
struct QV_InstanceView {
    int group;
    QV_IncidenceSpan incidence;
    std::size_t incidenceCount;
};

// A named equation as JacPattern registers it.
struct QV_EquationView {
    const char* name;
    int group;
    int counter; // the number the host gave the equation
    QV_TokenSpan tokens;
    std::size_t tokenCount;
};

// The host's record of a model's equations, compact. An incidence entry is the term itself;
// an instance keeps where its entries start, and its group once per run of one group. A
// token is one word: an operator code, a small integer, an index into a pool of the reals
// sent, or the position of a term in the incidence its instance registered. An equation
// keeps only its shape, its name, group and tokens, which the equations of one statement
// share, and its number once per run of consecutive numbers.
class VZ_API QV_EquationStore {
public:
    QV_EquationStore() = default;
    QV_EquationStore(const QV_EquationStore&) = delete;
    QV_EquationStore& operator=(const QV_EquationStore&) = delete;

    // SetUpEquations side.
    void OpenInstance(int group);
    void AddIncidence(const QV_VarParam* term) { m_instances.incidence.push_back(Entry(term)); }
    void ClearInstances();
    std::size_t InstanceCount() const { return m_instances.starts.size(); }
    std::size_t IncidenceCount() const { return m_instances.incidence.size(); }
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
        const std::uint32_t word = Encode(token);
        ++m_tokenCount;
        // Most equations repeat the shape their name last took: a token that matches it is
        // only stepped over.
        if (m_matchAt != m_matchEnd && *m_matchAt == word) [[likely]] {
            ++m_matchAt;
        } else {
            PutToken(word);
        }
        return true;
    }
    std::uint32_t InternText(const char* text);
    void ClearEquations();
    std::size_t EquationCount() const { return m_equationCount; }
    std::size_t TokenCount() const { return m_tokenCount; }
    QV_EquationView Equation(std::size_t k) const;
    const std::string& Text(std::uint32_t index) const { return m_texts[index]; }
    // Tokens that named an equation other than the one being written.
    std::size_t MisroutedTokens() const { return m_misrouted; }

    // Bytes held by the store (for measurements).
    std::size_t BytesUsed() const;

    // Whether the store ran out of memory since its instances were last cleared: the host
    // then counts the failed allocation once and stores nothing more of the model.
    bool Lost() const { return m_lost; }
    void MarkLost() { m_lost = true; }

private:
    friend struct QV_IncidenceSpan;
    friend struct QV_TokenSpan;

    // Runs of consecutive items that share a value: item first on has value, up to the next
    // run's first.
    struct Run {
        std::size_t first;
        int value;
    };
    static const Run& RunOf(const std::vector<Run>& runs, std::size_t k);

    // Name, group and tokens, kept once for all the equations that have them.
    struct Shape {
        std::uint32_t name;
        int group;
        std::uint64_t start;
        std::uint32_t count;
    };

    enum TokenKind : std::uint32_t {
        kOp,
        kInteger,
        kReal,
        kIncidenceTerm, // the n-th entry of the incidence of the equation's own instance
        kPooledTerm,
        kText,
        kLargeInteger,
    };
    static constexpr unsigned kKindBits = 3;
    static constexpr std::int64_t kSmallest = -(std::int64_t(1) << 28);
    static constexpr std::int64_t kLargest = (std::int64_t(1) << 28) - 1;

    // Op, Integer and Text tokens, and terms that name their instance's incidence in order,
    // are encoded here; the others by EncodeOther.
    std::uint32_t Encode(const QV_Token& token) {
        switch (token.kind) {
        case QV_Token::Kind::Op:
            return Word(kOp, std::uint32_t(token.op));
        case QV_Token::Kind::Integer:
            if (token.integer >= kSmallest && token.integer <= kLargest) {
                return Word(kInteger, std::uint64_t(std::int64_t(token.integer) - kSmallest));
            }
            break;
        case QV_Token::Kind::Term: {
            const std::uint64_t n = m_openTerms++;
            if (m_openInstance >= 0 && n < m_openIncidenceCount &&
                Term(m_instances.incidence[m_openIncidence + n]) == token.term) {
                m_tokensNameIncidence = true;
                return Word(kIncidenceTerm, n);
            }
            break;
        }
        case QV_Token::Kind::Text:
            return Word(kText, token.text);
        default:
            break;
        }
        return EncodeOther(token);
    }
    std::uint32_t EncodeOther(const QV_Token& token);
    QV_Token Decode(std::uint32_t word, std::int64_t instance) const;
    // The term an incidence-term token names when its instance starts at 2^32 or beyond.
    [[gnu::noinline, gnu::cold]] const QV_VarParam* FarIncidenceTerm(std::uint32_t n,
                                                                     std::size_t instance) const;
    static std::uint32_t Word(TokenKind kind, std::uint64_t payload) {
        return std::uint32_t(payload << kKindBits) | kind;
    }
    // Closes the equation last opened: it takes a shape it shares, or keeps its own.
    void CloseEquation();
    // A token that does not match the shape the open equation may repeat: the next chunk of
    // that shape's tokens, or the equation's own tokens from here on.
    [[gnu::noinline]] void PutToken(std::uint32_t word);
    // The open equation stops repeating a shape: it writes the tokens it matched.
    void KeepOwnTokens();
    // No shape is being repeated.
    void StopMatching();
    std::uint64_t MatchedTokens() const {
        return m_matchedBefore + std::uint64_t(m_matchAt - m_matchBegin);
    }
    void MatchFrom(std::uint64_t matched);

    // The instances as SetUpEquations registered them.
    struct Instances {
        QV_ChunkedArray<std::uint32_t> incidence; // entries, see Entry
        QV_StartList starts;                      // each instance's first entry
        std::vector<Run> groups;
        std::size_t Count(std::size_t k) const;
        void Clear();
        void Swap(Instances& other);
    };

    Instances m_instances;
    // The instances that the equations' terms name, when SetUpEquations has since begun anew.
    Instances m_retired;
    bool m_equationsNameRetired = false;

    QV_ChunkedArray<std::uint32_t> m_tokens;
    QV_IndexArray m_equationShapes;
    std::vector<Shape> m_shapes;
    std::vector<std::uint32_t> m_lastShapeOfName; // per name, the shape it last took
    std::vector<Run> m_counters;
    std::size_t m_equationCount = 0;
    std::vector<double> m_reals;
    std::vector<std::int64_t> m_largeIntegers;
    std::vector<const QV_VarParam*> m_pooledTerms;
    // An incidence entry is the term's handle from the host's allocator, or, for a term the
    // allocator did not hand out in a small block, kPooledEntry and its place in a pool.
    static constexpr std::uint32_t kPooledEntry = std::uint32_t(1) << 31;
    std::uint32_t Entry(const QV_VarParam* term);
    [[gnu::noinline]] std::uint32_t PooledEntry(const QV_VarParam* term);
    const QV_VarParam* Term(std::uint32_t entry) const;
    std::vector<const QV_VarParam*> m_pooledIncidence;
    std::unordered_map<const QV_VarParam*, std::uint32_t> m_pooledIncidenceIndex;
    std::vector<std::string> m_texts;
    std::size_t m_misrouted = 0;
    bool m_lost = false;
    // The equation being written: its number, which tokens must name (no int equals it while
    // none is open), its name and group, its first token, the incidence of its instance and
    // how many of its terms it has named so far.
    static constexpr std::int64_t kNoneOpen = INT64_MIN;
    std::int64_t m_openCounter = kNoneOpen;
    std::uint32_t m_openName = 0;
    int m_openGroup = 0;
    std::uint64_t m_openTokens = 0;
    std::size_t m_tokenCount = 0; // tokens of all equations, each counted
    std::int64_t m_openInstance = -1;
    std::uint64_t m_openIncidence = 0;
    std::uint64_t m_openIncidenceCount = 0;
    std::uint64_t m_openTerms = 0;
    bool m_tokensNameIncidence = false;
    // The shape the open equation repeats so far (kNoShape: it writes its own tokens), how
    // many of its tokens it has matched before the run m_matchBegin starts, and that run of
    // the shape's tokens that lie together: the next one to match, up to m_matchEnd.
    static constexpr std::uint32_t kNoShape = UINT32_MAX;
    std::uint32_t m_matchShape = kNoShape;
    std::uint64_t m_matchedBefore = 0;
    const std::uint32_t* m_matchBegin = nullptr;
    const std::uint32_t* m_matchAt = nullptr;
    const std::uint32_t* m_matchEnd = nullptr;

    // The few reals a model sends, each pooled once: the index each bit pattern last had.
    struct RecentReal {
        std::uint64_t bits = ~std::uint64_t(0);
        std::uint32_t index = 0;
    };
    static constexpr std::size_t kRecentReals = 256;
    std::unique_ptr<RecentReal[]> m_recentReals; // made with the first real

    // Callers pass the same few name strings again and again: the text each address last
    // interned, checked by one comparison before it is trusted.
    struct RecentText {
        const char* address = nullptr;
        std::uint32_t index = 0;
    };
    static constexpr std::size_t kRecentTexts = 64;
    std::unique_ptr<RecentText[]> m_recentTexts; // made with the first text
};

#include "standin/host_access.h"
