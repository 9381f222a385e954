#include "types/generic/signals.h"

#include "framework/exports.h"

template class QV_TypeFrame<QV_GENERICCONTROLSIGNAL, QV_ModelTypeEx2>;
template class QV_TypeFrame<QV_CONTROLSIGNAL, QV_GENERICCONTROLSIGNAL>;
template class QV_TypeFrame<QV_GENERICCONNECTION, QV_ModelTypeEx2>;
template class QV_TypeFrame<QV_CONNECTION, QV_GENERICCONNECTION>;

PELLORIN_TYPE_EXPORTS(GENERICCONTROLSIGNAL);
PELLORIN_TYPE_EXPORTS(CONTROLSIGNAL);
PELLORIN_TYPE_EXPORTS(GENERICCONNECTION);
PELLORIN_TYPE_EXPORTS(CONNECTION);

// ---- Control signals ----------------------------------------------------------------------

QV_GENERICCONTROLSIGNAL::QV_GENERICCONTROLSIGNAL(bool construct, QV_Container* parent)
    : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_GENERICCONTROLSIGNAL::~QV_GENERICCONTROLSIGNAL() = default;
const char* QV_GENERICCONTROLSIGNAL::QV_ContainerId() {
    return "Model GENERICCONTROLSIGNAL\tV10";
}

void QV_GENERICCONTROLSIGNAL::DeclareProperties(pellorin::Registrar& r) {
    r(USERNOTES, "USERNOTES");
    r(SOURCE, "SOURCE", QV_DirectionInput);
    r(DEST, "DEST", QV_DirectionOutput);
}

QV_CONTROLSIGNAL::QV_CONTROLSIGNAL(bool construct, QV_Container* parent) : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_CONTROLSIGNAL::~QV_CONTROLSIGNAL() = default;
const char* QV_CONTROLSIGNAL::QV_ContainerId() {
    return "Model CONTROLSIGNAL\tV10";
}

// ---- Connections --------------------------------------------------------------------------

QV_GENERICCONNECTION::QV_GENERICCONNECTION(bool construct, QV_Container* parent)
    : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_GENERICCONNECTION::~QV_GENERICCONNECTION() = default;
const char* QV_GENERICCONNECTION::QV_ContainerId() {
    return "Model GENERICCONNECTION\tV10";
}

void QV_GENERICCONNECTION::DeclareProperties(pellorin::Registrar& r) {
    r(USERNOTES, "USERNOTES");
    r(SOURCE, "SOURCE", QV_DirectionInput);
    r(DEST, "DEST", QV_DirectionOutput);
}

QV_CONNECTION::QV_CONNECTION(bool construct, QV_Container* parent) : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_CONNECTION::~QV_CONNECTION() = default;
const char* QV_CONNECTION::QV_ContainerId() {
    return "Model CONNECTION\tV10";
}
