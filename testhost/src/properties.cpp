#include "vuzizev/properties.h"

#include <new>
#include <utility>

#include "control.h"
#include "vuzizev/set_properties.h"

// ---- QV_VarParamProp ----------------------------------------------------------------------

QV_VarParamProp::QV_VarParamProp(const QV_VarParamProp& other)
    : QV_Type(other), m_held(CopyHeld(other.m_held)) {}

QV_VarParamProp& QV_VarParamProp::operator=(const QV_VarParamProp& other) {
    QV_Type::operator=(other);
    if (this != &other) {
        const std::uintptr_t copy = CopyHeld(other.m_held);
        ReleaseHeld();
        m_held = copy;
    }
    return *this;
}

QV_VarParamProp::~QV_VarParamProp() {
    ReleaseHeld();
}

namespace {

int ValueCount(std::uintptr_t held, std::uintptr_t withUserValue) {
    return (held & withUserValue) != 0 ? 2 : 1;
}

// count values on a block of the host's allocator, copied from values when given, else
// empty; null when memory runs out.
QV_Value* NewValues(int count, const QV_Value* values) {
    auto* block = static_cast<QV_Value*>(MyAllocate(sizeof(QV_Value) * std::size_t(count)));
    for (int k = 0; block != nullptr && k < count; ++k) {
        if (values != nullptr) {
            new (block + k) QV_Value(values[k]);
        } else {
            new (block + k) QV_Value;
        }
    }
    return block;
}

void DeleteValues(QV_Value* block, int count) {
    for (int k = 0; k < count; ++k) {
        block[k].~QV_Value();
    }
    MyFree(block);
}

} // namespace

std::uintptr_t QV_VarParamProp::CopyHeld(std::uintptr_t held) {
    if (held == 0) {
        return 0;
    }
    const int count = ValueCount(held, kWithUserValue);
    QV_Value* copy = NewValues(count, reinterpret_cast<const QV_Value*>(held & ~kWithUserValue));
    return copy == nullptr ? 0 : reinterpret_cast<std::uintptr_t>(copy) | (held & kWithUserValue);
}

void QV_VarParamProp::ReleaseHeld() {
    if (m_held != 0) {
        DeleteValues(Assigned(), ValueCount(m_held, kWithUserValue));
        m_held = 0;
    }
}

bool QV_VarParamProp::MakeRoom(bool withUserValue) {
    if (m_held != 0 && (UserValue() != nullptr || !withUserValue)) {
        return true;
    }
    QV_Value* block = NewValues(withUserValue ? 2 : 1, nullptr);
    if (block == nullptr) {
        return false;
    }
    if (m_held != 0) {
        block[0] = std::move(*Assigned());
        ReleaseHeld();
    }
    m_held = reinterpret_cast<std::uintptr_t>(block) | (withUserValue ? kWithUserValue : 0);
    return true;
}

QV_AssignStatus QV_VarParamProp::Assign(QV_Value* value) {
    if (value == nullptr) {
        return -1;
    }
    if (vzt::detail::JournalOn()) {
        vzt::detail::Record({.kind = vzt::EventKind::Assign,
                             .object = this,
                             .a = vzt::Tag(*value).a,
                             .b = vzt::Tag(*value).b});
    }
    return StoreAssignment(*value) ? 0 : -1;
}

// Every property holds any value, but a set, which holds set values of its kind. An empty
// value (one whose contents could not be made) is held by none.
bool QV_VarParamProp::Holds(const QV_Value& value, QV_Value& held) const {
    if (value.IsEmpty()) {
        return false;
    }
    if (const auto* set = dynamic_cast<const QV_Set*>(this)) {
        held = set->Converted(value);
        return set->Accepts(held);
    }
    held = value;
    return true;
}

// The type's default: a parameter's default value, a set's empty set.
const QV_Value* QV_VarParamProp::DefaultValueInForce() const {
    if (const auto* real = dynamic_cast<const QV_REALPARAMETER*>(this)) {
        return real->QV_DefaultVALUE();
    }
    if (const auto* integer = dynamic_cast<const QV_INTEGERPARAMETER*>(this)) {
        return integer->QV_DefaultVALUE();
    }
    if (const auto* text = dynamic_cast<const QV_STRINGPARAMETER*>(this)) {
        return text->QV_DefaultVALUE();
    }
    if (const auto* set = dynamic_cast<const QV_Set*>(this)) {
        return set->Empty();
    }
    return nullptr;
}

bool QV_VarParamProp::StoreAssignment(const QV_Value& value) {
    QV_Value held;
    if (!Holds(value, held)) {
        return false;
    }
    if (!MakeRoom(false)) {
        return false;
    }
    *Assigned() = std::move(held);
    return true;
}

bool QV_VarParamProp::Specify(const QV_Value& value) {
    QV_Value held;
    if (!Holds(value, held)) {
        return false;
    }
    if (!MakeRoom(true)) {
        return false;
    }
    *UserValue() = std::move(held);
    return true;
}

void QV_VarParamProp::Unspecify() {
    if (QV_Value* user = UserValue()) {
        *user = QV_Value();
    }
}

const QV_Value& QV_VarParamProp::LastAssignment() const {
    static const QV_Value none{};
    return m_held != 0 ? *Assigned() : none;
}

// ---- QV_VarParam --------------------------------------------------------------------------

QV_VarParam::~QV_VarParam() = default;
int QV_VarParam::CurrSpec() const {
    return IsDefaultAssignment() ? 0 : 1;
}
int QV_VarParam::QV_PQCol() const {
    return 0;
}
int QV_VarParam::QV_PQRow() const {
    return 0;
}
bool QV_VarParam::IsDerivative() const {
    return false;
}

