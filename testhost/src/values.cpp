#include "vuzizev/values.h"

#include <climits>
#include <cmath>

// The tag keeps b and a as the ints ExecuteAssignments received.
QV_Value::QV_Value(int value, unsigned b, unsigned a, int n)
    : m_kind(Kind::Integer), m_integer(value), m_tag{int(b), int(a), n} {}
QV_Value::QV_Value(double value, unsigned b, unsigned a, int n)
    : m_kind(Kind::Real), m_real(value), m_tag{int(b), int(a), n} {}
QV_Value::QV_Value(const char* value, unsigned b, unsigned a, int n)
    : m_kind(Kind::Text), m_text(value != nullptr ? value : ""), m_tag{int(b), int(a), n} {}
QV_Value::QV_Value(const QV_SetValue& value, unsigned b, unsigned a, int n)
    : m_kind(Kind::Set),
      m_set(std::make_shared<const QV_SetValue>(value)), m_tag{int(b), int(a), n} {}
QV_Value::QV_Value(const SUValue& value, unsigned b, unsigned a, int n)
    : QV_Value(QV_SetValue(value), b, a, n) {}
QV_Value::QV_Value(int value, unsigned tag)
    : m_kind(Kind::Integer), m_integer(value), m_plainTag(tag) {}
QV_Value::QV_Value(double value, unsigned tag)
    : m_kind(Kind::Real), m_real(value), m_plainTag(tag) {}
QV_Value::QV_Value(const char* value, unsigned tag)
    : m_kind(Kind::Text), m_text(value != nullptr ? value : ""), m_plainTag(tag) {}
QV_Value::QV_Value(const QV_SetValue& value, unsigned tag)
    : m_kind(Kind::Set), m_set(std::make_shared<const QV_SetValue>(value)), m_plainTag(tag) {}

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
    return m_text.c_str();
}

const QV_SetValue& QV_Value::AsSet() const {
    static const QV_SetValue none;
    return m_set != nullptr ? *m_set : none;
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
        return m_text == other.m_text;
    case Kind::Set:
        return AsSet() == other.AsSet();
    default:
        return true;
    }
}
