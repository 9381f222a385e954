// Set properties: parameters whose value is an integer or a string set, and on which
// arrays depend as their declared index sets.
#pragma once

#include <vector>

#include "vuzizev/properties.h"

class QV_Matrix;

class VZ_API QV_Set : public QV_VarParamProp {
public:
    // A copy holds the same value and has no dependents of its own.
    QV_Set(const QV_Set& other);
    QV_Set& operator=(const QV_Set& other);
    // Unlinks every dependent array, which then no longer refers to this set.
    ~QV_Set() override;

    const QV_SetValue& v() const;
    const QV_SetValue& fv() const;

protected:
    explicit QV_Set(SUValue::Kind kind) : m_kind(kind) {}

private:
    friend class QV_Container;    // keeps internal index sets
    friend class QV_VarParamProp; // adds dependents, holds values
    friend class QV_Matrix;       // stops depending on the sets it declared before
    friend class vzt::HostAccess;
    // The arrays that hear of this set (QV_VarParamProp::AddDependent adds one).
    void RemoveDependent(QV_Matrix* dependent);
    const std::vector<QV_Matrix*>& Dependents() const { return m_dependents; }

    // A set value of this set's kind (or of no kind yet).
    bool Accepts(const QV_Value& value) const;
    // A text given to a string set is the set of that one member.
    QV_Value Converted(const QV_Value& value) const;
    // The empty set of this set's kind.
    const QV_Value* Empty() const;
    bool Initialise(const QV_Value& value) { return StoreAssignment(value); }

    SUValue::Kind m_kind;
    std::vector<QV_Matrix*> m_dependents;
};

class VZ_API QV_INTEGERSET : public QV_Set {
public:
    QV_INTEGERSET();
    ~QV_INTEGERSET() override;
    QV_INTEGERSET(const QV_INTEGERSET& other) = default;
    QV_INTEGERSET& operator=(const QV_INTEGERSET& other);
    QV_INTEGERSET& operator*() { return *this; }
};

class VZ_API QV_STRINGSET : public QV_Set {
public:
    explicit QV_STRINGSET(bool init = true);
    ~QV_STRINGSET() override;
    QV_STRINGSET(const QV_STRINGSET& other) = default;
    QV_STRINGSET& operator=(const QV_STRINGSET& other);
    QV_STRINGSET& operator*() { return *this; }
};
