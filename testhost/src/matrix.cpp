#include "vuzizev/matrix.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <new>
#include <string_view>

#include "control.h"
#include "element_names.h"

QV_Matrix::QV_Matrix(int dimensions, QV_SetValue* indexValues)
    : m_declaredSets(std::size_t(std::max(dimensions, 0)), nullptr), m_dimensions(dimensions),
      m_indexValues(indexValues) {}

namespace {

// The index values of a copy: they lie in the copy where the original's lie in the original,
// since both are objects of the same class.
QV_SetValue* SamePlaceIn(const QV_Matrix& copy, const QV_Matrix& original,
                         const QV_SetValue* values) {
    if (values == nullptr) {
        return nullptr;
    }
    const std::uintptr_t offset =
        reinterpret_cast<std::uintptr_t>(values) - reinterpret_cast<std::uintptr_t>(&original);
    return reinterpret_cast<QV_SetValue*>(reinterpret_cast<std::uintptr_t>(&copy) + offset);
}

} // namespace

QV_Matrix::QV_Matrix(const QV_Matrix& other)
    : QV_Type(other), m_declaredSets(other.m_declaredSets.size(), nullptr),
      m_dimensions(other.m_dimensions),
      m_indexValues(SamePlaceIn(*this, other, other.m_indexValues)), m_direction(other.m_direction),
      m_toBeExported(other.m_toBeExported), m_hostPortType(other.m_hostPortType) {
    // Should this fail, the table stays empty and is filled on first use.
    m_elements.ResetToNulls(other.m_elements.Size());
}

QV_Matrix& QV_Matrix::operator=(const QV_Matrix& other) {
    if (this == &other) {
        return *this;
    }
    QV_Type::operator=(other);
    CancelDependenceOnDeclaredSets();
    if (!m_elements.ResetToNulls(other.m_elements.Size())) {
        m_elements.Clear();
    }
    m_position = 0;
    m_indexString.clear();
    m_integerIndexCount = 0;
    m_direction = other.m_direction;
    m_toBeExported = other.m_toBeExported;
    m_hostPortType = other.m_hostPortType;
    return *this;
}

QV_Matrix::~QV_Matrix() {
    CancelDependenceOnDeclaredSets();
}

const char* QV_Matrix::QV_ContainerId() {
    return "Matrix\tVZ";
}

QV_Type* QV_Matrix::AddElement() {
    std::string index = std::move(m_indexString);
    m_indexString.clear();
    const int integers = m_integerIndexCount;
    m_integerIndexCount = 0;
    if (m_position < 0 || std::size_t(m_position) >= m_elements.Size()) {
        return nullptr;
    }
    if (QV_Type* existing = m_elements.At(std::size_t(m_position))) {
        return existing;
    }
    QV_Type* element = NewElement();
    if (element == nullptr) {
        return nullptr;
    }
    if (!m_elements.Put(std::size_t(m_position), element)) {
        return nullptr; // the table destroyed the element
    }
    if (vzt::detail::JournalOn()) {
        vzt::detail::Record({.kind = vzt::EventKind::AddElement,
                             .object = this,
                             .owner = element,
                             .name = index,
                             .a = m_position});
    }
    if (integers > 0 && element->NameByIndex(m_integerIndex, integers)) {
        m_names.HoldIndexNames();
    } else {
        element->NameAsElement(m_names.Keep(index));
    }
    return element;
}

QV_Matrix::NameStore::~NameStore() {
    vzt::detail::FreeTexts(m_blocks);
    if (m_holdsIndexNames) {
        vzt::detail::ReleaseIndexNames();
    }
}

const char* QV_Matrix::NameStore::Keep(const std::string& name) {
    return vzt::detail::KeepText(m_blocks, m_used, kBlock, name);
}

void QV_Matrix::NameStore::HoldIndexNames() {
    if (!m_holdsIndexNames) {
        vzt::detail::HoldIndexNames();
        m_holdsIndexNames = true;
    }
}

namespace {

// "(v0,v1,...)" as the array writes an index text; returns its length.
std::size_t WriteIntegerIndex(const std::int32_t* values, int count, char* out) {
    char* p = out;
    *p++ = '(';
    for (int k = 0; k < count; ++k) {
        if (k > 0) {
            *p++ = ',';
        }
        p = std::to_chars(p, p + 12, values[k]).ptr;
    }
    *p++ = ')';
    return std::size_t(p - out);
}

// Names made when read, of the elements of every array named by index values.
struct IndexNames {
    static constexpr std::size_t kBlock = 4096;
    std::mutex mutex;
    std::vector<char*> blocks;
    std::size_t used = kBlock;
    std::size_t holders = 0;
};

// Never destroyed, so that arrays that outlive static destruction still find it.
IndexNames& SharedIndexNames() {
    static auto* names = new IndexNames;
    return *names;
}

} // namespace

