// The host's one-dimensional array bases: one ordered index set and a table with one entry
// per index value, each made on demand.
#include <type_traits>
#include <utility>

#include "control.h"
#include "vuzizev/matrix.h"

namespace {

template <class Value>
Value ValueAt(const QV_SetValue& values, int pos) {
    if constexpr (std::is_same_v<Value, int>) {
        return values.Integer(pos);
    } else {
        return values.String(pos);
    }
}

// An empty table over a declared integer set takes all of the set's values at its first
// lookup, sharing them with the set, and is laid out for them at once rather than grown value
// by value. A table too large to lay out is counted as a failed allocation (the set alone no
// longer costs memory in proportion to its values), left as it was, and false returned.
bool ReserveFromDeclaredSet(QV_SetValue& values, const QV_Set* declared,
                            QV_LongPtrVectorOwnsData& elements) {
    if (declared == nullptr || values.Size() != 0 || elements.Size() != 0 ||
        declared->v().kind() != SUValue::Kind::Integer || declared->v().Size() == 0) {
        return true;
    }
    QV_SetValue reserved;
    reserved += declared->v();
    if (!elements.AddNullEntries(0, 0, reserved.Size())) {
        vzt::detail::CountFailedAllocation();
        return false;
    }
    values = std::move(reserved);
    return true;
}

} // namespace

template <class Value>
QV_Type* QV_Matrix::FindInOneDimension(Value value) {
    QV_SetValue& values = m_indexValues[0];
    if constexpr (std::is_same_v<Value, int>) {
        if (!ReserveFromDeclaredSet(values, m_declaredSets.empty() ? nullptr : m_declaredSets[0],
                                    m_elements)) {
            return nullptr;
        }
    }
    const std::size_t count = m_elements.Size();
    if (count != 0 && count != values.Size()) {
        return nullptr; // not a table of these values: never index into it
    }
    // The table matches its values, so a value or an entry that cannot be added can only be
    // an allocation failure: counted, and no element. Nothing is thrown, since an exception
    // cannot always cross from the host into the library that asked.
    int pos = 0;
    if (!values.SetContains(value, pos)) {
        if (!values.SetAddAtOffset(value, pos)) {
            vzt::detail::CountFailedAllocation();
            return nullptr;
        }
        if (count != 0 && !m_elements.AddNullEntries(std::size_t(pos), values.Size() - 1, 1)) {
            vzt::detail::CountFailedAllocation();
            return nullptr;
        }
    }
    if (count == 0 && !m_elements.AddNullEntries(0, 0, values.Size())) {
        vzt::detail::CountFailedAllocation();
        return nullptr;
    }
    m_position = pos;
    if (QV_Type* element = m_elements.At(std::size_t(pos))) {
        return element;
    }
    AddIndexToString(value, 0);
    return AddElement();
}

template <class Value>
int QV_Matrix::NewElementsInOneDimension() {
    const QV_SetValue& values = m_indexValues[0];
    if (m_elements.Size() == 0 && values.Size() != 0 &&
        !m_elements.AddNullEntries(0, 0, values.Size())) {
        return 0;
    }
    if (m_elements.Size() != values.Size()) {
        return 0;
    }
    int made = 0;
    m_position = int(m_elements.Size());
    for (int pos = int(values.Size()) - 1; pos >= 0; --pos) {
        --m_position;
        if (m_elements.At(std::size_t(m_position)) == nullptr) {
            AddIndexToString(ValueAt<Value>(values, pos), 0);
            if (AddElement() == nullptr) {
                return made; // out of memory: the rest would fail the same way
            }
            ++made;
        }
    }
    return made;
}

template QV_Type* QV_Matrix::FindInOneDimension<int>(int);
template QV_Type* QV_Matrix::FindInOneDimension<const char*>(const char*);
template int QV_Matrix::NewElementsInOneDimension<int>();
template int QV_Matrix::NewElementsInOneDimension<const char*>();

// ---- QV_BASE_I ----------------------------------------------------------------------------

QV_BASE_I::QV_BASE_I() : QV_Matrix(1, m_indexValues) {
    m_indexValues[0].ResetType(QV_SetTypeInteger);
}

QV_BASE_I::QV_BASE_I(const QV_BASE_I& other)
    : QV_Matrix(other), m_indexValues{other.m_indexValues[0]} {}

QV_BASE_I& QV_BASE_I::operator=(const QV_BASE_I& other) {
    QV_Matrix::operator=(other);
    m_indexValues[0] = other.m_indexValues[0];
    return *this;
}

QV_BASE_I::~QV_BASE_I() = default;

QV_Type* QV_BASE_I::Find(int i) {
    return FindInOneDimension(i);
}

void QV_BASE_I::SetDim(QV_Set& set) {
    CancelDependenceOnDeclaredSets();
    m_declaredSets[0] = &set;
    set.AddDependent(this);
}

int QV_BASE_I::NewElements() {
    return NewElementsInOneDimension<int>();
}

void QV_BASE_I::CreateMissingArrayElement(const char* index) {
    const char* cursor = index;
    int i = 0;
    if (ReadIndex(cursor, i, ')') && vzt::detail::AtEndOfIndex(cursor)) {
        Find(i);
    }
}

// ---- QV_BASE_S ----------------------------------------------------------------------------

QV_BASE_S::QV_BASE_S() : QV_Matrix(1, m_indexValues) {
    m_indexValues[0].ResetType(QV_SetTypeString);
}

QV_BASE_S::QV_BASE_S(const QV_BASE_S& other)
    : QV_Matrix(other), m_indexValues{other.m_indexValues[0]} {}

QV_BASE_S& QV_BASE_S::operator=(const QV_BASE_S& other) {
    QV_Matrix::operator=(other);
    m_indexValues[0] = other.m_indexValues[0];
    return *this;
}

QV_BASE_S::~QV_BASE_S() = default;

QV_Type* QV_BASE_S::Find(const char* s) {
    return s != nullptr ? FindInOneDimension(s) : nullptr;
}

void QV_BASE_S::SetDim(QV_Set& set) {
    CancelDependenceOnDeclaredSets();
    m_declaredSets[0] = &set;
    set.AddDependent(this);
}

int QV_BASE_S::NewElements() {
    return NewElementsInOneDimension<const char*>();
}

void QV_BASE_S::CreateMissingArrayElement(const char* index) {
    const char* cursor = index;
    char name[vzt::detail::kIndexBufferSize];
    if (ReadIndex(cursor, name, ')') && vzt::detail::AtEndOfIndex(cursor)) {
        Find(name);
    }
}
