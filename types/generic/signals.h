// Control signals and connections: two-port models, and their derived types.
#pragma once

#include "types/generic/ports.h"

class PELLORIN_API QV_GENERICCONTROLSIGNAL
    : public QV_TypeFrame<QV_GENERICCONTROLSIGNAL, QV_ModelTypeEx2> {
public:
    explicit QV_GENERICCONTROLSIGNAL(bool construct = true, QV_Container* parent = nullptr);
    QV_GENERICCONTROLSIGNAL& operator=(const QV_GENERICCONTROLSIGNAL&) = default;
    ~QV_GENERICCONTROLSIGNAL() override;
    static const char* QV_ContainerId();

    QV_STRINGPARAMETER USERNOTES{true};
    QV_CONTROLPORT SOURCE{true, nullptr};
    QV_CONTROLPORT DEST{true, nullptr};

private:
    friend QV_TypeFrame<QV_GENERICCONTROLSIGNAL, QV_ModelTypeEx2>;
    void DeclareProperties(pellorin::Registrar& r);
};

class PELLORIN_API QV_CONTROLSIGNAL
    : public QV_TypeFrame<QV_CONTROLSIGNAL, QV_GENERICCONTROLSIGNAL> {
public:
    explicit QV_CONTROLSIGNAL(bool construct = true, QV_Container* parent = nullptr);
    QV_CONTROLSIGNAL& operator=(const QV_CONTROLSIGNAL&) = default;
    ~QV_CONTROLSIGNAL() override;
    static const char* QV_ContainerId();
};

class PELLORIN_API QV_GENERICCONNECTION
    : public QV_TypeFrame<QV_GENERICCONNECTION, QV_ModelTypeEx2> {
public:
    explicit QV_GENERICCONNECTION(bool construct = true, QV_Container* parent = nullptr);
    QV_GENERICCONNECTION& operator=(const QV_GENERICCONNECTION&) = default;
    ~QV_GENERICCONNECTION() override;
    static const char* QV_ContainerId();

    QV_STRINGPARAMETER USERNOTES{true};
    QV_CONNECTIONPORT SOURCE{true, nullptr};
    QV_CONNECTIONPORT DEST{true, nullptr};

private:
    friend QV_TypeFrame<QV_GENERICCONNECTION, QV_ModelTypeEx2>;
    void DeclareProperties(pellorin::Registrar& r);
};

class PELLORIN_API QV_CONNECTION : public QV_TypeFrame<QV_CONNECTION, QV_GENERICCONNECTION> {
public:
    explicit QV_CONNECTION(bool construct = true, QV_Container* parent = nullptr);
    QV_CONNECTION& operator=(const QV_CONNECTION&) = default;
    ~QV_CONNECTION() override;
    static const char* QV_ContainerId();
};
