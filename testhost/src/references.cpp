#include "vuzizev/references.h"

#include "control.h"

// ---- QV_ExternalBase ----------------------------------------------------------------------

QV_ExternalBase::QV_ExternalBase(const QV_ExternalBase& other)
    : QV_Containable(other), m_link(other.m_link) {}

QV_ExternalBase& QV_ExternalBase::operator=(const QV_ExternalBase& other) {
    QV_Containable::operator=(other);
    m_link = other.m_link;
    return *this;
}

QV_ExternalBase::~QV_ExternalBase() = default;

QV_ExternalBase* QV_ExternalBase::AddProperty(QV_Containable* owner, const char* name,
                                              const char* description, QV_Direction direction,
                                              bool flag) {
    Register(QV_RegistrationFlavour::External, dynamic_cast<QV_Container*>(owner), name,
             description, direction, flag);
    return this;
}

// ---- QV_VirtualBase -----------------------------------------------------------------------

QV_VirtualBase::QV_VirtualBase(QV_Type* link) : QV_STRINGPARAMETER(false), m_link(link) {}

QV_VirtualBase& QV_VirtualBase::operator=(const QV_VirtualBase& other) {
    if (this != &other) {
        QV_STRINGPARAMETER::operator=(other);
        Resolve(other.m_link);
    }
    return *this;
}

QV_VirtualBase::~QV_VirtualBase() {
    vzt::detail::Destroy(m_ownedDefault);
}

QV_Type* QV_VirtualBase::AddProperty(QV_Containable* owner, const char* name,
                                     const char* description, QV_Direction direction, bool flag) {
    Register(QV_RegistrationFlavour::Virtual, dynamic_cast<QV_Container*>(owner), name, description,
             direction, flag);
    return this;
}

void QV_VirtualBase::Resolve(QV_Type* target) {
    if (target != m_ownedDefault) {
        vzt::detail::Destroy(m_ownedDefault);
        m_ownedDefault = nullptr;
    }
    m_link = target;
}

QV_Type* QV_VirtualBase::VirtualLink() const {
    return m_link != nullptr ? m_link : const_cast<QV_VirtualBase*>(this)->ResolveToDefault();
}

QV_Type* QV_VirtualBase::ResolveToDefault() {
    if (m_link == nullptr) {
        m_link = NewDefaultVirtual();
        m_ownedDefault = m_link;
    }
    return m_link;
}

// ---- QV_GlobalStructureRefBase ------------------------------------------------------------

QV_GlobalStructureRefBase::QV_GlobalStructureRefBase(QV_ModelType* link)
    : QV_STRINGPARAMETER(false), m_link(link) {}

QV_GlobalStructureRefBase&
QV_GlobalStructureRefBase::operator=(const QV_GlobalStructureRefBase& other) {
    QV_STRINGPARAMETER::operator=(other);
    m_link = other.m_link;
    return *this;
}

QV_GlobalStructureRefBase::~QV_GlobalStructureRefBase() = default;
