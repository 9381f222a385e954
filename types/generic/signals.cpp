#include "types/generic/signals.h"

#include "framework/exports.h"

PELLORIN_TYPE_EXPORTS(GENERICCONTROLSIGNAL);
PELLORIN_TYPE_EXPORTS(CONTROLSIGNAL);
PELLORIN_TYPE_EXPORTS(GENERICCONNECTION);
PELLORIN_TYPE_EXPORTS(CONNECTION);

// ---- Control signals ----------------------------------------------------------------------

PELLORIN_TYPE_DEFINITIONS(Model, GENERICCONTROLSIGNAL);

void QV_GENERICCONTROLSIGNAL::DeclareProperties(pellorin::Registrar& r) {
    r(USERNOTES, "USERNOTES");
    r(SOURCE, "SOURCE", QV_DirectionInput);
    r(DEST, "DEST", QV_DirectionOutput);
}

PELLORIN_TYPE_DEFINITIONS(Model, CONTROLSIGNAL);

// ---- Connections --------------------------------------------------------------------------

PELLORIN_TYPE_DEFINITIONS(Model, GENERICCONNECTION);

void QV_GENERICCONNECTION::DeclareProperties(pellorin::Registrar& r) {
    r(USERNOTES, "USERNOTES");
    r(SOURCE, "SOURCE", QV_DirectionInput);
    r(DEST, "DEST", QV_DirectionOutput);
}

PELLORIN_TYPE_DEFINITIONS(Model, CONNECTION);
