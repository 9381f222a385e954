// Index families QV_BASE_<dims>: abstract array bases over two to four index sets, each of
// integers (letter I) or strings (letter S). Each keeps one ordered set of index values per
// dimension and a flat row-major table of elements (last dimension fastest), makes an
// element when it is first looked up, and leaves NewElement to the concrete array.
// All 28 families are one implementation: QV_IndexTable holds the algorithms, the template
// QV_IndexFamily<letters...> keeps the index values and types the index arguments, and each
// family names one word. A family holds its matrix base and its index values, nothing more.
#pragma once

#include <cstddef>

#include <vuzizev/vuzizev.h>

#include "framework/api.h"

namespace pellorin {

// One index value: an integer for an I dimension, a string for an S dimension.
struct IndexArg {
    int integer = 0;
    const char* text = nullptr;
};

template <char Letter>
struct IndexLetter;

template <>
struct IndexLetter<'I'> {
    using Value = int;
    static constexpr int kSetType = QV_SetTypeInteger;
    static IndexArg Arg(int v) { return {v, nullptr}; }
};

template <>
struct IndexLetter<'S'> {
    using Value = const char*;
    static constexpr int kSetType = QV_SetTypeString;
    static IndexArg Arg(const char* v) { return {0, v}; }
};

template <char Letter>
using IndexValue = typename IndexLetter<Letter>::Value;

template <char>
using IndexSetRef = QV_Set&;

// A family's dimensions: the letters of its word, and its index values, one set per letter.
struct IndexSets {
    const char* letters;
    QV_SetValue* values;

    // Whether dimension k is indexed by strings.
    bool IsText(int k) const { return letters[k] == 'S'; }
};

} // namespace pellorin

// The algorithms shared by every index family, over the dimensions that the family passes
// in (its letters and index values); the table itself keeps nothing of its own.
class PELLORIN_API QV_IndexTable : public QV_Matrix {
public:
    static constexpr int kMaxDimensions = 4;
    // A string index read from an index string is at most 127 characters.
    static constexpr std::size_t kIndexBufferSize = 128;

protected:
    QV_IndexTable(int dimensions, QV_SetValue* indexValues);
    QV_IndexTable(const QV_IndexTable& other);
    // Takes the shape of other; the family copies its own index values.
    QV_IndexTable& operator=(const QV_IndexTable& other);
    ~QV_IndexTable() override;

    // The element at the index values, made when missing. A value new to its dimension
    // joins that dimension's set and opens a null slot in every existing row. Null when the
    // element cannot be made, a string index is null, or the table would pass INT_MAX
    // entries (nothing changes then).
    QV_Type* FindIndex(pellorin::IndexSets sets, const pellorin::IndexArg* index);
    void BuildIndexString(pellorin::IndexSets sets, const pellorin::IndexArg* index);
    // Makes every missing element, from the last entry of the table back to the first,
    // stopping at the first that cannot be made; returns how many it made.
    int MakeMissingElements(pellorin::IndexSets sets);
    // Makes the element that an index string such as `(3,"a")` names, unless the string is
    // malformed or a string index is longer than 127 characters.
    void MakeElementNamed(pellorin::IndexSets sets, const char* index);
    void DeclareIndexSets(QV_Set* const* sets);

private:
    // Takes every value of the declared sets into the empty index sets and lays out an
    // all-null table for them; false, with nothing changed, when a dimension has no declared
    // set, an empty one or one of the other kind, when the sets' sizes multiply past INT_MAX
    // (refused before anything is copied), or when memory runs out.
    bool ReserveFromDeclaredSets(pellorin::IndexSets sets);
};

// The typed index arguments over QV_IndexTable; each family's own members forward here.
template <char... Letters>
class PELLORIN_API QV_IndexFamily : public QV_IndexTable {
    static constexpr int kDimensions = int(sizeof...(Letters));
    static constexpr char kLetters[] = {Letters..., '\0'};
    static_assert(kDimensions >= 2 && kDimensions <= kMaxDimensions);

protected:
    QV_IndexFamily() : QV_IndexTable(kDimensions, m_indexValues) {
        int k = 0;
        (m_indexValues[k++].ResetType(pellorin::IndexLetter<Letters>::kSetType), ...);
    }
    QV_IndexFamily(const QV_IndexFamily& other) : QV_IndexTable(other) { CopyIndexValues(other); }
    QV_IndexFamily& operator=(const QV_IndexFamily& other) {
        QV_IndexTable::operator=(other);
        CopyIndexValues(other);
        return *this;
    }
    ~QV_IndexFamily() override {}

    pellorin::IndexSets Sets() { return {kLetters, m_indexValues}; }
    QV_Type* FindAt(pellorin::IndexValue<Letters>... index) {
        const pellorin::IndexArg args[] = {pellorin::IndexLetter<Letters>::Arg(index)...};
        return FindIndex(Sets(), args);
    }
    void BuildIndexStringAt(pellorin::IndexValue<Letters>... index) {
        const pellorin::IndexArg args[] = {pellorin::IndexLetter<Letters>::Arg(index)...};
        QV_IndexTable::BuildIndexString(Sets(), args);
    }
    // Declares the array's index sets; the array depends on them from now on. Neither the
    // index values nor the table change.
    void DeclareSetsAt(pellorin::IndexSetRef<Letters>... sets) {
        QV_Set* const all[] = {&sets...};
        DeclareIndexSets(all);
    }

