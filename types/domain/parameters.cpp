#include "types/domain/parameters.h"

#include "types/domain/methods.h"

// Each default is built on its accessor's first call and shared by every parameter of the
// type until the library is unloaded.

namespace {

// Row and column of the physical quantities in the host's table of quantities.
constexpr int kQuantityColumn = 1;
constexpr int kAngleRow = 32;
constexpr int kLengthRow = 17;

// The valid values, each followed by one double quote.
constexpr const char* kBoundaryConditions = "Backward\"Forward\"";

} // namespace

// The host base is built without its system attributes; they follow once the type is whole.
// Assignment is the host base's; operator* gives the parameter itself.
#define PELLORIN_PARAMETER_CONSTRUCTION(TYPE, BASE)                                                \
    TYPE::TYPE(bool init) : BASE(false) {                                                          \
        if (init) {                                                                                \
            BASE::InitializeSystemAttributes();                                                    \
        }                                                                                          \
    }                                                                                              \
    TYPE::~TYPE() = default;                                                                       \
    TYPE& TYPE::operator=(const TYPE& other) = default;                                            \
    TYPE& TYPE::operator*() {                                                                      \
        return *this;                                                                              \
    }

PELLORIN_PARAMETER_CONSTRUCTION(QV_ANGLEPARAMETER, QV_REALPARAMETER)
PELLORIN_PARAMETER_CONSTRUCTION(QV_LENGTHPARAMETER, QV_REALPARAMETER)
PELLORIN_PARAMETER_CONSTRUCTION(QV_DISCRETIZATIONMETHODPARAM_DOMAIN, QV_STRINGPARAMETER)
PELLORIN_PARAMETER_CONSTRUCTION(QV_ELEMENTBOUNDARYPARAM_DOMAIN, QV_STRINGPARAMETER)
PELLORIN_PARAMETER_CONSTRUCTION(QV_NUMSECTIONSPARAM_DOMAIN, QV_INTEGERPARAMETER)
PELLORIN_PARAMETER_CONSTRUCTION(QV_POLYPOINTSPARAM_DOMAIN, QV_INTEGERPARAMETER)
#undef PELLORIN_PARAMETER_CONSTRUCTION

// ---- Angle and length ---------------------------------------------------------------------

int QV_ANGLEPARAMETER::QV_PQCol() const {
    return kQuantityColumn;
}
int QV_ANGLEPARAMETER::QV_PQRow() const {
    return kAngleRow;
}
QV_Value* QV_ANGLEPARAMETER::QV_DefaultPHYSICALQUANTITY() const {
    static QV_Value Default("Angle", 0u);
    return &Default;
}
QV_Value* QV_ANGLEPARAMETER::QV_DefaultBASEUOMNAME() const {
    static QV_Value Default("rad", 0u);
    return &Default;
}

int QV_LENGTHPARAMETER::QV_PQCol() const {
    return kQuantityColumn;
}
int QV_LENGTHPARAMETER::QV_PQRow() const {
    return kLengthRow;
}
QV_Value* QV_LENGTHPARAMETER::QV_DefaultPHYSICALQUANTITY() const {
    static QV_Value Default("Length", 0u);
    return &Default;
}
QV_Value* QV_LENGTHPARAMETER::QV_DefaultBASEUOMNAME() const {
    static QV_Value Default("m", 0u);
    return &Default;
}

// ---- Method and element boundary condition ------------------------------------------------

QV_Value* QV_DISCRETIZATIONMETHODPARAM_DOMAIN::QV_DefaultVALUE() const {
    static QV_Value Default("BFD1", 0u);
    return &Default;
}
QV_Value* QV_DISCRETIZATIONMETHODPARAM_DOMAIN::QV_DefaultVALID() const {
    static const QV_StrSetValue Value(pellorin::methods::kValidText.data());
    static QV_Value Default(Value, 0u);
    return &Default;
}

QV_Value* QV_ELEMENTBOUNDARYPARAM_DOMAIN::QV_DefaultVALUE() const {
    static QV_Value Default("Backward", 0u);
    return &Default;
}
QV_Value* QV_ELEMENTBOUNDARYPARAM_DOMAIN::QV_DefaultVALID() const {
    static const QV_StrSetValue Value(kBoundaryConditions);
    static QV_Value Default(Value, 0u);
    return &Default;
}

// ---- Sections and interior points ---------------------------------------------------------

QV_Value* QV_NUMSECTIONSPARAM_DOMAIN::QV_DefaultVALUE() const {
    static QV_Value Default(1, 0u);
    return &Default;
}
QV_Value* QV_NUMSECTIONSPARAM_DOMAIN::QV_DefaultLOWER() const {
    static QV_Value Default(1, 0u);
    return &Default;
}

QV_Value* QV_POLYPOINTSPARAM_DOMAIN::QV_DefaultVALUE() const {
    static QV_Value Default(0, 0u);
    return &Default;
}
QV_Value* QV_POLYPOINTSPARAM_DOMAIN::QV_DefaultLOWER() const {
    static QV_Value Default(0, 0u);
    return &Default;
}
