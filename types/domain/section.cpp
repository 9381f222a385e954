#include "types/domain/section.h"

#include "framework/exports.h"

PELLORIN_TYPE_EXPORTS(SECTIONDATAMODEL);

PELLORIN_TYPE_DEFINITIONS(Model, SECTIONDATAMODEL);

void QV_SECTIONDATAMODEL::DeclareProperties(pellorin::Registrar& r) {
    r(MINNODECOUNT, "MINNODECOUNT");
    r(LOCATION, "LOCATION", QV_DirectionNone, "Absolute location of LH boundary of this section");
    r(SPACINGPREFERENCE, "SPACINGPREFERENCE", QV_DirectionNone,
      "Preferred spacing between nodes in this section");
    r(SPACINGUSED, "SPACINGUSED", QV_DirectionNone,
      "Actual spacing used between nodes in this section");
    r(LENGTH, "LENGTH");
    r(NODECOUNT, "NODECOUNT");
    r(BASE, "BASE");
    r(NUMELEMENTS, "NUMELEMENTS");
    r(ELEMENTLENGTH, "ELEMENTLENGTH");
    r(INTERIOR, "INTERIOR");
}
