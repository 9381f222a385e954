#include "vuzizev/values.h"

#include <climits>
#include <cmath>
#include <cstring>
#include <string>

namespace {

std::shared_ptr<const std::string> SharedText(const char* value) {
    return std::make_shared<const std::string>(value != nullptr ? value : "");
}

} // namespace

// The tag keeps b and a as the ints ExecuteAssignments received.
QV_Value::QV_Value(int value, unsigned b, unsigned a, int n)
    : m_kind(Kind::Integer), m_tag{int(b), int(a), n}, m_integer(value) {}
QV_Value::QV_Value(double value, unsigned b, unsigned a, int n)
    : m_kind(Kind::Real), m_tag{int(b), int(a), n}, m_real(value) {}
QV_Value::QV_Value(const char* value, unsigned b, unsigned a, int n)
    : m_kind(Kind::Text), m_tag{int(b), int(a), n}, m_shared(SharedText(value)) {}
QV_Value::QV_Value(const QV_SetValue& value, unsigned b, unsigned a, int n)
    : m_kind(Kind::Set), m_tag{int(b), int(a), n},
      m_shared(std::make_shared<const QV_SetValue>(value)) {}
QV_Value::QV_Value(const SUValue& value, unsigned b, unsigned a, int n)
    : QV_Value(QV_SetValue(value), b, a, n) {}
QV_Value::QV_Value(int value, unsigned tag)
    : m_kind(Kind::Integer), m_plainTag(tag), m_integer(value) {}
QV_Value::QV_Value(double value, unsigned tag)
    : m_kind(Kind::Real), m_plainTag(tag), m_real(value) {}
QV_Value::QV_Value(const char* value, unsigned tag)
    : m_kind(Kind::Text), m_plainTag(tag), m_shared(SharedText(value)) {}
QV_Value::QV_Value(const QV_SetValue& value, unsigned tag)
    : m_kind(Kind::Set), m_plainTag(tag), m_shared(std::make_shared<const QV_SetValue>(value)) {}

// A reset value keeps its tags; only its kind and contents change.
void QV_Value::ResetValue(double value) {
    const QV_ValueTag tag = m_tag;
    *this = QV_Value(value, m_plainTag);
    m_tag = tag;
}

void QV_Value::ResetValue(const char* value) {
    const QV_ValueTag tag = m_tag;
    *this = QV_Value(value, m_plainTag);
    m_tag = tag;
}

int QV_Value::AsInteger() const {
    switch (m_kind) {
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
    switch (m_kind) {
    case Kind::Integer:
        return double(m_integer);
    case Kind::Real:
        return m_real;
    default:
        return 0.0;
    }
}

const char* QV_Value::AsText() const {
    return m_kind == Kind::Text ? static_cast<const std::string*>(m_shared.get())->c_str() : "";
}

const QV_SetValue& QV_Value::AsSet() const {
    static const QV_SetValue none;
    return m_kind == Kind::Set ? *static_cast<const QV_SetValue*>(m_shared.get()) : none;
}

bool QV_Value::operator==(const QV_Value& other) const {
    if (m_kind != other.m_kind || !(m_tag == other.m_tag) || m_plainTag != other.m_plainTag) {
        return false;
    }
    switch (m_kind) {
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

static_assert(sizeof(void*) != 8 || sizeof(QV_Value) <= 48, "a value stays within 48 bytes");
