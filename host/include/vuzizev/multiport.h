// The multiport base: a port that stands for any number of connections, one connection
// port per connection name.
#pragma once

#include "vuzizev/model.h"
#include "vuzizev/set_properties.h"

class VZ_API QV_MULTIPORT_BaseType : public QV_PortType {
public:
    QV_MULTIPORT_BaseType();
    // A copy has the same connection names and no connection ports of its own.
    QV_MULTIPORT_BaseType(const QV_MULTIPORT_BaseType& other);
    QV_MULTIPORT_BaseType& operator=(const QV_MULTIPORT_BaseType& other);
    ~QV_MULTIPORT_BaseType() override;

    static const char* QV_ContainerId();
    const char* QV_DefaultDESCRIPTION() const override;
    bool ContainerDerivesFrom(const char* id) override;

    // The names of the connections, one connection port each.
    QV_STRINGSET& ConnectionNames() { return m_connectionNames; }
    const QV_STRINGSET& ConnectionNames() const { return m_connectionNames; }

    // Makes the connection port for a new name (tag: the unsigned tag of the assigned
    // name set); null when it cannot be made.
    virtual QV_PortType* CreateConnectionPort(const char* name, unsigned int tag) = 0;
    // The connection port of a known name; null for any other name.
    virtual QV_PortType* FindConnectionPort(const char* name) = 0;

    // Connects under name: its connection port, made when the name is new; null when it
    // cannot be made.
    virtual QV_PortType* Connect(const char* name);
    // Drops name from the connection names; false when it was not one of them.
    virtual bool Disconnect(const char* name);

private:
    QV_STRINGSET m_connectionNames{true};
};
