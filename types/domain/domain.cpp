#include "types/domain/domain.h"

#include "framework/exports.h"

PELLORIN_TYPE_EXPORTS(DOMAIN);
PELLORIN_TYPE_EXPORTS(LENGTHDOMAIN);
PELLORIN_TYPE_EXPORTS(ANGLEDOMAIN);

PELLORIN_TYPE_DEFINITIONS(Model, DOMAIN);

void QV_DOMAIN::DeclareProperties(pellorin::Registrar& r) {
    r(QV_SECTION_SET1, "QV_SECTION_SET1");
    r(SECTION, "SECTION");
    r(LENGTH, "LENGTH", QV_DirectionNone, "Domain length");
    r(SPACINGPREFERENCE, "SPACINGPREFERENCE", QV_DirectionNone,
      "Preferred node spacing for domain");
    r(QV_VALUE_SET1, "QV_VALUE_SET1");
    r(VALUE, "VALUE", QV_DirectionNone, "DO NOT EDIT - Location of each node in domain");
    r(USERNOTES, "USERNOTES");
    r(INPUTSIGNAL, "INPUTSIGNAL", QV_DirectionInput);
    r(OUTPUTSIGNAL, "OUTPUTSIGNAL", QV_DirectionOutput);
    r(DISCRETIZATIONMETHOD, "DISCRETIZATIONMETHOD", QV_DirectionNone,
      "Method used to calculate partial derivatives");
    r(NUMSECTIONS, "NUMSECTIONS", QV_DirectionNone, "Number of sections in the domain");
    r(MINNODECOUNT, "MINNODECOUNT");
    r(NUMPOLYPOINTS, "NUMPOLYPOINTS");
    r(QV_POLYPOINT_SET1, "QV_POLYPOINT_SET1");
    r(POLYPOINT, "POLYPOINT");
    r(HIGHESTORDERDERIVATIVE, "HIGHESTORDERDERIVATIVE");
    r(ELEMENTBOUNDARYCONDITION, "ELEMENTBOUNDARYCONDITION", QV_DirectionNone,
      "Direction of derivative used as boundary condition for OCFE models");
    r(INTERIOR, "INTERIOR");
    r(ENDNODE, "ENDNODE", QV_DirectionNone,
      "DO NOT EDIT - Index of the rightmost element in domain");
}

void QV_DOMAIN::BindArrays() {
    if (auto* sections = SECTION.get()) {
        sections->SetDim(QV_SECTION_SET1);
    }
    if (auto* values = VALUE.get()) {
        values->SetDim(QV_VALUE_SET1);
    }
    POLYPOINT.SetDim(QV_POLYPOINT_SET1);
}

PELLORIN_TYPE_DEFINITIONS(Model, LENGTHDOMAIN);

PELLORIN_TYPE_DEFINITIONS(Model, ANGLEDOMAIN);
