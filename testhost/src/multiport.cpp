#include "vuzizev/multiport.h"

#include <cstring>

QV_MULTIPORT_BaseType::QV_MULTIPORT_BaseType() = default;
QV_MULTIPORT_BaseType::QV_MULTIPORT_BaseType(const QV_MULTIPORT_BaseType& other) = default;
QV_MULTIPORT_BaseType&
QV_MULTIPORT_BaseType::operator=(const QV_MULTIPORT_BaseType& other) = default;
QV_MULTIPORT_BaseType::~QV_MULTIPORT_BaseType() = default;

const char* QV_MULTIPORT_BaseType::QV_ContainerId() {
    return "Port MULTIPORT\tVZ";
}

const char* QV_MULTIPORT_BaseType::QV_DefaultDESCRIPTION() const {
    return QV_ContainerId();
}

bool QV_MULTIPORT_BaseType::ContainerDerivesFrom(const char* id) {
    return id != nullptr && SUValue::CompareCI(QV_ContainerId(), id) == 0;
}

QV_PortType* QV_MULTIPORT_BaseType::Connect(const char* name) {
    if (QV_PortType* port = FindConnectionPort(name)) {
        return port;
    }
    return CreateConnectionPort(name, 0);
}

bool QV_MULTIPORT_BaseType::Disconnect(const char* name) {
    const QV_SetValue& names = m_connectionNames.v();
    if (name == nullptr || !(names >= name)) {
        return false;
    }
    QV_StrSetValue rest;
    for (int pos = 0; pos < int(names.Size()); ++pos) {
        if (std::strcmp(names.String(pos), name) != 0) {
            rest += names.String(pos);
        }
    }
    QV_Value remaining(rest, 0u);
    return m_connectionNames.Assign(&remaining) == 0;
}
