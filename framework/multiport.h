// A multiport: one port that stands for any number of connections of port type T, holding
// one connection port per connection name in its CONNECTION array. It counts as a port
// itself and comes first when its ports are walked. Every member is defined out of the class
// body, so that an explicit instantiation exports the instance whole.
#pragma once

#include <climits>

#include "framework/api.h"
#include "framework/arrays.h"
#include "framework/assign.h"

template <class T>
class PELLORIN_API QV_MULTIPORT : public QV_MULTIPORT_BaseType {
public:
    // Registers CONNECTION with the multiport and binds it to the connection names.
    QV_MULTIPORT();
    QV_MULTIPORT(const QV_MULTIPORT&) = delete;
    // The base's assignment, then the array's; the array stays bound to this multiport's
    // own connection names.
    QV_MULTIPORT& operator=(const QV_MULTIPORT& other);
    ~QV_MULTIPORT() override;

    QV_MULTIPORT& operator*();

    void DumpStructure() override;
    int PortCount(bool) const override;
    QV_Type* GetPort(int& counter, bool) override;

    // Adds name to the connection names and returns its connection port, made now when the
    // name is new. Null, with nothing changed, for a null or empty name; null when the
    // host refuses the extended names or the port cannot be made.
    QV_PortType* CreateConnectionPort(const char* name, unsigned int tag) override;

    // The connection port of a name among the connection names; null for any other name,
    // and nothing is made for it.
    QV_PortType* FindConnectionPort(const char* name) override;

    QV_ARRAY_S<T, T> CONNECTION;

private:
    void BindConnections();
};

template <class T>
QV_MULTIPORT<T>::QV_MULTIPORT() {
    CONNECTION.AddProperty(this, "CONNECTION", "Active Multiport connections", QV_DirectionNone,
                           false);
    BindConnections();
}
template <class T>
QV_MULTIPORT<T>& QV_MULTIPORT<T>::operator=(const QV_MULTIPORT& other) {
    QV_MULTIPORT_BaseType::operator=(other);
    CONNECTION = other.CONNECTION;
    BindConnections();
    return *this;
}
template <class T>
QV_MULTIPORT<T>::~QV_MULTIPORT() {}
template <class T>
QV_MULTIPORT<T>& QV_MULTIPORT<T>::operator*() {
    return *this;
}
template <class T>
void QV_MULTIPORT<T>::DumpStructure() {
    QV_PortType::DumpStructure();
}
template <class T>
int QV_MULTIPORT<T>::PortCount(bool) const {
    return CONNECTION.PortCount(false) + 1;
}
template <class T>
QV_Type* QV_MULTIPORT<T>::GetPort(int& counter, bool) {
    if (counter > INT_MIN) {
        --counter;
    }
    return counter < 0 ? this : CONNECTION.GetPort(counter, false);
}
template <class T>
QV_PortType* QV_MULTIPORT<T>::CreateConnectionPort(const char* name, unsigned int tag) {
    if (name == nullptr || *name == 0) {
        return nullptr;
    }
    CONNECTION.SetDirection(Direction());
    if (IsToBeExported()) {
        CONNECTION.HostPortType(QV_PortType::HostPortType());
    } else {
        CONNECTION.UnsetIsToBeExported();
    }
    QV_StrSetValue names(ConnectionNames().v());
    names += name;
    if (pellorin::Assign(ConnectionNames(), QV_Value(names, tag)) != 0) {
        return nullptr;
    }
    return FindConnectionPort(name);
}
template <class T>
QV_PortType* QV_MULTIPORT<T>::FindConnectionPort(const char* name) {
    if (name == nullptr || !(ConnectionNames().v() >= name)) {
        return nullptr;
    }
    return CONNECTION.Get(name);
}
template <class T>
void QV_MULTIPORT<T>::BindConnections() {
    CONNECTION.SetDim(ConnectionNames());
}
