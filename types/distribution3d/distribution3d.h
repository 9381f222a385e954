// A variable distributed over three domains, x, y and z, with its first and second partial
// derivatives along each and seven integrals: along x, y and z, over x and y, x and z, y and
// z, and over all three, tied to the node values by the equations of each domain's method.
#pragma once

#include "framework/arrays.h"
#include "framework/references.h"
#include "types/domain/domain.h"
#include "types/generic/ports.h"

class PELLORIN_API QV_DISTRIBUTION3D : public QV_TypeFrame<QV_DISTRIBUTION3D, QV_ModelTypeEx2> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_DISTRIBUTION3D);

    using Variables = QV_ARRAY_III<QV_REALVARIABLE, QV_REALVARIABLE>;
    using Derivatives = QV_ARRAY_III<QV_PARTIALDERIVATIVE, QV_PARTIALDERIVATIVE>;

    QV_External<QV_DOMAIN> XDOMAIN;
    QV_External<QV_DOMAIN> YDOMAIN;
    QV_External<QV_DOMAIN> ZDOMAIN;
    QV_Virtual<Variables> VALUE;
    QV_INTEGERSET QV_VALUE_SET1;
    QV_INTEGERSET QV_VALUE_SET2;
    QV_INTEGERSET QV_VALUE_SET3;
    QV_STRINGPARAMETER USERNOTES{true};
    QV_CONTROLPORT INPUTSIGNAL{true, nullptr};
    QV_CONTROLPORT OUTPUTSIGNAL{true, nullptr};
    QV_INTEGERPARAMETER HIGHESTORDERXDERIVATIVE{true};
    QV_INTEGERPARAMETER HIGHESTORDERYDERIVATIVE{true};
    QV_INTEGERPARAMETER HIGHESTORDERZDERIVATIVE{true};
    QV_INTEGERPARAMETER HIGHESTORDERXDERIVATIVEUSED{true};
    QV_INTEGERPARAMETER HIGHESTORDERYDERIVATIVEUSED{true};
    QV_INTEGERPARAMETER HIGHESTORDERZDERIVATIVEUSED{true};
    QV_STRINGSET INTEGRALS{true};
    Derivatives DDX;
    QV_INTEGERSET QV_DDX_SET1;
    QV_INTEGERSET QV_DDX_SET2;
    QV_INTEGERSET QV_DDX_SET3;
    Derivatives DDY;
    QV_INTEGERSET QV_DDY_SET1;
    QV_INTEGERSET QV_DDY_SET2;
    QV_INTEGERSET QV_DDY_SET3;
    Derivatives DDZ;
    QV_INTEGERSET QV_DDZ_SET1;
    QV_INTEGERSET QV_DDZ_SET2;
    QV_INTEGERSET QV_DDZ_SET3;
    Derivatives D2DX2;
    QV_INTEGERSET QV_D2DX2_SET1;
    QV_INTEGERSET QV_D2DX2_SET2;
    QV_INTEGERSET QV_D2DX2_SET3;
    Derivatives D2DY2;
    QV_INTEGERSET QV_D2DY2_SET1;
    QV_INTEGERSET QV_D2DY2_SET3;
    Derivatives D2DZ2;
    QV_INTEGERSET QV_D2DZ2_SET1;
    QV_INTEGERSET QV_D2DZ2_SET2;
    Variables IDX;
    QV_INTEGERSET QV_IDX_SET1;
    QV_INTEGERSET QV_IDX_SET2;
    QV_INTEGERSET QV_IDX_SET3;
    Variables IDY;
    QV_INTEGERSET QV_IDY_SET1;
    QV_INTEGERSET QV_IDY_SET2;
    QV_INTEGERSET QV_IDY_SET3;
    Variables IDZ;
    QV_INTEGERSET QV_IDZ_SET1;
    QV_INTEGERSET QV_IDZ_SET2;
    QV_INTEGERSET QV_IDZ_SET3;
    Variables IDXDY;
    QV_INTEGERSET QV_IDXDY_SET1;
    QV_INTEGERSET QV_IDXDY_SET2;
    QV_INTEGERSET QV_IDXDY_SET3;
    Variables IDXDZ;
    QV_INTEGERSET QV_IDXDZ_SET1;
    QV_INTEGERSET QV_IDXDZ_SET2;
    QV_INTEGERSET QV_IDXDZ_SET3;
    Variables IDYDZ;
    QV_INTEGERSET QV_IDYDZ_SET1;
    QV_INTEGERSET QV_IDYDZ_SET2;
    QV_INTEGERSET QV_IDYDZ_SET3;
    Variables IDXDYDZ;
    QV_INTEGERSET QV_IDXDYDZ_SET1;
    QV_INTEGERSET QV_IDXDYDZ_SET2;
    QV_INTEGERSET QV_IDXDYDZ_SET3;

private:
    friend QV_TypeFrame<QV_DISTRIBUTION3D, QV_ModelTypeEx2>;
    void DeclareProperties(pellorin::Registrar& r);
    void BindArrays();
    bool RunAssignments(int a, int b);
    int AddEquationInstances(int n);
    int AddEquationExpressions(int r, int*& rows, int*& cols);
    PELLORIN_LEVEL_WORDS;
};
