// Arrays: the element table, the matrix base that makes elements on demand, and the host's
// one-dimensional bases over an integer or a string index set.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "vuzizev/model.h"
#include "vuzizev/set_properties.h"
#include "vuzizev/sets.h"

// A table of element pointers that owns the elements it holds; an entry may be null. Entries
// take four bytes while every element lies within 16 GiB of the first one on an 8-byte step
// (as the host's allocator hands them out), the whole table switching to full pointers at
// the first element that does not.
class VZ_API QV_LongPtrVectorOwnsData {
public:
    QV_LongPtrVectorOwnsData() = default;
    QV_LongPtrVectorOwnsData(const QV_LongPtrVectorOwnsData&) = delete;
    QV_LongPtrVectorOwnsData& operator=(const QV_LongPtrVectorOwnsData&) = delete;
    ~QV_LongPtrVectorOwnsData();

    std::size_t Size() const;
    // The entry at i; null when i is outside the table.
    QV_Type* At(std::size_t i) const;
    // Puts element at i, destroying what was there; false when i is outside the table. When
    // the table cannot switch to full pointers for it, the element is destroyed, the
    // allocation failure counted, and false returned.
    bool Put(std::size_t i, QV_Type* element);
    // Destroys every element and empties the table.
    void Clear();
    // Makes the table count null entries; false (table unchanged) when memory runs out.
    bool ResetToNulls(std::size_t count);

    // Opens room for one new value of a dimension that spans stride entries per value and
    // held oldSize values: stride nulls go in at offset position * stride of every block of
    // oldSize * stride entries. With oldSize 0 the table gets stride nulls appended. False,
    // with the table unchanged, when the table is not made of such blocks, position is
    // beyond oldSize, or memory runs out.
    bool AddNullEntries(std::size_t position, std::size_t oldSize, std::size_t stride);

private:
    static constexpr std::int32_t kNoElement = INT32_MIN;
    // The entry for element in 8-byte steps from the anchor; false when it has none.
    bool StepOf(const QV_Type* element, std::int32_t& step);

    std::vector<std::int32_t> m_steps; // while the table is narrow
    std::vector<QV_Type*> m_pointers;  // once it is wide
    std::uintptr_t m_anchor = 0;       // the first element's address; 0 before one
    bool m_wide = false;
};

// The base of every array. It keeps the element table, the flat position of the element in
// hand, the declared index sets, and the index string of the element about to be made:
// `(v0,v1,...)`, integers in decimal, strings in double quotes with `\"` and `\\` escapes.
class VZ_API QV_Matrix : public QV_Type {
public:
    // dimensions index sets, whose values the derived class keeps at indexValues; the
    // matrix reads them only while it is in use, never while being built or destroyed.
    QV_Matrix(int dimensions, QV_SetValue* indexValues);
    // Copies and assignments take the shape (the derived class copies the index values, which
    // the copy finds where the original keeps its own): an all-null table of the same size,
    // no declared set, the same port settings. Elements are never shared.
    QV_Matrix(const QV_Matrix& other);
    QV_Matrix& operator=(const QV_Matrix& other);
    ~QV_Matrix() override;

    static const char* QV_ContainerId();

    // The array protocol: make one element, make every missing element (returns how many),
    // make the element an index string names.
    virtual QV_Type* NewElement() = 0;
    virtual int NewElements() = 0;
    virtual void CreateMissingArrayElement(const char* index) = 0;

    // Makes the element at the current position through NewElement, names it with the
    // index string built so far and returns it; the element already there if there is one;
    // null when the position is outside the table or NewElement gives null.
    QV_Type* AddElement();
    // Appends index value k of the element about to be made (k = 0 starts a new string).
    void AddIndexToString(int value, int k);
    void AddIndexToString(const char* value, int k);

