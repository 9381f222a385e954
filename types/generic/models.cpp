#include "types/generic/models.h"

#include "framework/exports.h"

template class QV_TypeFrame<QV_GENERICMODEL, QV_ModelTypeEx2>;
template class QV_TypeFrame<QV_GENERICSTREAM, QV_ModelTypeEx2>;
template class QV_TypeFrame<QV_GENERICSTRUCTURE, QV_StructureTypeEx>;

PELLORIN_TYPE_EXPORTS(GENERICMODEL);
PELLORIN_TYPE_EXPORTS(GENERICSTREAM);
PELLORIN_TYPE_EXPORTS(GENERICSTRUCTURE);

// ---- GENERICMODEL -------------------------------------------------------------------------

QV_GENERICMODEL::QV_GENERICMODEL(bool construct, QV_Container* parent) : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_GENERICMODEL::~QV_GENERICMODEL() = default;
const char* QV_GENERICMODEL::QV_ContainerId() {
    return "Model GENERICMODEL\tV10";
}
QV_COMPONENTLISTNAME* QV_GENERICMODEL::ComponentList() {
    return &COMPONENTLIST;
}

void QV_GENERICMODEL::DeclareProperties(pellorin::Registrar& r) {
    r(USERNOTES, "USERNOTES");
    r(COMPONENTLIST, "COMPONENTLIST");
    r(INPUTSIGNAL, "INPUTSIGNAL", QV_DirectionInput);
    r(OUTPUTSIGNAL, "OUTPUTSIGNAL", QV_DirectionOutput);
}

// ---- GENERICSTREAM ------------------------------------------------------------------------

QV_GENERICSTREAM::QV_GENERICSTREAM(bool construct, QV_Container* parent) : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_GENERICSTREAM::~QV_GENERICSTREAM() = default;
const char* QV_GENERICSTREAM::QV_ContainerId() {
    return "Stream GENERICSTREAM\tV10";
}
QV_COMPONENTLISTNAME* QV_GENERICSTREAM::ComponentList() {
    return &COMPONENTLIST;
}

void QV_GENERICSTREAM::DeclareProperties(pellorin::Registrar& r) {
    r(USERNOTES, "USERNOTES");
    r(COMPONENTLIST, "COMPONENTLIST");
    r(QV_UNCONNECTABLEINPUT, "QV_UNCONNECTABLEINPUT", QV_DirectionInput);
    r(QV_UNCONNECTABLEOUTPUT, "QV_UNCONNECTABLEOUTPUT", QV_DirectionOutput);
    r(INPUTSIGNAL, "INPUTSIGNAL", QV_DirectionInput);
    r(OUTPUTSIGNAL, "OUTPUTSIGNAL", QV_DirectionOutput);
}

// ---- GENERICSTRUCTURE ---------------------------------------------------------------------

QV_GENERICSTRUCTURE::QV_GENERICSTRUCTURE(bool construct, QV_Container* parent)
    : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_GENERICSTRUCTURE::~QV_GENERICSTRUCTURE() = default;
const char* QV_GENERICSTRUCTURE::QV_ContainerId() {
    return "Structure GENERICSTRUCTURE\tV10";
}
QV_COMPONENTLISTNAME* QV_GENERICSTRUCTURE::ComponentList() {
    return &COMPONENTLIST;
}

void QV_GENERICSTRUCTURE::DeclareProperties(pellorin::Registrar& r) {
    r(USERNOTES, "USERNOTES");
    r(COMPONENTLIST, "COMPONENTLIST");
}
