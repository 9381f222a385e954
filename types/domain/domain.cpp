#include "types/domain/domain.h"

#include "framework/exports.h"

template class QV_TypeFrame<QV_DOMAIN, QV_ModelTypeEx2>;
template class QV_TypeFrame<QV_LENGTHDOMAIN, QV_DOMAIN>;
template class QV_TypeFrame<QV_ANGLEDOMAIN, QV_DOMAIN>;

PELLORIN_TYPE_EXPORTS(DOMAIN);
PELLORIN_TYPE_EXPORTS(LENGTHDOMAIN);
PELLORIN_TYPE_EXPORTS(ANGLEDOMAIN);

QV_DOMAIN::QV_DOMAIN(bool construct, QV_Container* parent) : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_DOMAIN::~QV_DOMAIN() = default;
const char* QV_DOMAIN::QV_ContainerId() {
    return "Model DOMAIN\tV10";
}

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

QV_LENGTHDOMAIN::QV_LENGTHDOMAIN(bool construct, QV_Container* parent) : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_LENGTHDOMAIN::~QV_LENGTHDOMAIN() = default;
const char* QV_LENGTHDOMAIN::QV_ContainerId() {
    return "Model LENGTHDOMAIN\tV10";
}

QV_ANGLEDOMAIN::QV_ANGLEDOMAIN(bool construct, QV_Container* parent) : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_ANGLEDOMAIN::~QV_ANGLEDOMAIN() = default;
const char* QV_ANGLEDOMAIN::QV_ContainerId() {
    return "Model ANGLEDOMAIN\tV10";
}
