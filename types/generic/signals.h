// Control signals and connections: two-port models, and their derived types.
#pragma once

#include "types/generic/ports.h"

class PELLORIN_API QV_GENERICCONTROLSIGNAL
    : public QV_TypeFrame<QV_GENERICCONTROLSIGNAL, QV_ModelTypeEx2> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_GENERICCONTROLSIGNAL);

    QV_STRINGPARAMETER USERNOTES{true};
    QV_CONTROLPORT SOURCE{true, nullptr};
    QV_CONTROLPORT DEST{true, nullptr};

private:
    friend QV_TypeFrame<QV_GENERICCONTROLSIGNAL, QV_ModelTypeEx2>;
    void DeclareProperties(pellorin::Registrar& r);
    PELLORIN_LEVEL_WORDS;
};

class PELLORIN_API QV_CONTROLSIGNAL
    : public QV_TypeFrame<QV_CONTROLSIGNAL, QV_GENERICCONTROLSIGNAL> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_CONTROLSIGNAL);
    PELLORIN_LEVEL_WORDS;
};

class PELLORIN_API QV_GENERICCONNECTION
    : public QV_TypeFrame<QV_GENERICCONNECTION, QV_ModelTypeEx2> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_GENERICCONNECTION);

    QV_STRINGPARAMETER USERNOTES{true};
    QV_CONNECTIONPORT SOURCE{true, nullptr};
    QV_CONNECTIONPORT DEST{true, nullptr};

private:
    friend QV_TypeFrame<QV_GENERICCONNECTION, QV_ModelTypeEx2>;
    void DeclareProperties(pellorin::Registrar& r);
    PELLORIN_LEVEL_WORDS;
};

class PELLORIN_API QV_CONNECTION : public QV_TypeFrame<QV_CONNECTION, QV_GENERICCONNECTION> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_CONNECTION);
    PELLORIN_LEVEL_WORDS;
};
