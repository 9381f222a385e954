// The parameter types of the domains: host parameters with their own defaults, valid values,
// lower bounds and physical quantities.
#pragma once

#include <vuzizev/vuzizev.h>

#include "framework/api.h"

// A real parameter that carries an angle in radians.
class PELLORIN_API QV_ANGLEPARAMETER : public QV_REALPARAMETER {
public:
    explicit QV_ANGLEPARAMETER(bool init = true);
    ~QV_ANGLEPARAMETER() override;
    QV_ANGLEPARAMETER& operator=(const QV_ANGLEPARAMETER& other);
    QV_ANGLEPARAMETER& operator*();

    int QV_PQCol() const override;
    int QV_PQRow() const override;
    QV_Value* QV_DefaultPHYSICALQUANTITY() const override;
    QV_Value* QV_DefaultBASEUOMNAME() const override;
};

// A real parameter that carries a length in metres.
class PELLORIN_API QV_LENGTHPARAMETER : public QV_REALPARAMETER {
public:
    explicit QV_LENGTHPARAMETER(bool init = true);
    ~QV_LENGTHPARAMETER() override;
    QV_LENGTHPARAMETER& operator=(const QV_LENGTHPARAMETER& other);
    QV_LENGTHPARAMETER& operator*();

    int QV_PQCol() const override;
    int QV_PQRow() const override;
    QV_Value* QV_DefaultPHYSICALQUANTITY() const override;
    QV_Value* QV_DefaultBASEUOMNAME() const override;
};

// The discretisation method of a domain, one of the ten method names.
class PELLORIN_API QV_DISCRETIZATIONMETHODPARAM_DOMAIN : public QV_STRINGPARAMETER {
public:
    explicit QV_DISCRETIZATIONMETHODPARAM_DOMAIN(bool init = true);
    ~QV_DISCRETIZATIONMETHODPARAM_DOMAIN() override;
    QV_DISCRETIZATIONMETHODPARAM_DOMAIN&
    operator=(const QV_DISCRETIZATIONMETHODPARAM_DOMAIN& other);
    QV_DISCRETIZATIONMETHODPARAM_DOMAIN& operator*();

    QV_Value* QV_DefaultVALUE() const override;
    QV_Value* QV_DefaultVALID() const override;
};

// The direction of the derivative used as boundary condition of the collocation methods.
class PELLORIN_API QV_ELEMENTBOUNDARYPARAM_DOMAIN : public QV_STRINGPARAMETER {
public:
    explicit QV_ELEMENTBOUNDARYPARAM_DOMAIN(bool init = true);
    ~QV_ELEMENTBOUNDARYPARAM_DOMAIN() override;
    QV_ELEMENTBOUNDARYPARAM_DOMAIN& operator=(const QV_ELEMENTBOUNDARYPARAM_DOMAIN& other);
    QV_ELEMENTBOUNDARYPARAM_DOMAIN& operator*();

    QV_Value* QV_DefaultVALUE() const override;
    QV_Value* QV_DefaultVALID() const override;
};

// The number of sections of a domain.
class PELLORIN_API QV_NUMSECTIONSPARAM_DOMAIN : public QV_INTEGERPARAMETER {
public:
    explicit QV_NUMSECTIONSPARAM_DOMAIN(bool init = true);
    ~QV_NUMSECTIONSPARAM_DOMAIN() override;
    QV_NUMSECTIONSPARAM_DOMAIN& operator=(const QV_NUMSECTIONSPARAM_DOMAIN& other);
    QV_NUMSECTIONSPARAM_DOMAIN& operator*();

    QV_Value* QV_DefaultVALUE() const override;
    QV_Value* QV_DefaultLOWER() const override;
};

// The number of interior points per element.
class PELLORIN_API QV_POLYPOINTSPARAM_DOMAIN : public QV_INTEGERPARAMETER {
public:
    explicit QV_POLYPOINTSPARAM_DOMAIN(bool init = true);
    ~QV_POLYPOINTSPARAM_DOMAIN() override;
    QV_POLYPOINTSPARAM_DOMAIN& operator=(const QV_POLYPOINTSPARAM_DOMAIN& other);
    QV_POLYPOINTSPARAM_DOMAIN& operator*();

    QV_Value* QV_DefaultVALUE() const override;
    QV_Value* QV_DefaultLOWER() const override;
};
