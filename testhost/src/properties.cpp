#include "vuzizev/properties.h"

#include <utility>

#include "control.h"
#include "vuzizev/set_properties.h"

// ---- QV_VarParamProp ----------------------------------------------------------------------

QV_VarParamProp::QV_VarParamProp(const QV_VarParamProp& other)
    : QV_Type(other),
      m_held(other.m_held != nullptr ? new (std::nothrow) Held(*other.m_held) : nullptr) {}

QV_VarParamProp& QV_VarParamProp::operator=(const QV_VarParamProp& other) {
    QV_Type::operator=(other);
    if (this != &other) {
        Held* copy = other.m_held != nullptr ? new (std::nothrow) Held(*other.m_held) : nullptr;
        delete m_held;
        m_held = copy;
    }
    return *this;
}

QV_VarParamProp::~QV_VarParamProp() {
    delete m_held;
}

QV_VarParamProp::Specified::Specified(const Specified& other)
    : m_value(other.m_value != nullptr ? std::make_unique<QV_Value>(*other.m_value) : nullptr) {}

QV_VarParamProp::Specified& QV_VarParamProp::Specified::operator=(const Specified& other) {
    if (this != &other) {
        m_value = other.m_value != nullptr ? std::make_unique<QV_Value>(*other.m_value) : nullptr;
    }
    return *this;
}

const QV_Value& QV_VarParamProp::Specified::Get() const {
    static const QV_Value none;
    return m_value != nullptr ? *m_value : none;
}

void QV_VarParamProp::Specified::Set(QV_Value value) {
    if (m_value == nullptr) {
        m_value = std::make_unique<QV_Value>(std::move(value));
    } else {
        *m_value = std::move(value);
    }
}

void* QV_VarParamProp::Held::operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return MyAllocate(size);
}

void QV_VarParamProp::Held::operator delete(void* block) noexcept {
    MyFree(block);
}

void QV_VarParamProp::Held::operator delete(void* block, const std::nothrow_t&) noexcept {
    MyFree(block);
}

QV_VarParamProp::Held* QV_VarParamProp::HeldValues() {
    if (m_held == nullptr) {
        m_held = new (std::nothrow) Held;
    }
    return m_held;
}

QV_AssignStatus QV_VarParamProp::Assign(QV_Value* value) {
    if (value == nullptr) {
        return -1;
    }
    if (vzt::detail::JournalOn()) {
        vzt::detail::Record({.kind = vzt::EventKind::Assign,
                             .object = this,
                             .a = value->tag().a,
                             .b = value->tag().b});
    }
    return StoreAssignment(*value) ? 0 : -1;
}

// Every property holds any value, but a set, which holds set values of its kind.
bool QV_VarParamProp::Holds(const QV_Value& value, QV_Value& held) const {
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
    Held* values = HeldValues();
    if (values == nullptr) {
        return false;
    }
    values->assigned = std::move(held);
    return true;
}

bool QV_VarParamProp::Specify(const QV_Value& value) {
    QV_Value held;
    if (!Holds(value, held)) {
        return false;
    }
    Held* values = HeldValues();
    if (values == nullptr) {
        return false;
    }
    values->specified.Set(std::move(held));
    return true;
}

void QV_VarParamProp::Unspecify() {
    if (m_held != nullptr) {
        m_held->specified.Clear();
    }
}

const QV_Value& QV_VarParamProp::LastAssignment() const {
    static const QV_Value none;
    return m_held != nullptr ? m_held->assigned : none;
}

// ---- QV_VarParam --------------------------------------------------------------------------

QV_VarParam::~QV_VarParam() = default;
int QV_VarParam::QV_PQCol() const {
    return 0;
}
int QV_VarParam::QV_PQRow() const {
    return 0;
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
