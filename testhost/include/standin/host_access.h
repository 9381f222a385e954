// What the stand-in keeps of the host's objects beyond the host's interface: reference
// counts, registration, the equations of a model. Tests and tools read it through the free
// functions below; the type library never includes this header.
#pragma once

#include <cstddef>

#include "vuzizev/api.h"

class QV_Container;
class QV_Containable;
class QV_EquationStore;
class QV_ModelType;
class QV_PtrVectorObject;

namespace vzt {

class VZ_API HostAccess {
public:
    static unsigned long RefCount(const QV_PtrVectorObject& object);

    // Registration state, as the host keeps it for a registered property.
    static const char* PropertyName(const QV_Containable& property);
    // Null when the property was registered without one.
    static const char* PropertyDescription(const QV_Containable& property);
    static QV_Direction PropertyDirection(const QV_Containable& property);
    static QV_RegistrationFlavour PropertyFlavour(const QV_Containable& property);
    static QV_Container* PropertyOwner(const QV_Containable& property);
    // Whether the solver computes the value (as the user sets it, overriding the class's
    // choice).
    static void SetSolverVariable(QV_Containable& property, bool solver);

    static QV_EquationStore& Equations(const QV_ModelType& model);
    // Where JacPattern may write rows and cols entries; set by whoever drives the model.
    static void SetJacobianBufferEnd(QV_ModelType& model, const int* rowsEnd, const int* colsEnd);
    // How many entries JacPattern would have written past them.
    static std::size_t JacobianOverruns(const QV_ModelType& model);
};

inline unsigned long RefCount(const QV_PtrVectorObject& object) {
    return HostAccess::RefCount(object);
}
inline const char* PropertyName(const QV_Containable& property) {
    return HostAccess::PropertyName(property);
}
inline const char* PropertyDescription(const QV_Containable& property) {
    return HostAccess::PropertyDescription(property);
}
inline QV_Direction PropertyDirection(const QV_Containable& property) {
    return HostAccess::PropertyDirection(property);
}
inline QV_RegistrationFlavour PropertyFlavour(const QV_Containable& property) {
    return HostAccess::PropertyFlavour(property);
}
inline QV_Container* PropertyOwner(const QV_Containable& property) {
    return HostAccess::PropertyOwner(property);
}
inline void SetSolverVariable(QV_Containable& property, bool solver) {
    HostAccess::SetSolverVariable(property, solver);
}

inline QV_EquationStore& Equations(const QV_ModelType& model) {
    return HostAccess::Equations(model);
}
inline void SetJacobianBufferEnd(QV_ModelType& model, const int* rowsEnd, const int* colsEnd) {
    HostAccess::SetJacobianBufferEnd(model, rowsEnd, colsEnd);
}
inline std::size_t JacobianOverruns(const QV_ModelType& model) {
    return HostAccess::JacobianOverruns(model);
}

} // namespace vzt