    QV_SetValue m_indexValues[kDimensions];

private:
    void CopyIndexValues(const QV_IndexFamily& other) {
        if (this != &other) {
            for (int k = 0; k < kDimensions; ++k) {
                m_indexValues[k] = other.m_indexValues[k];
            }
        }
    }
};

// The 28 families, one per word of two to four letters over I and S.
#define PELLORIN_INDEX_FAMILIES(X)                                                                 \
    X(II, 'I', 'I')                                                                                \
    X(IS, 'I', 'S')                                                                                \
    X(SI, 'S', 'I')                                                                                \
    X(SS, 'S', 'S')                                                                                \
    X(III, 'I', 'I', 'I')                                                                          \
    X(IIS, 'I', 'I', 'S')                                                                          \
    X(ISI, 'I', 'S', 'I')                                                                          \
    X(ISS, 'I', 'S', 'S')                                                                          \
    X(SII, 'S', 'I', 'I')                                                                          \
    X(SIS, 'S', 'I', 'S')                                                                          \
    X(SSI, 'S', 'S', 'I')                                                                          \
    X(SSS, 'S', 'S', 'S')                                                                          \
    X(IIII, 'I', 'I', 'I', 'I')                                                                    \
    X(IIIS, 'I', 'I', 'I', 'S')                                                                    \
    X(IISI, 'I', 'I', 'S', 'I')                                                                    \
    X(IISS, 'I', 'I', 'S', 'S')                                                                    \
    X(ISII, 'I', 'S', 'I', 'I')                                                                    \
    X(ISIS, 'I', 'S', 'I', 'S')                                                                    \
    X(ISSI, 'I', 'S', 'S', 'I')                                                                    \
    X(ISSS, 'I', 'S', 'S', 'S')                                                                    \
    X(SIII, 'S', 'I', 'I', 'I')                                                                    \
    X(SIIS, 'S', 'I', 'I', 'S')                                                                    \
    X(SISI, 'S', 'I', 'S', 'I')                                                                    \
    X(SISS, 'S', 'I', 'S', 'S')                                                                    \
    X(SSII, 'S', 'S', 'I', 'I')                                                                    \
    X(SSIS, 'S', 'S', 'I', 'S')                                                                    \
    X(SSSI, 'S', 'S', 'S', 'I')                                                                    \
    X(SSSS, 'S', 'S', 'S', 'S')

// A family's index parameters (i0, i1, ...), its arguments and its set parameters, for two
// to four letters.
#define PELLORIN_INDEX_PICK(_1, _2, _3, _4, NAME, ...) NAME
#define PELLORIN_INDEX_PARAMS_2(a, b) pellorin::IndexValue<a> i0, pellorin::IndexValue<b> i1
#define PELLORIN_INDEX_PARAMS_3(a, b, c) PELLORIN_INDEX_PARAMS_2(a, b), pellorin::IndexValue<c> i2
#define PELLORIN_INDEX_PARAMS_4(a, b, c, d)                                                        \
    PELLORIN_INDEX_PARAMS_3(a, b, c), pellorin::IndexValue<d> i3
#define PELLORIN_INDEX_PARAMS(...)                                                                 \
    PELLORIN_INDEX_PICK(__VA_ARGS__, PELLORIN_INDEX_PARAMS_4, PELLORIN_INDEX_PARAMS_3,             \
                        PELLORIN_INDEX_PARAMS_2, )                                                 \
    (__VA_ARGS__)
#define PELLORIN_INDEX_ARGS(...)                                                                   \
    PELLORIN_INDEX_PICK(__VA_ARGS__, (i0, i1, i2, i3), (i0, i1, i2), (i0, i1), )
#define PELLORIN_INDEX_SET_PARAMS(...)                                                             \
    PELLORIN_INDEX_PICK(__VA_ARGS__, (QV_Set & s0, QV_Set & s1, QV_Set & s2, QV_Set & s3),         \
                        (QV_Set & s0, QV_Set & s1, QV_Set & s2), (QV_Set & s0, QV_Set & s1), )
#define PELLORIN_INDEX_SET_ARGS(...)                                                               \
    PELLORIN_INDEX_PICK(__VA_ARGS__, (s0, s1, s2, s3), (s0, s1, s2), (s0, s1), )

// Each family declares its operations as its own members.
#define PELLORIN_DECLARE_INDEX_FAMILY(NAME, ...)                                                   \
    class PELLORIN_API QV_BASE_##NAME : public QV_IndexFamily<__VA_ARGS__> {                       \
    public:                                                                                        \
        QV_BASE_##NAME();                                                                          \
        QV_BASE_##NAME(const QV_BASE_##NAME& other);                                               \
        QV_BASE_##NAME& operator=(const QV_BASE_##NAME& other);                                    \
        ~QV_BASE_##NAME() override;                                                                \
                                                                                                   \
        /* The element at the index values, made when missing; null when it cannot be made. */     \
        QV_Type* Find(PELLORIN_INDEX_PARAMS(__VA_ARGS__));                                         \
        void BuildIndexString(PELLORIN_INDEX_PARAMS(__VA_ARGS__));                                 \
        /* Declares the array's index sets; the array depends on them from now on. */              \
        void SetDim PELLORIN_INDEX_SET_PARAMS(__VA_ARGS__);                                        \
        int NewElements() override;                                                                \
        void CreateMissingArrayElement(const char* index) override;                                \
    };

PELLORIN_INDEX_FAMILIES(PELLORIN_DECLARE_INDEX_FAMILY)
