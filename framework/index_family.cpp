#include "framework/index_family.h"

#include <climits>
#include <cstdint>
#include <utility>

using pellorin::IndexArg;

namespace {

// Whether only blanks follow the last index: an index string with anything else after it
// names no element.
bool OnlyBlanksLeft(const char* cursor) {
    while (*cursor == ' ' || *cursor == '\t') {
        ++cursor;
    }
    return *cursor == '\0';
}

// The most characters that reading the index at cursor can give: those up to the terminator
// that ends it, outside double quotes, or to the end of the text, less the quotes themselves
// and one of each backslash pair inside quotes. Blanks and an opening parenthesis before the
// index are not part of it.
std::size_t IndexTextLength(const char* cursor, char terminator) {
    const char* p = cursor;
    for (bool parenthesisAllowed = true;
         *p == ' ' || *p == '\t' || (*p == '(' && parenthesisAllowed); ++p) {
        parenthesisAllowed = parenthesisAllowed && *p != '(';
    }
    std::size_t length = 0;
    bool quoted = false;
    for (; *p != '\0'; ++p) {
        if (*p == '"') {
            quoted = !quoted;
            continue;
        }
        if (!quoted && *p == terminator) {
            break;
        }
        if (quoted && *p == '\\' && p[1] != '\0') {
            ++p;
        }
        ++length;
    }
    return length;
}

bool Holds(const QV_SetValue& set, bool text, const IndexArg& value, int& pos) {
    return text ? set.SetContains(value.text, pos) : set.SetContains(value.integer, pos);
}

bool Add(QV_SetValue& set, bool text, const IndexArg& value, int pos) {
    return text ? set.SetAddAtOffset(value.text, pos) : set.SetAddAtOffset(value.integer, pos);
}

IndexArg ValueOf(const QV_SetValue& set, bool text, int pos) {
    return text ? IndexArg{0, set.String(pos)} : IndexArg{set.Integer(pos), nullptr};
}

} // namespace

QV_IndexTable::QV_IndexTable(int dimensions, QV_SetValue* indexValues)
    : QV_Matrix(dimensions, indexValues) {}

QV_IndexTable::QV_IndexTable(const QV_IndexTable& other) = default;

QV_IndexTable& QV_IndexTable::operator=(const QV_IndexTable& other) = default;

QV_IndexTable::~QV_IndexTable() = default;

bool QV_IndexTable::ReserveFromDeclaredSets(pellorin::IndexSets sets) {
    const int n = Dimensions();
    const QV_SetValue* declaredValues[kMaxDimensions] = {};
    std::int64_t product = 1;
    for (int k = 0; k < n; ++k) {
        const QV_Set* declared =
            m_declaredSets.size() > std::size_t(k) ? m_declaredSets[std::size_t(k)] : nullptr;
        if (declared == nullptr || sets.values[k].Size() != 0) {
            return false;
        }
        const QV_SetValue& values = declared->v();
        const bool text = sets.IsText(k);
        if (values.IsEmpty() || values.IsStringSet() != text) {
            return false;
        }
        declaredValues[k] = &values;
        // Refused by its size before any member is copied.
        product *= std::int64_t(values.Size());
        if (product > INT_MAX) {
            return false;
        }
    }
    QV_SetValue reserved[kMaxDimensions];
    for (int k = 0; k < n; ++k) {
        // Taken whole: an integer set's runs are shared with the declared set, not copied.
        reserved[k].ResetType(sets.values[k].Type());
        reserved[k] += *declaredValues[k];
        if (reserved[k].Size() != declaredValues[k]->Size()) {
            return false;
        }
    }
    if (!m_elements.AddNullEntries(0, 0, std::size_t(product))) {
        return false;
    }
    for (int k = 0; k < n; ++k) {
        sets.values[k] = std::move(reserved[k]);
    }
    return true;
}

QV_Type* QV_IndexTable::FindIndex(pellorin::IndexSets sets, const IndexArg* index) {
    const int n = Dimensions();
    if (m_elements.Size() == 0) {
        // Laid out once for the declared sets, the table is never spread again while the
        // lookups stay inside them.
        ReserveFromDeclaredSets(sets);
    }
    const std::size_t count = m_elements.Size();
    int pos[kMaxDimensions] = {};
    bool held[kMaxDimensions] = {};
    std::int64_t before = 1;
    std::int64_t after = 1;
    for (int k = 0; k < n; ++k) {
        if (sets.IsText(k) && index[k].text == nullptr) {
            return nullptr;
        }
        held[k] = Holds(sets.values[k], sets.IsText(k), index[k], pos[k]);
        const auto size = std::int64_t(sets.values[k].Size());
        before *= size;
        after *= size + (held[k] ? 0 : 1);
        if (after > INT_MAX) {
            return nullptr; // positions must stay within 32 bits
        }
    }
    if (count != 0 && std::int64_t(count) != before) {
        return nullptr; // not a table of these sets: never index into it
    }
    // Last dimension first, so that every stride already counts the values just added to
    // the dimensions after it.
    std::size_t stride = 1;
    for (int d = n - 1; d >= 0; --d) {
        if (!held[d]) {
            if (!Add(sets.values[d], sets.IsText(d), index[d], pos[d])) {
                return nullptr;
            }
            if (count != 0 && !m_elements.AddNullEntries(std::size_t(pos[d]),
                                                         sets.values[d].Size() - 1, stride)) {
                return nullptr;
            }
        }
        m_position = d == n - 1 ? pos[d] : m_position + pos[d] * int(stride);
        if (d > 0) {
            stride *= sets.values[d].Size();
        }
    }
    if (count == 0 && !m_elements.AddNullEntries(0, 0, sets.values[0].Size() * stride)) {
        return nullptr;
    }
    if (QV_Type* element = m_elements.At(std::size_t(m_position))) {
        return element;
    }
    BuildIndexString(sets, index);
    return AddElement();
}

