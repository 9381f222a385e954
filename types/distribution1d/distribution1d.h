// A variable distributed over one domain, with its first and second derivatives and its
// interval integrals, tied to the node values by the equations of the domain's method.
#pragma once

#include "framework/arrays.h"
#include "framework/references.h"
#include "types/domain/domain.h"
#include "types/generic/ports.h"

class PELLORIN_API QV_DISTRIBUTION1D : public QV_TypeFrame<QV_DISTRIBUTION1D, QV_ModelTypeEx2> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_DISTRIBUTION1D);

    using Variables = QV_ARRAY_I<QV_REALVARIABLE, QV_REALVARIABLE>;
    using Derivatives = QV_ARRAY_I<QV_PARTIALDERIVATIVE, QV_PARTIALDERIVATIVE>;

    QV_External<QV_DOMAIN> XDOMAIN;
    QV_Virtual<Variables> VALUE;
    QV_INTEGERSET QV_VALUE_SET1;
    QV_STRINGPARAMETER USERNOTES{true};
    QV_CONTROLPORT INPUTSIGNAL{true, nullptr};
    QV_CONTROLPORT OUTPUTSIGNAL{true, nullptr};
    QV_INTEGERPARAMETER HIGHESTORDERXDERIVATIVE{true};
    QV_INTEGERPARAMETER HIGHESTORDERXDERIVATIVEUSED{true};
    QV_STRINGSET INTEGRALS{true};
    Derivatives DDX;
    QV_INTEGERSET QV_DDX_SET1;
    Derivatives D2DX2;
    QV_INTEGERSET QV_D2DX2_SET1;
    Variables IDX;
    QV_INTEGERSET QV_IDX_SET1;

private:
    friend QV_TypeFrame<QV_DISTRIBUTION1D, QV_ModelTypeEx2>;
    void DeclareProperties(pellorin::Registrar& r);
    void BindArrays();
    bool RunAssignments(int a, int b);
    int AddEquationInstances(int n);
    int AddEquationExpressions(int r, int*& rows, int*& cols);
    PELLORIN_LEVEL_WORDS;
};
