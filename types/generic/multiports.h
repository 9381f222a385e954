// The nine multiport classes: for each port type, an input, an output and an input-output
// multiport. They add nothing to QV_MULTIPORT<port> but their names.
#pragma once

#include "framework/multiport.h"
#include "types/generic/ports.h"

#define PELLORIN_MULTIPORTS(X)                                                                     \
    X(QV_QV_MICONTROLPORT, QV_CONTROLPORT)                                                         \
    X(QV_QV_MOCONTROLPORT, QV_CONTROLPORT)                                                         \
    X(QV_QV_MIOCONTROLPORT, QV_CONTROLPORT)                                                        \
    X(QV_QV_MIGENERICPORT, QV_GENERICPORT)                                                         \
    X(QV_QV_MOGENERICPORT, QV_GENERICPORT)                                                         \
    X(QV_QV_MIOGENERICPORT, QV_GENERICPORT)                                                        \
    X(QV_QV_MICONNECTIONPORT, QV_CONNECTIONPORT)                                                   \
    X(QV_QV_MOCONNECTIONPORT, QV_CONNECTIONPORT)                                                   \
    X(QV_QV_MIOCONNECTIONPORT, QV_CONNECTIONPORT)

#define PELLORIN_DECLARE_MULTIPORT(NAME, PORT)                                                     \
    class PELLORIN_API NAME : public QV_MULTIPORT<PORT> {                                          \
    public:                                                                                        \
        NAME();                                                                                    \
        NAME& operator=(const NAME& other);                                                        \
        ~NAME() override;                                                                          \
        NAME& operator*();                                                                         \
    };

PELLORIN_MULTIPORTS(PELLORIN_DECLARE_MULTIPORT)
