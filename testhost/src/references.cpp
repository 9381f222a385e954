#include "vuzizev/references.h"

#include <new>
#include <stdexcept>

#include "control.h"
#include "standin/host_access.h"

// ---- QV_ExternalBase ----------------------------------------------------------------------

QV_ExternalBase::QV_ExternalBase(QV_Containable* link) : m_link(link) {}

QV_ExternalBase::QV_ExternalBase(const QV_ExternalBase& other)
    : QV_Containable(other), m_link(other.m_link) {}

QV_ExternalBase& QV_ExternalBase::operator=(const QV_ExternalBase& other) {
    QV_Containable::operator=(other);
    m_link = other.m_link;
    return *this;
}

QV_ExternalBase::~QV_ExternalBase() = default;

QV_Containable* QV_ExternalBase::ExternalLink() const {
    return m_link;
}

QV_ExternalBase* QV_ExternalBase::AddProperty(QV_Containable* owner, const char* name,
                                              const char* description, QV_Direction direction,
                                              bool flag) {
    Register(int(QV_RegistrationFlavour::External), dynamic_cast<QV_Container*>(owner), name,
             description, direction, flag);
    return this;
}

// ---- QV_VirtualBase -----------------------------------------------------------------------

QV_VirtualBase::QV_VirtualBase(QV_Type* link) : QV_STRINGPARAMETER(false), m_link(link) {}

QV_VirtualBase& QV_VirtualBase::operator=(const QV_VirtualBase& other) {
    if (this != &other) {
        QV_STRINGPARAMETER::operator=(other);
        vzt::HostAccess::Resolve(*this, other.m_link);
    }
    return *this;
}

QV_VirtualBase::~QV_VirtualBase() {
    vzt::detail::Destroy(m_ownedDefault);
}

QV_Type* QV_VirtualBase::AddProperty(QV_Containable* owner, const char* name,
                                     const char* description, QV_Direction direction, bool flag) {
    Register(int(QV_RegistrationFlavour::Virtual), dynamic_cast<QV_Container*>(owner), name,
             description, direction, flag);
    return this;
}

QV_Type* QV_VirtualBase::VirtualLink() const {
    return m_link != nullptr
               ? m_link
               : vzt::HostAccess::ResolveToDefault(const_cast<QV_VirtualBase&>(*this));
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

QV_ModelType* QV_GlobalStructureRefBase::Dereference() const {
    return m_link;
}

bool QV_GlobalStructureRefBase::IsResolved() const {
    return m_link != nullptr;
}

// ---- The two reference instances the host supplies -------------------------------------------

namespace {

template <class T>
T& Linked(T* object, const char* what) {
    if (object == nullptr) {
        throw std::logic_error(what);
    }
    return *object;
}

} // namespace

QV_Virtual<QV_REALPARAMETER>::QV_Virtual() : QV_VirtualBase(nullptr) {
    InitializeSystemAttributes();
}
QV_Virtual<QV_REALPARAMETER>::~QV_Virtual() = default;
QV_Virtual<QV_REALPARAMETER>& QV_Virtual<QV_REALPARAMETER>::operator=(const QV_Virtual& other) {
    QV_VirtualBase::operator=(other);
    return *this;
}
QV_REALPARAMETER& QV_Virtual<QV_REALPARAMETER>::operator*() {
    return Linked(dynamic_cast<QV_REALPARAMETER*>(VirtualLink()), "QV_Virtual: not resolved");
}
QV_Type* QV_Virtual<QV_REALPARAMETER>::NewDefaultVirtual() {
    // The default object lives in the host's heap, from which its release frees it.
    void* block = MyAllocate(sizeof(QV_REALPARAMETER));
    return block != nullptr ? ::new (block) QV_REALPARAMETER(true) : nullptr;
}
const char* QV_Virtual<QV_REALPARAMETER>::VirtualBaseType() {
    return QV_REALPARAMETER::QV_ContainerId();
}

QV_External<QV_INTEGERPARAMETER>::QV_External() : QV_ExternalBase(nullptr) {}
QV_External<QV_INTEGERPARAMETER>::QV_External(const QV_External& other) = default;
QV_External<QV_INTEGERPARAMETER>::~QV_External() = default;
QV_External<QV_INTEGERPARAMETER>&
QV_External<QV_INTEGERPARAMETER>::operator=(const QV_External& other) = default;
QV_INTEGERPARAMETER& QV_External<QV_INTEGERPARAMETER>::operator*() {
    return Linked(dynamic_cast<QV_INTEGERPARAMETER*>(ExternalLink()), "QV_External: not linked");
}
const char* QV_External<QV_INTEGERPARAMETER>::ExternalTypeName() {
    return QV_INTEGERPARAMETER::QV_ContainerId();
}
