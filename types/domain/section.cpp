#include "types/domain/section.h"

#include "framework/exports.h"

template class QV_TypeFrame<QV_SECTIONDATAMODEL, QV_GENERICMODEL>;

PELLORIN_TYPE_EXPORTS(SECTIONDATAMODEL);

QV_SECTIONDATAMODEL::QV_SECTIONDATAMODEL(bool construct, QV_Container* parent)
    : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_SECTIONDATAMODEL::~QV_SECTIONDATAMODEL() = default;
const char* QV_SECTIONDATAMODEL::QV_ContainerId() {
    return "Model SECTIONDATAMODEL\tV10";
}

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
