// The two accessors through which the library reads a value in force, v() and fv(), and the
// test switch that sets them apart.
#include <unordered_map>

#include "control.h"
#include "vuzizev/properties.h"
#include "vuzizev/set_properties.h"
#include "vuzizev/sets.h"

namespace {

struct SecondValues {
    std::unordered_map<const QV_VarParamProp*, QV_Value> values;
    int iteratorShift = 0;
    bool any = false; // whether fv() may differ from v() at all; the common case reads one flag
};

// At namespace scope, so that the accessors, called once per value a walk reads, test no
// guard of a function-local static.
SecondValues second;

SecondValues& Second() {
    return second;
}

// What fv() answers for property: the value a test set apart, else the value in force.
const QV_Value& SecondValue(const QV_VarParamProp& property) {
    if (second.any) [[unlikely]] {
        const auto it = second.values.find(&property);
        if (it != second.values.end()) {
            return it->second;
        }
    }
    return vzt::Current(property);
}

} // namespace

namespace vzt {

void SetSecondValue(const QV_VarParamProp& property, const QV_Value& value) {
    Second().values.insert_or_assign(&property, value);
    Second().any = true;
}

void SetIteratorSecondShift(int shift) {
    Second().iteratorShift = shift;
    Second().any = Second().any || shift != 0;
}

void ClearSecondValues() {
    Second() = SecondValues{};
}

} // namespace vzt

// The value in force, which both accessors read (here, so that they can inline it).
const QV_Value& QV_VarParamProp::Current() const {
    if (m_held != 0) {
        if (const QV_Value* user = UserValue(); user != nullptr && !user->IsEmpty()) {
            return *user;
        }
        if (const QV_Value* assigned = Assigned(); !assigned->IsEmpty()) {
            return *assigned;
        }
    }
    static const QV_Value empty{};
    const QV_Value* fallback = DefaultValueInForce();
    return fallback != nullptr ? *fallback : empty;
}

int QV_VarParamProp::Integer() const {
    return vzt::AsInteger(vzt::Current(*this));
}
double QV_VarParamProp::Real() const {
    return vzt::AsReal(vzt::Current(*this));
}
const char* QV_VarParamProp::String() const {
    return vzt::AsText(vzt::Current(*this));
}
bool QV_VarParamProp::IsDefaultAssignment() const {
    return !IsSpecified();
}
void QV_VarParamProp::SetCurrentValue(double value) {
    Specify(QV_Value(value, 0u));
}
void QV_VarParamProp::SetCurrentValue(const char* value) {
    Specify(QV_Value(value != nullptr ? value : "", 0u));
}

double QV_REALPARAMETER::v() const {
    return vzt::AsReal(vzt::Current(*this));
}
double QV_REALPARAMETER::fv() const {
    return vzt::AsReal(SecondValue(*this));
}

int QV_INTEGERPARAMETER::v() const {
    return vzt::AsInteger(vzt::Current(*this));
}
int QV_INTEGERPARAMETER::fv() const {
    return vzt::AsInteger(SecondValue(*this));
}

const char* QV_STRINGPARAMETER::v() const {
    return vzt::AsText(vzt::Current(*this));
}
const char* QV_STRINGPARAMETER::fv() const {
    return vzt::AsText(SecondValue(*this));
}
QV_STRINGPARAMETER::operator const char*() const {
    return v();
}

bool QV_FalseLOGICALPARAMETER::v() const {
    return vzt::AsInteger(vzt::Current(*this)) != 0;
}
bool QV_FalseLOGICALPARAMETER::fv() const {
    return vzt::AsInteger(SecondValue(*this)) != 0;
}

double QV_REALVARIABLE::v() const {
    return vzt::AsReal(vzt::Current(*this));
}
double QV_REALVARIABLE::fv() const {
    return vzt::AsReal(SecondValue(*this));
}

const QV_SetValue& QV_Set::v() const {
    return vzt::AsSet(vzt::Current(*this));
}
const QV_SetValue& QV_Set::fv() const {
    return vzt::AsSet(SecondValue(*this));
}

// ---- Iterators ----------------------------------------------------------------------------

QV_SetIter::QV_SetIter(const SUValue& set) : m_set(set) {}
QV_SetIter::~QV_SetIter() = default;
bool QV_SetIter::Next() {
    return ++m_pos < int(m_set.Size());
}
int QV_SetIter::Integer() {
    return m_set.Integer(m_pos);
}
const char* QV_SetIter::String() {
    return m_set.String(m_pos);
}

QV_IntegerSetIter::QV_IntegerSetIter(const SUValue& set) : QV_SetIter(set) {}
QV_IntegerSetIter::~QV_IntegerSetIter() = default;
int QV_IntegerSetIter::v() const {
    return m_set.Integer(m_pos);
}
int QV_IntegerSetIter::fv() const {
    // Unsigned, so that a shift that passes the int range wraps rather than overflows.
    return int(unsigned(v()) + unsigned(Second().iteratorShift));
}

QV_StringSetIter::QV_StringSetIter(const SUValue& set) : QV_SetIter(set) {}
QV_StringSetIter::~QV_StringSetIter() = default;
const char* QV_StringSetIter::v() const {
    return m_set.String(m_pos);
}
const char* QV_StringSetIter::fv() const {
    return v();
}