void QV_IndexTable::BuildIndexString(pellorin::IndexSets sets, const IndexArg* index) {
    for (int k = 0; k < Dimensions(); ++k) {
        if (sets.IsText(k)) {
            AddIndexToString(index[k].text, k);
        } else {
            AddIndexToString(index[k].integer, k);
        }
    }
}

int QV_IndexTable::MakeMissingElements(pellorin::IndexSets sets) {
    const int n = Dimensions();
    std::int64_t product = 1;
    int pos[kMaxDimensions] = {};
    for (int k = 0; k < n; ++k) {
        product *= std::int64_t(sets.values[k].Size());
        if (product > INT_MAX) {
            return 0;
        }
        pos[k] = int(sets.values[k].Size()) - 1;
    }
    // A table left empty while its sets hold values is filled with nulls first.
    if (m_elements.Size() == 0 && product != 0 &&
        !m_elements.AddNullEntries(0, 0, std::size_t(product))) {
        return 0;
    }
    if (std::int64_t(m_elements.Size()) != product) {
        return 0;
    }
    int made = 0;
    m_position = int(product);
    IndexArg values[kMaxDimensions];
    for (std::int64_t step = 0; step < product; ++step) {
        --m_position;
        if (m_elements.At(std::size_t(m_position)) == nullptr) {
            for (int k = 0; k < n; ++k) {
                values[k] = ValueOf(sets.values[k], sets.IsText(k), pos[k]);
            }
            BuildIndexString(sets, values);
            if (AddElement() == nullptr) {
                return made; // out of memory: the rest would fail the same way
            }
            ++made;
        }
        // Positions in reverse row-major order: the last dimension counts down fastest.
        for (int k = n - 1; k >= 0; --k) {
            if (pos[k] > 0) {
                --pos[k];
                break;
            }
            pos[k] = int(sets.values[k].Size()) - 1;
        }
    }
    return made;
}

void QV_IndexTable::MakeElementNamed(pellorin::IndexSets sets, const char* index) {
    const int n = Dimensions();
    const char* cursor = index;
    IndexArg values[kMaxDimensions];
    char texts[kMaxDimensions][kIndexBufferSize];
    for (int k = 0; k < n; ++k) {
        const char terminator = k == n - 1 ? ')' : ',';
        // A string index goes to the host only once it is known to fit the buffer.
        const bool read = sets.IsText(k) ? IndexTextLength(cursor, terminator) < kIndexBufferSize &&
                                               ReadIndex(cursor, texts[k], terminator)
                                         : ReadIndex(cursor, values[k].integer, terminator);
        if (!read) {
            return;
        }
        values[k].text = texts[k];
    }
    if (OnlyBlanksLeft(cursor)) {
        FindIndex(sets, values);
    }
}

void QV_IndexTable::DeclareIndexSets(QV_Set* const* sets) {
    CancelDependenceOnDeclaredSets();
    for (int k = 0; k < Dimensions(); ++k) {
        m_declaredSets[std::size_t(k)] = sets[k];
        sets[k]->AddDependent(this);
    }
}

#define PELLORIN_DEFINE_INDEX_FAMILY(NAME, ...)                                                    \
    QV_BASE_##NAME::QV_BASE_##NAME() = default;                                                    \
    QV_BASE_##NAME::QV_BASE_##NAME(const QV_BASE_##NAME& other) = default;                         \
    QV_BASE_##NAME& QV_BASE_##NAME::operator=(const QV_BASE_##NAME& other) = default;              \
    QV_BASE_##NAME::~QV_BASE_##NAME() = default;                                                   \
    QV_Type* QV_BASE_##NAME::Find(PELLORIN_INDEX_PARAMS(__VA_ARGS__)) {                            \
        return FindAt PELLORIN_INDEX_ARGS(__VA_ARGS__);                                            \
    }                                                                                              \
    void QV_BASE_##NAME::BuildIndexString(PELLORIN_INDEX_PARAMS(__VA_ARGS__)) {                    \
        BuildIndexStringAt PELLORIN_INDEX_ARGS(__VA_ARGS__);                                       \
    }                                                                                              \
    void QV_BASE_##NAME::SetDim PELLORIN_INDEX_SET_PARAMS(__VA_ARGS__) {                           \
        DeclareSetsAt PELLORIN_INDEX_SET_ARGS(__VA_ARGS__);                                        \
    }                                                                                              \
    int QV_BASE_##NAME::NewElements() {                                                            \
        return MakeMissingElements(Sets());                                                        \
    }                                                                                              \
    void QV_BASE_##NAME::CreateMissingArrayElement(const char* index) {                            \
        MakeElementNamed(Sets(), index);                                                           \
    }                                                                                              \
    /* The family is its matrix base and its index values, one set per letter. */                  \
    static_assert(sizeof(QV_BASE_##NAME) ==                                                        \
                  sizeof(QV_Matrix) + (sizeof(#NAME) - 1) * sizeof(QV_SetValue));

PELLORIN_INDEX_FAMILIES(PELLORIN_DEFINE_INDEX_FAMILY)