namespace vzt::detail {

const char* KeepText(std::vector<char*>& blocks, std::size_t& used, std::size_t blockSize,
                     std::string_view text) {
    const std::size_t size = text.size() + 1;
    if (size > blockSize) {
        return ""; // no index text comes near a block
    }
    if (used + size > blockSize) {
        char* block = static_cast<char*>(std::malloc(blockSize));
        if (block == nullptr) {
            return ""; // the element stays, unnamed
        }
        try {
            blocks.push_back(block);
        } catch (const std::bad_alloc&) {
            std::free(block);
            return "";
        }
        used = 0;
    }
    char* kept = blocks.back() + used;
    std::memcpy(kept, text.data(), text.size());
    kept[text.size()] = '\0';
    used += size;
    return kept;
}

void FreeTexts(std::vector<char*>& blocks) {
    for (char* block : blocks) {
        std::free(block);
    }
    blocks.clear();
}

void HoldIndexNames() {
    IndexNames& names = SharedIndexNames();
    const std::lock_guard lock(names.mutex);
    ++names.holders;
}

void ReleaseIndexNames() {
    IndexNames& names = SharedIndexNames();
    const std::lock_guard lock(names.mutex);
    if (--names.holders == 0) {
        FreeTexts(names.blocks);
        names.used = IndexNames::kBlock;
    }
}

const char* KeepIndexName(const std::int32_t* values, int count) {
    char written[2 + 12 * 2 + 2];
    const std::size_t size = WriteIntegerIndex(values, std::min(count, 2), written);
    IndexNames& names = SharedIndexNames();
    const std::lock_guard lock(names.mutex);
    return KeepText(names.blocks, names.used, IndexNames::kBlock, std::string_view(written, size));
}

} // namespace vzt::detail

void QV_Matrix::CancelDependenceOnDeclaredSets() {
    vzt::detail::Record({.kind = vzt::EventKind::CancelDependence, .object = this});
    for (QV_Set*& set : m_declaredSets) {
        if (set != nullptr) {
            set->RemoveDependent(this);
            set = nullptr;
        }
    }
}

void QV_Matrix::ForgetDeclaredSet(const QV_Set* set) {
    std::replace(m_declaredSets.begin(), m_declaredSets.end(), const_cast<QV_Set*>(set),
                 static_cast<QV_Set*>(nullptr));
}

const QV_SetValue& QV_Matrix::IndexValues(int k) const {
    static const QV_SetValue none;
    return (m_indexValues != nullptr && k >= 0 && k < m_dimensions) ? m_indexValues[k] : none;
}

QV_Set* QV_Matrix::DeclaredSet(int k) const {
    return (k >= 0 && std::size_t(k) < m_declaredSets.size()) ? m_declaredSets[k] : nullptr;
}

// ---- Port settings ------------------------------------------------------------------------

void QV_Matrix::SetDirection(QV_Direction direction) {
    m_direction = direction;
    vzt::detail::Record({.kind = vzt::EventKind::SetDirection, .object = this, .a = direction});
}

void QV_Matrix::UnsetIsToBeExported() {
    m_toBeExported = false;
    vzt::detail::Record({.kind = vzt::EventKind::UnsetIsToBeExported, .object = this});
}

void QV_Matrix::HostPortType(QV_HostPortType type) {
    m_hostPortType = type;
    vzt::detail::Record({.kind = vzt::EventKind::HostPortType, .object = this, .a = type});
}

int QV_Matrix::PortCount(bool) const {
    int count = 0;
    for (std::size_t i = 0; i < m_elements.Size(); ++i) {
        if (const auto* port = dynamic_cast<const QV_PortType*>(m_elements.At(i))) {
            count += port->PortCount(false);
        }
    }
    return count;
}

QV_Type* QV_Matrix::GetPort(int& counter, bool) {
    for (std::size_t i = 0; i < m_elements.Size(); ++i) {
        if (auto* port = dynamic_cast<QV_PortType*>(m_elements.At(i))) {
            if (QV_Type* found = port->GetPort(counter, false)) {
                return found;
            }
        }
    }
    return nullptr;
}
