// References to objects a type does not own: QV_External<T> (linked by the host),
// QV_Virtual<T> (a string parameter naming its object) and QV_GLOBALSTRUCTUREREFNAME<T>
// (a structure by name). Linking and resolving are the host's; these add the type.
#pragma once

#include "framework/api.h"
#include "framework/checked.h"
#include "framework/defaults.h"

template <class T>
class PELLORIN_API QV_External : public QV_ExternalBase {
public:
    QV_External() : QV_ExternalBase(nullptr) {}
    QV_External(const QV_External& other) : QV_ExternalBase(other) {}
    ~QV_External() override {}
    QV_External& operator=(const QV_External& other) {
        QV_ExternalBase::operator=(other);
        return *this;
    }

    // The linked object; null while unlinked or when the host linked something not a T.
    T* get() const { return dynamic_cast<T*>(ExternalLink()); }
    // The linked object; dereferencing an unlinked reference fails clearly (Deref).
    T& operator*() const { return pellorin::Deref(get(), "QV_External: not linked"); }

    const char* ExternalTypeName() override { return pellorin::ReferenceIdentity<T>(); }
};

template <class T>
class PELLORIN_API QV_Virtual : public QV_VirtualBase {
public:
    // A complete string parameter from the start, so the host can assign its name.
    QV_Virtual() : QV_VirtualBase(nullptr) { InitializeSystemAttributes(); }
    QV_Virtual(const QV_Virtual&) = delete;
    ~QV_Virtual() override {}
    QV_Virtual& operator=(const QV_Virtual& other) {
        QV_VirtualBase::operator=(other);
        return *this;
    }

    // The object the name resolved to; null while unresolved or when it is not a T.
    T* get() const { return dynamic_cast<T*>(VirtualLink()); }
    T& operator*() const { return pellorin::Deref(get(), "QV_Virtual: not resolved"); }

    // A new default T, owned by the caller; null when the allocator fails.
    QV_Type* NewDefaultVirtual() override { return pellorin::MakeDefault<T>(); }
    const char* VirtualBaseType() override { return pellorin::ReferenceIdentity<T>(); }
};

template <class T>
class PELLORIN_API QV_GLOBALSTRUCTUREREFNAME : public QV_GlobalStructureRefBase {
public:
    QV_GLOBALSTRUCTUREREFNAME() : QV_GlobalStructureRefBase(nullptr) {}
    ~QV_GLOBALSTRUCTUREREFNAME() override {}
    QV_GLOBALSTRUCTUREREFNAME& operator=(const QV_GLOBALSTRUCTUREREFNAME& other) {
        QV_GlobalStructureRefBase::operator=(other);
        return *this;
    }

    T* get() const { return dynamic_cast<T*>(Dereference()); }
    T& operator*() const { return pellorin::Deref(get(), "structure reference not resolved"); }
    operator T&() const { return **this; }

    // A placeholder structure, owned by the caller; null when the allocator fails.
    QV_ModelType* CreateDummyInstance() override { return pellorin::MakeDefault<T>(); }
    // Whether model is a T or derives from one; false for no model.
    bool CheckCompatibleStructureType(QV_ModelType* model) override {
        return model != nullptr && model->ContainerDerivesFrom(T::QV_ContainerId());
    }
};

// Instantiates and exports both references to one type (which may contain commas).
#define PELLORIN_REFERENCE_INSTANCES(...)                                                          \
    template class QV_External<__VA_ARGS__>;                                                       \
    template class QV_Virtual<__VA_ARGS__>;
