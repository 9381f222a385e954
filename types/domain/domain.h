// A domain: one coordinate cut into sections, elements and nodes by a discretisation method.
// Its assignments compute the layout that the distributions build their equations on.
#pragma once

#include "framework/arrays.h"
#include "framework/references.h"
#include "types/domain/parameters.h"
#include "types/domain/section.h"
#include "types/generic/ports.h"

class PELLORIN_API QV_DOMAIN : public QV_TypeFrame<QV_DOMAIN, QV_ModelTypeEx2> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_DOMAIN);

    // Sums of section node counts: over the sections before the iterator's section, and over
    // all sections (the two whole-domain sums serve the interior set and the last node).
    double Sigma60547528(QV_IntegerSetIter& s);
    double Sigma60578824();
    double Sigma60579144();
    // The collocation points of the iterator's section, and the union of the sections'
    // interior sets. Each returns a set shared by all domains, overwritten by its next call.
    QV_SetValue& UnionFn60576704(QV_IntegerSetIter& s);
    QV_SetValue& UnionFn60578464();

    QV_Virtual<QV_ARRAY_I<QV_SECTIONDATAMODEL, QV_SECTIONDATAMODEL>> SECTION;
    QV_INTEGERSET QV_SECTION_SET1;
    QV_Virtual<QV_REALPARAMETER> LENGTH;
    QV_Virtual<QV_REALPARAMETER> SPACINGPREFERENCE;
    QV_Virtual<QV_ARRAY_I<QV_REALPARAMETER, QV_REALPARAMETER>> VALUE;
    QV_INTEGERSET QV_VALUE_SET1;
    QV_STRINGPARAMETER USERNOTES{true};
    QV_CONTROLPORT INPUTSIGNAL{true, nullptr};
    QV_CONTROLPORT OUTPUTSIGNAL{true, nullptr};
    QV_DISCRETIZATIONMETHODPARAM_DOMAIN DISCRETIZATIONMETHOD{true};
    QV_NUMSECTIONSPARAM_DOMAIN NUMSECTIONS{true};
    QV_INTEGERPARAMETER MINNODECOUNT{true};
    QV_POLYPOINTSPARAM_DOMAIN NUMPOLYPOINTS{true};
    QV_ARRAY_I<QV_REALPARAMETER, QV_REALPARAMETER> POLYPOINT;
    QV_INTEGERSET QV_POLYPOINT_SET1;
    QV_INTEGERPARAMETER HIGHESTORDERDERIVATIVE{true};
    QV_ELEMENTBOUNDARYPARAM_DOMAIN ELEMENTBOUNDARYCONDITION{true};
    QV_INTEGERSET INTERIOR;
    QV_INTEGERPARAMETER ENDNODE{true};

private:
    friend QV_TypeFrame<QV_DOMAIN, QV_ModelTypeEx2>;
    friend class DomainDiscretisation;
    void DeclareProperties(pellorin::Registrar& r);
    void BindArrays();
    bool RunAssignments(int a, int b);

    // The section record s, or null when the section array is not there.
    QV_SECTIONDATAMODEL* Section(int s);
    double SumOfNodeCounts(int firstSection, int lastSection);
    QV_SetValue& CollocationPoints(int s);
    PELLORIN_LEVEL_WORDS;
};

// A domain along a length.
class PELLORIN_API QV_LENGTHDOMAIN : public QV_TypeFrame<QV_LENGTHDOMAIN, QV_DOMAIN> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_LENGTHDOMAIN);
    PELLORIN_LEVEL_WORDS;
};

// A domain along an angle.
class PELLORIN_API QV_ANGLEDOMAIN : public QV_TypeFrame<QV_ANGLEDOMAIN, QV_DOMAIN> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_ANGLEDOMAIN);
    PELLORIN_LEVEL_WORDS;
};
