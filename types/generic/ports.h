// The library's port types: control ports, connection ports and the general-purpose port.
#pragma once

#include "framework/frame.h"

// A port through which a control signal enters or leaves a model or stream.
class PELLORIN_API QV_CONTROLPORT : public QV_TypeFrame<QV_CONTROLPORT, QV_PortTypeEx> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_CONTROLPORT);
    PELLORIN_LEVEL_WORDS;
};

// The port at each end of a connection.
class PELLORIN_API QV_CONNECTIONPORT : public QV_TypeFrame<QV_CONNECTIONPORT, QV_PortTypeEx> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_CONNECTIONPORT);
    PELLORIN_LEVEL_WORDS;
};

// A general-purpose port that reports whether it is connected or linked.
class PELLORIN_API QV_GENERICPORT : public QV_TypeFrame<QV_GENERICPORT, QV_PortTypeEx> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_GENERICPORT);

    QV_COMPONENTLISTNAME* ComponentList() override;
    QV_VarParamProp* IsConnected() override;

    QV_FalseLOGICALPARAMETER ISCONNECTED{true};
    QV_FalseLOGICALPARAMETER ISLINKED{true};
    QV_COMPONENTLISTNAME COMPONENTLIST;

private:
    friend QV_TypeFrame<QV_GENERICPORT, QV_PortTypeEx>;
    void DeclareProperties(pellorin::Registrar& r);
    PELLORIN_LEVEL_WORDS;
};

// Right after its registration, a control port member is taken out of the exported ports
// and a connection port member gets host port type 4.
template <>
struct pellorin::RegistrationFollowUp<QV_CONTROLPORT> {
    static void Apply(QV_CONTROLPORT& port) { port.UnsetIsToBeExported(); }
};

template <>
struct pellorin::RegistrationFollowUp<QV_CONNECTIONPORT> {
    static constexpr QV_HostPortType kConnectionPortType = 4;
    static void Apply(QV_CONNECTIONPORT& port) { port.HostPortType(kConnectionPortType); }
};
