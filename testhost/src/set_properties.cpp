#include "vuzizev/set_properties.h"

#include <algorithm>

#include "control.h"
#include "vuzizev/matrix.h"

// ---- QV_Set -------------------------------------------------------------------------------

QV_Set::QV_Set(const QV_Set& other) : QV_VarParamProp(other), m_kind(other.m_kind) {}

QV_Set& QV_Set::operator=(const QV_Set& other) {
    QV_VarParamProp::operator=(other);
    return *this;
}

QV_Set::~QV_Set() {
    for (QV_Matrix* dependent : m_dependents) {
        dependent->ForgetDeclaredSet(this);
    }
}

bool QV_Set::Accepts(const QV_Value& value) const {
    if (vzt::Kind(value) != vzt::ValueKind::Set) {
        return false;
    }
    const SUValue::Kind kind = vzt::AsSet(value).kind();
    return vzt::AsSet(value).Type() != vzt::detail::kSetNotHeld &&
           (kind == SUValue::Kind::None || kind == m_kind);
}

QV_Value QV_Set::Converted(const QV_Value& value) const {
    if (vzt::Kind(value) != vzt::ValueKind::Text || m_kind != SUValue::Kind::String) {
        return value;
    }
    QV_StrSetValue members;
    members += vzt::AsText(value);
    return vzt::PlainTag(value) != 0
               ? QV_Value(members, vzt::PlainTag(value))
               : QV_Value(members, vzt::Tag(value).b, vzt::Tag(value).a, vzt::Tag(value).n);
}

void QV_VarParamProp::AddDependent(QV_Matrix* dependent) {
    auto* set = dynamic_cast<QV_Set*>(this);
    if (set == nullptr || dependent == nullptr) {
        return;
    }
    vzt::detail::Record({.kind = vzt::EventKind::AddDependent, .object = set, .owner = dependent});
    std::vector<QV_Matrix*>& dependents = set->m_dependents;
    if (std::find(dependents.begin(), dependents.end(), dependent) == dependents.end()) {
        dependents.push_back(dependent);
    }
}

void QV_Set::RemoveDependent(QV_Matrix* dependent) {
    m_dependents.erase(std::remove(m_dependents.begin(), m_dependents.end(), dependent),
                       m_dependents.end());
}

const QV_Value* QV_Set::Empty() const {
    static const QV_Value emptyIntegers(QV_IntSetValue(), 0u);
    static const QV_Value emptyStrings(QV_StrSetValue(), 0u);
    return m_kind == SUValue::Kind::String ? &emptyStrings : &emptyIntegers;
}

QV_INTEGERSET::QV_INTEGERSET() : QV_Set(SUValue::Kind::Integer) {}
QV_INTEGERSET::~QV_INTEGERSET() = default;
QV_INTEGERSET& QV_INTEGERSET::operator=(const QV_INTEGERSET&) = default;

QV_STRINGSET::QV_STRINGSET(bool) : QV_Set(SUValue::Kind::String) {}
QV_STRINGSET::~QV_STRINGSET() = default;
QV_STRINGSET& QV_STRINGSET::operator=(const QV_STRINGSET&) = default;

// ---- Internal index sets ------------------------------------------------------------------

long QV_Container::InitialiseInternalIndexSet(QV_Set& set, QV_Value* value, int pass) {
    if (value == nullptr) {
        return -1;
    }
    vzt::detail::Record({.kind = vzt::EventKind::InitialiseInternalIndexSet,
                         .object = &set,
                         .owner = this,
                         .a = pass,
                         .b = vzt::Tag(*value).n});
    return set.Initialise(*value) ? 0 : -1;
}
