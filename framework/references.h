// References to objects a type does not own: QV_External<T> (linked by the host),
// QV_Virtual<T> (a string parameter naming its object) and QV_GLOBALSTRUCTUREREFNAME<T>
// (a structure by name). Linking and resolving are the host's; these add the type.
//
// Every member is defined out of the class body, so that an explicit instantiation exports
// the instance whole. The host supplies QV_Virtual<QV_REALPARAMETER> and
// QV_External<QV_INTEGERPARAMETER> itself (declared in its headers); the library defines
// every other instance it names.
#pragma once

#include <vuzizev/vuzizev.h>

#include "framework/api.h"
#include "framework/checked.h"
#include "framework/defaults.h"

template <class T>
class PELLORIN_API QV_External : public QV_ExternalBase {
public:
    QV_External();
    QV_External(const QV_External& other);
    ~QV_External() override;
    QV_External& operator=(const QV_External& other);

    // The linked object; null while unlinked or when the host linked something not a T.
    T* get() const;
    // The linked object; dereferencing an unlinked reference fails the step (Deref).
    T& operator*();

    const char* ExternalTypeName() override;
};

template <class T>
class PELLORIN_API QV_Virtual : public QV_VirtualBase {
public:
    // A complete string parameter from the start, so the host can assign its name.
    QV_Virtual();
    QV_Virtual(const QV_Virtual&) = delete;
    ~QV_Virtual() override;
    QV_Virtual& operator=(const QV_Virtual& other);

    // The object the name resolved to; null while unresolved or when it is not a T.
    T* get() const;
    T& operator*();

    // A new default T, owned by the caller; null when the allocator fails.
    QV_Type* NewDefaultVirtual() override;
    const char* VirtualBaseType() override;
};

template <class T>
class PELLORIN_API QV_GLOBALSTRUCTUREREFNAME : public QV_GlobalStructureRefBase {
public:
    QV_GLOBALSTRUCTUREREFNAME();
    ~QV_GLOBALSTRUCTUREREFNAME() override;
    QV_GLOBALSTRUCTUREREFNAME& operator=(const QV_GLOBALSTRUCTUREREFNAME& other);

    T* get() const;
    T& operator*();
    operator T&();

    // A placeholder structure, owned by the caller; null when the allocator fails.
    QV_ModelType* CreateDummyInstance() override;
    // Whether model is a T or derives from one; false for no model.
    bool CheckCompatibleStructureType(QV_ModelType* model) override;
};

namespace pellorin {

// The object a reference stands for; null while it is unlinked or not a T. Serves the
// host's own instances as well as the library's.
template <class T>
T* Linked(QV_External<T>& reference) {
    return dynamic_cast<T*>(reference.ExternalLink());
}
template <class T>
T* Linked(QV_Virtual<T>& reference) {
    return dynamic_cast<T*>(reference.VirtualLink());
}

} // namespace pellorin

// ---- QV_External<T> -------------------------------------------------------------------------

template <class T>
QV_External<T>::QV_External() : QV_ExternalBase(nullptr) {}
template <class T>
QV_External<T>::QV_External(const QV_External& other) : QV_ExternalBase(other) {}
template <class T>
QV_External<T>::~QV_External() {}
template <class T>
QV_External<T>& QV_External<T>::operator=(const QV_External& other) {
    QV_ExternalBase::operator=(other);
    return *this;
}
template <class T>
T* QV_External<T>::get() const {
    return dynamic_cast<T*>(ExternalLink());
}
template <class T>
T& QV_External<T>::operator*() {
    return pellorin::Deref(get());
}
template <class T>
const char* QV_External<T>::ExternalTypeName() {
    return pellorin::ReferenceIdentity<T>();
}

// ---- QV_Virtual<T> --------------------------------------------------------------------------

template <class T>
QV_Virtual<T>::QV_Virtual() : QV_VirtualBase(nullptr) {
    InitializeSystemAttributes();
}
template <class T>
QV_Virtual<T>::~QV_Virtual() {}
template <class T>
QV_Virtual<T>& QV_Virtual<T>::operator=(const QV_Virtual& other) {
    QV_VirtualBase::operator=(other);
    return *this;
}
template <class T>
T* QV_Virtual<T>::get() const {
    return dynamic_cast<T*>(VirtualLink());
}
template <class T>
T& QV_Virtual<T>::operator*() {
    return pellorin::Deref(get());
}
template <class T>
QV_Type* QV_Virtual<T>::NewDefaultVirtual() {
    return pellorin::MakeDefault<T>();
}
template <class T>
const char* QV_Virtual<T>::VirtualBaseType() {
    return pellorin::ReferenceIdentity<T>();
}

// ---- QV_GLOBALSTRUCTUREREFNAME<T> -----------------------------------------------------------

template <class T>
QV_GLOBALSTRUCTUREREFNAME<T>::QV_GLOBALSTRUCTUREREFNAME() : QV_GlobalStructureRefBase(nullptr) {}
template <class T>
QV_GLOBALSTRUCTUREREFNAME<T>::~QV_GLOBALSTRUCTUREREFNAME() {}
template <class T>
QV_GLOBALSTRUCTUREREFNAME<T>&
QV_GLOBALSTRUCTUREREFNAME<T>::operator=(const QV_GLOBALSTRUCTUREREFNAME& other) {
    QV_GlobalStructureRefBase::operator=(other);
    return *this;
}
template <class T>
T* QV_GLOBALSTRUCTUREREFNAME<T>::get() const {
    return dynamic_cast<T*>(Dereference());
}
template <class T>
T& QV_GLOBALSTRUCTUREREFNAME<T>::operator*() {
    return pellorin::Deref(get());
}
template <class T>
QV_GLOBALSTRUCTUREREFNAME<T>::operator T&() {
    return **this;
}
template <class T>
QV_ModelType* QV_GLOBALSTRUCTUREREFNAME<T>::CreateDummyInstance() {
    return pellorin::MakeDefault<T>();
}
template <class T>
bool QV_GLOBALSTRUCTUREREFNAME<T>::CheckCompatibleStructureType(QV_ModelType* model) {
    return model != nullptr && model->ContainerDerivesFrom(T::QV_ContainerId());
}

// Instantiates and exports both references to one type (which may contain commas).
#define PELLORIN_REFERENCE_INSTANCES(...)                                                          \
    template class QV_External<__VA_ARGS__>;                                                       \
    template class QV_Virtual<__VA_ARGS__>;
