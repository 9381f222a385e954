#include "types/generic/ports.h"

template class QV_TypeFrame<QV_CONTROLPORT, QV_PortTypeEx>;
template class QV_TypeFrame<QV_CONNECTIONPORT, QV_PortTypeEx>;
template class QV_TypeFrame<QV_GENERICPORT, QV_PortTypeEx>;

QV_CONTROLPORT::QV_CONTROLPORT(bool construct, QV_Container* parent) : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_CONTROLPORT::~QV_CONTROLPORT() = default;
const char* QV_CONTROLPORT::QV_ContainerId() {
    return "Port CONTROLPORT\tV10";
}

QV_CONNECTIONPORT::QV_CONNECTIONPORT(bool construct, QV_Container* parent) : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_CONNECTIONPORT::~QV_CONNECTIONPORT() = default;
const char* QV_CONNECTIONPORT::QV_ContainerId() {
    return "Port CONNECTIONPORT\tV10";
}

QV_GENERICPORT::QV_GENERICPORT(bool construct, QV_Container* parent) : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_GENERICPORT::~QV_GENERICPORT() = default;
const char* QV_GENERICPORT::QV_ContainerId() {
    return "Port GENERICPORT\tV10";
}

QV_COMPONENTLISTNAME* QV_GENERICPORT::ComponentList() {
    return &COMPONENTLIST;
}
QV_VarParamProp* QV_GENERICPORT::IsConnected() {
    return &ISCONNECTED;
}

void QV_GENERICPORT::DeclareProperties(pellorin::Registrar& r) {
    r(ISCONNECTED, "ISCONNECTED");
    r(ISLINKED, "ISLINKED");
    r(COMPONENTLIST, "COMPONENTLIST");
}
