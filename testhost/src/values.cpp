#include "vuzizev/values.h"

#include <atomic>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>
#include <string>

#include "control.h"

namespace {

template <class Kind>
constexpr std::uint8_t Code(Kind kind) {
    return static_cast<std::uint8_t>(kind);
}
constexpr std::uint8_t Empty() {
    return 0;
}

// A value's text or set block; null, counted as a failed allocation, when there is no memory
// for it, so that the value is empty and no property takes it.
template <class Block, class Contents>
Block* NewBlock(const Contents& contents) noexcept {
    try {
        return new Block(contents);
    } catch (const std::bad_alloc&) {
        vzt::detail::CountFailedAllocation();
        return nullptr;
    }
}

} // namespace

struct QV_Value::Block {
    Block() = default;
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;
    virtual ~Block() = default;
    std::atomic<std::size_t> refs{1};
};

struct QV_Value::TextBlock : Block {
    explicit TextBlock(const char* value) : text(value != nullptr ? value : "") {}
    const std::string text;
};

struct QV_Value::SetBlock : Block {
    explicit SetBlock(const QV_SetValue& value) : set(value) {}
    const QV_SetValue set;
};

QV_Value::QV_Value(const QV_Value& other)
    : m_kind(other.m_kind), m_plain(other.m_plain), m_tag(other.m_tag) {
    // The whole union, whichever member holds the value.
    std::memcpy(static_cast<void*>(&m_integer), &other.m_integer, sizeof m_real);
    if (kind() == Kind::Text || kind() == Kind::Set) {
        m_block->refs.fetch_add(1, std::memory_order_relaxed);
    }
}

QV_Value::QV_Value(QV_Value&& other) noexcept
    : m_kind(other.m_kind), m_plain(other.m_plain), m_tag(other.m_tag) {
    std::memcpy(static_cast<void*>(&m_integer), &other.m_integer, sizeof m_real);
    other.m_kind = Empty();
}

QV_Value& QV_Value::operator=(const QV_Value& other) {
    if (this != &other) {
        QV_Value copy(other);
        *this = std::move(copy);
    }
    return *this;
}

QV_Value& QV_Value::operator=(QV_Value&& other) noexcept {
    if (this != &other) {
        Release();
        m_kind = other.m_kind;
        m_plain = other.m_plain;
        m_tag = other.m_tag;
        std::memcpy(static_cast<void*>(&m_integer), &other.m_integer, sizeof m_real);
        other.m_kind = Empty();
    }
    return *this;
}

QV_Value::~QV_Value() {
    Release();
}

void QV_Value::Release() noexcept {
    if ((kind() == Kind::Text || kind() == Kind::Set) &&
        m_block->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        delete m_block;
    }
    m_kind = Empty();
}

// The tag keeps b and a as the ints ExecuteAssignments received.
QV_Value::QV_Value(int value, unsigned b, unsigned a, int n)
    : m_kind(Code(Kind::Integer)), m_tag{int(b), int(a), n}, m_integer(value) {}
QV_Value::QV_Value(double value, unsigned b, unsigned a, int n)
    : m_kind(Code(Kind::Real)), m_tag{int(b), int(a), n}, m_real(value) {}
QV_Value::QV_Value(const char* value, unsigned b, unsigned a, int n)
    : m_kind(Code(Kind::Text)), m_tag{int(b), int(a), n}, m_block(NewBlock<TextBlock>(value)) {
    m_kind = m_block != nullptr ? m_kind : Empty();
}
QV_Value::QV_Value(const QV_SetValue& value, unsigned b, unsigned a, int n)
    : m_kind(Code(Kind::Set)), m_tag{int(b), int(a), n}, m_block(NewBlock<SetBlock>(value)) {
    m_kind = m_block != nullptr ? m_kind : Empty();
}
QV_Value::QV_Value(const SUValue& value, unsigned b, unsigned a, int n)
    : QV_Value(QV_SetValue(value), b, a, n) {}
QV_Value::QV_Value(int value, unsigned tag)
    : m_kind(Code(Kind::Integer)), m_plain(true), m_tag{0, 0, int(tag)}, m_integer(value) {}
QV_Value::QV_Value(double value, unsigned tag)
    : m_kind(Code(Kind::Real)), m_plain(true), m_tag{0, 0, int(tag)}, m_real(value) {}
QV_Value::QV_Value(const char* value, unsigned tag)
    : m_kind(Code(Kind::Text)), m_plain(true), m_tag{0, 0, int(tag)},
      m_block(NewBlock<TextBlock>(value)) {
    m_kind = m_block != nullptr ? m_kind : Empty();
}
QV_Value::QV_Value(const QV_SetValue& value, unsigned tag)
    : m_kind(Code(Kind::Set)), m_plain(true), m_tag{0, 0, int(tag)},
      m_block(NewBlock<SetBlock>(value)) {
    m_kind = m_block != nullptr ? m_kind : Empty();
}

// A reset value keeps its tags; only its kind and contents change.
void QV_Value::ResetValue(double value) {
    QV_Value fresh(value, 0u);
    fresh.m_plain = m_plain;
    fresh.m_tag = m_tag;
    *this = std::move(fresh);
}

void QV_Value::ResetValue(const char* value) {
    QV_Value fresh(value, 0u);
    fresh.m_plain = m_plain;
    fresh.m_tag = m_tag;
    *this = std::move(fresh);
}

int QV_Value::AsInteger() const {
    switch (kind()) {
    case Kind::Integer:
        return m_integer;
    case Kind::Real:
        if (std::isnan(m_real)) {
            return 0;
        }
        if (m_real >= double(INT_MAX)) {
            return INT_MAX;
        }
        if (m_real <= double(INT_MIN)) {
            return INT_MIN;
        }
        return int(m_real);
    default:
        return 0;
    }
}

double QV_Value::AsReal() const {
    switch (kind()) {
    case Kind::Integer:
        return double(m_integer);
    case Kind::Real:
        return m_real;
    default:
        return 0.0;
    }
}

const char* QV_Value::AsText() const {
    return kind() == Kind::Text ? static_cast<const TextBlock*>(m_block)->text.c_str() : "";
}

const QV_SetValue& QV_Value::AsSet() const {
    static const QV_SetValue none;
    return kind() == Kind::Set ? static_cast<const SetBlock*>(m_block)->set : none;
}

bool QV_Value::operator==(const QV_Value& other) const {
    if (kind() != other.kind() || !(tag() == other.tag()) || plainTag() != other.plainTag()) {
        return false;
    }
    switch (kind()) {
    case Kind::Integer:
        return m_integer == other.m_integer;
    case Kind::Real:
        return m_real == other.m_real;
    case Kind::Text:
        return std::strcmp(AsText(), other.AsText()) == 0;
    case Kind::Set:
        return AsSet() == other.AsSet();
    default:
        return true;
    }
}

static_assert(sizeof(void*) != 8 || sizeof(QV_Value) <= 24, "a value stays within 24 bytes");