    // Reads one index at cursor (blanks and one opening parenthesis before it are skipped)
    // up to terminator and moves cursor past the terminator. False, with cursor and output
    // unchanged, when the text is not an index followed by terminator. A string index is
    // quoted or bare; buffer holds 128 characters, and an index that does not fit them with
    // its terminating zero is refused.
    static bool ReadIndex(const char*& cursor, int& out, char terminator);
    static bool ReadIndex(const char*& cursor, char* buffer, char terminator);

    // The array stops depending on the sets declared before.
    void CancelDependenceOnDeclaredSets();

    int Dimensions() const { return m_dimensions; }

    // Port settings, for arrays of ports: the host applies them when it connects the ports.
    void SetDirection(QV_Direction direction);
    void UnsetIsToBeExported() override;
    void HostPortType(QV_HostPortType type);
    // The ports among the elements, in table order: their count, and the one that brings
    // the running counter below zero (null when none does).
    int PortCount(bool all) const;
    QV_Type* GetPort(int& counter, bool all);

protected:
    // The one-dimensional lookup shared by the host's bases over either kind of index.
    template <class Value>
    QV_Type* FindInOneDimension(Value value);
    template <class Value>
    int NewElementsInOneDimension();

    // The elements' names, kept in blocks that outlive the elements. An element with integer
    // index values only keeps those; its text is made in a store of such names, which the
    // array holds, when first read.
    class NameStore {
    public:
        NameStore() = default;
        NameStore(const NameStore&) = delete;
        NameStore& operator=(const NameStore&) = delete;
        ~NameStore();
        const char* Keep(const std::string& name);
        // The array's elements are named by their index values from now on.
        void HoldIndexNames();

    private:
        static constexpr std::size_t kBlock = 4096;
        std::vector<char*> m_blocks;
        std::size_t m_used = kBlock;
        bool m_holdsIndexNames = false;
    };
    NameStore m_names;
    QV_LongPtrVectorOwnsData m_elements;
    int m_position = 0;
    std::vector<QV_Set*> m_declaredSets; // one per dimension; null when none is declared

private:
    friend class QV_Set; // unlinks itself when destroyed first
    friend class vzt::HostAccess;
    void ForgetDeclaredSet(const QV_Set* set);
    const std::string& IndexString() const { return m_indexString; }
    const QV_SetValue& IndexValues(int k) const;
    QV_Set* DeclaredSet(int k) const;

    int m_dimensions;
    QV_SetValue* m_indexValues;
    std::string m_indexString;
    // The same index while it holds integers only, and at most two of them: what an element
    // named by its index values keeps instead of the text. The count is -1 otherwise.
    std::int32_t m_integerIndex[2] = {};
    int m_integerIndexCount = 0;
    QV_Direction m_direction = QV_DirectionNone;
    bool m_toBeExported = true;
    QV_HostPortType m_hostPortType = 0;
};

// The host's base of arrays over one integer index set.
class VZ_API QV_BASE_I : public QV_Matrix {
public:
    QV_BASE_I();
    QV_BASE_I(const QV_BASE_I& other);
    QV_BASE_I& operator=(const QV_BASE_I& other);
    ~QV_BASE_I() override;

    // The element at i, made when missing; i joins the index values when it is new.
    QV_Type* Find(int i);
    void SetDim(QV_Set& set);
    int NewElements() override;
    void CreateMissingArrayElement(const char* index) override;

protected:
    QV_SetValue m_indexValues[1];
};

// The host's base of arrays over one string index set.
class VZ_API QV_BASE_S : public QV_Matrix {
public:
    QV_BASE_S();
    QV_BASE_S(const QV_BASE_S& other);
    QV_BASE_S& operator=(const QV_BASE_S& other);
    ~QV_BASE_S() override;

    // The element named s, made when missing; null for a null name.
    QV_Type* Find(const char* s);
    void SetDim(QV_Set& set);
    int NewElements() override;
    void CreateMissingArrayElement(const char* index) override;

protected:
    QV_SetValue m_indexValues[1];
};