// ---- Parameters ---------------------------------------------------------------------------
// The host's own identities differ from every identity of the type library.

QV_REALPARAMETER::QV_REALPARAMETER(bool init) {
    if (init) {
        InitializeSystemAttributes();
    }
}
QV_REALPARAMETER::~QV_REALPARAMETER() = default;
QV_REALPARAMETER& QV_REALPARAMETER::operator=(const QV_REALPARAMETER&) = default;
const char* QV_REALPARAMETER::QV_ContainerId() {
    return "Parameter REAL\tVZ";
}
void QV_REALPARAMETER::InitializeSystemAttributes() {}
QV_Value* QV_REALPARAMETER::QV_DefaultVALUE() const {
    static QV_Value zero(0.0, 0u);
    return &zero;
}
QV_Value* QV_REALPARAMETER::QV_DefaultLOWER() const {
    return nullptr;
}
QV_Value* QV_REALPARAMETER::QV_DefaultPHYSICALQUANTITY() const {
    return nullptr;
}
QV_Value* QV_REALPARAMETER::QV_DefaultBASEUOMNAME() const {
    return nullptr;
}
QV_Value* QV_REALPARAMETER::QV_DefaultTAG() const {
    return nullptr;
}
QV_Value* QV_REALPARAMETER::QV_DefaultUNITS() const {
    return nullptr;
}
QV_Value* QV_REALPARAMETER::QV_DefaultUPPER() const {
    return nullptr;
}
QV_Value* QV_REALPARAMETER::QV_DefaultINTEGERPHYSICALQUANTITY() const {
    return nullptr;
}

QV_INTEGERPARAMETER::QV_INTEGERPARAMETER(bool init) {
    if (init) {
        InitializeSystemAttributes();
    }
}
QV_INTEGERPARAMETER::~QV_INTEGERPARAMETER() = default;
QV_INTEGERPARAMETER& QV_INTEGERPARAMETER::operator=(const QV_INTEGERPARAMETER&) = default;
const char* QV_INTEGERPARAMETER::QV_ContainerId() {
    return "Parameter INTEGER\tVZ";
}
void QV_INTEGERPARAMETER::InitializeSystemAttributes() {}
QV_Value* QV_INTEGERPARAMETER::QV_DefaultVALUE() const {
    static QV_Value zero(0, 0u);
    return &zero;
}
QV_Value* QV_INTEGERPARAMETER::QV_DefaultLOWER() const {
    return nullptr;
}
QV_Value* QV_INTEGERPARAMETER::QV_DefaultTAG() const {
    return nullptr;
}
QV_Value* QV_INTEGERPARAMETER::QV_DefaultUPPER() const {
    return nullptr;
}

QV_STRINGPARAMETER::QV_STRINGPARAMETER(bool init) {
    if (init) {
        InitializeSystemAttributes();
    }
}
QV_STRINGPARAMETER::~QV_STRINGPARAMETER() = default;
QV_STRINGPARAMETER& QV_STRINGPARAMETER::operator=(const QV_STRINGPARAMETER&) = default;
const char* QV_STRINGPARAMETER::QV_ContainerId() {
    return "Parameter STRING\tVZ";
}
void QV_STRINGPARAMETER::InitializeSystemAttributes() {}
QV_Value* QV_STRINGPARAMETER::QV_DefaultVALUE() const {
    static QV_Value empty("", 0u);
    return &empty;
}
QV_Value* QV_STRINGPARAMETER::QV_DefaultTAG() const {
    return nullptr;
}
QV_Value* QV_STRINGPARAMETER::QV_DefaultVALID() const {
    return nullptr;
}
QV_Value* QV_STRINGPARAMETER::QV_VALIDValue() const {
    return nullptr;
}

QV_FalseLOGICALPARAMETER::QV_FalseLOGICALPARAMETER(bool) {}
QV_FalseLOGICALPARAMETER::~QV_FalseLOGICALPARAMETER() = default;
QV_FalseLOGICALPARAMETER&
QV_FalseLOGICALPARAMETER::operator=(const QV_FalseLOGICALPARAMETER&) = default;

QV_COMPONENTLISTNAME::QV_COMPONENTLISTNAME() = default;
QV_COMPONENTLISTNAME::~QV_COMPONENTLISTNAME() = default;
QV_COMPONENTLISTNAME& QV_COMPONENTLISTNAME::operator=(const QV_COMPONENTLISTNAME&) = default;

// ---- Variables ----------------------------------------------------------------------------

QV_REALVARIABLE::QV_REALVARIABLE(bool) {}
QV_REALVARIABLE::~QV_REALVARIABLE() = default;
QV_REALVARIABLE& QV_REALVARIABLE::operator=(const QV_REALVARIABLE&) = default;
const char* QV_REALVARIABLE::QV_ContainerId() {
    return "Variable REAL\tVZ";
}

QV_PARTIALDERIVATIVE::QV_PARTIALDERIVATIVE(bool init) : QV_REALVARIABLE(init) {}
QV_PARTIALDERIVATIVE::~QV_PARTIALDERIVATIVE() = default;
QV_PARTIALDERIVATIVE& QV_PARTIALDERIVATIVE::operator=(const QV_PARTIALDERIVATIVE&) = default;
const char* QV_PARTIALDERIVATIVE::QV_ContainerId() {
    return "Variable PARTIALDERIVATIVE\tVZ";
}
