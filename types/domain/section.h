// The record of one section of a domain: where it starts, how long it is, how its nodes are
// spaced and numbered, its elements and its interior nodes.
#pragma once

#include "framework/arrays.h"
#include "framework/references.h"
#include "types/generic/models.h"

class PELLORIN_API QV_SECTIONDATAMODEL : public QV_TypeFrame<QV_SECTIONDATAMODEL, QV_GENERICMODEL> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_SECTIONDATAMODEL);

    QV_External<QV_INTEGERPARAMETER> MINNODECOUNT;
    QV_Virtual<QV_REALPARAMETER> LOCATION;
    QV_Virtual<QV_REALPARAMETER> SPACINGPREFERENCE;
    QV_Virtual<QV_REALPARAMETER> SPACINGUSED;
    QV_REALPARAMETER LENGTH{true};
    QV_INTEGERPARAMETER NODECOUNT{true};
    QV_INTEGERPARAMETER BASE{true};
    QV_INTEGERPARAMETER NUMELEMENTS{true};
    QV_REALPARAMETER ELEMENTLENGTH{true};
    QV_INTEGERSET INTERIOR;

private:
    friend QV_TypeFrame<QV_SECTIONDATAMODEL, QV_GENERICMODEL>;
    void DeclareProperties(pellorin::Registrar& r);
    PELLORIN_LEVEL_WORDS;
};
