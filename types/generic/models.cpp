#include "types/generic/models.h"

#include "framework/exports.h"

PELLORIN_TYPE_EXPORTS(GENERICMODEL);
PELLORIN_TYPE_EXPORTS(GENERICSTREAM);
PELLORIN_TYPE_EXPORTS(GENERICSTRUCTURE);

// ---- GENERICMODEL -------------------------------------------------------------------------

PELLORIN_TYPE_DEFINITIONS(Model, GENERICMODEL);
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

PELLORIN_TYPE_DEFINITIONS(Stream, GENERICSTREAM);
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

PELLORIN_TYPE_DEFINITIONS(Structure, GENERICSTRUCTURE);
QV_COMPONENTLISTNAME* QV_GENERICSTRUCTURE::ComponentList() {
    return &COMPONENTLIST;
}

void QV_GENERICSTRUCTURE::DeclareProperties(pellorin::Registrar& r) {
    r(USERNOTES, "USERNOTES");
    r(COMPONENTLIST, "COMPONENTLIST");
}
