// What the stand-in keeps of the host's objects beyond the host's interface: reference
// counts, registration, the equations of a model. Tests and tools read it through the free
// functions below; the type library never includes this header.
#pragma once

#include <cstddef>
#include <vector>

#include "vuzizev/api.h"
#include "vuzizev/values.h"

class QV_Container;
class QV_Containable;
class QV_ExternalBase;
class QV_GlobalStructureRefBase;
class QV_Type;
class QV_VirtualBase;
class QV_EquationStore;
class QV_LongPtrVectorOwnsData;
class QV_Matrix;
class QV_ModelType;
class QV_Set;
class QV_SetValue;
class QV_PtrVectorObject;
class QV_Value;
class QV_VarParamProp;

// Which registration call made a property.
enum class QV_RegistrationFlavour : int {
    None = 0,
    Type = 1,     // QV_Type::AddProperty
    External = 2, // QV_ExternalBase::AddProperty
    Virtual = 3,  // QV_VirtualBase::AddProperty
};

namespace vzt {

// What a value holds.
enum class ValueKind { Empty, Integer, Real, Text, Set };

class VZ_API HostAccess {
public:
    // A value's kind and contents. Conversions: an integer reads as a real, a real as an
    // integer (truncated toward zero, saturating), text and sets as 0; anything but text
    // reads as empty text, anything but a set as the empty set of no kind. A value has one
    // tag or the other; the one it lacks reads as zero.
    static ValueKind Kind(const QV_Value& value);
    static int AsInteger(const QV_Value& value);
    static double AsReal(const QV_Value& value);
    static const char* AsText(const QV_Value& value);
    static const QV_SetValue& AsSet(const QV_Value& value);
    static QV_ValueTag Tag(const QV_Value& value);
    static unsigned PlainTag(const QV_Value& value);

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
    // What the user set: 1 solver computed, 0 not, -1 as the class has it.
    static int SolverSetting(const QV_Containable& property);
    // The properties registered with a container as owner, in order of registration, and
    // the one of them with the given name (null when there is none).
    static const std::vector<QV_Containable*>& Properties(const QV_Container& container);
    static QV_Containable* FindProperty(const QV_Container& container, const char* name);

    // What the user has specified; a later Assign does not override it. False (nothing
    // changes) when the property cannot hold a value of that kind.
    static bool Specify(QV_VarParamProp& property, const QV_Value& value);
    static void Unspecify(QV_VarParamProp& property);
    static bool IsSpecified(const QV_VarParamProp& property);
    // The last default assignment (empty when none), with its tag.
    static const QV_Value& LastAssignment(const QV_VarParamProp& property);
    // The value in force: the user's, else the last assignment, else the type's default.
    static const QV_Value& Current(const QV_VarParamProp& property);

    // An array's index string of the element about to be made, the values of index set k as
    // the array keeps them, and the set declared for dimension k (null when none is).
    static const char* IndexString(const QV_Matrix& array);
    static const QV_SetValue& IndexValues(const QV_Matrix& array, int k);
    static QV_Set* DeclaredSet(const QV_Matrix& array, int k);
    // An array's element table, and the port settings it gives its ports.
    static const QV_LongPtrVectorOwnsData& Elements(const QV_Matrix& array);
    static QV_Direction Direction(const QV_Matrix& array);
    static bool IsToBeExported(const QV_Matrix& array);
    static QV_HostPortType HostPortType(const QV_Matrix& array);
    // How many arrays hear of the set's changes.
    static std::size_t DependentCount(const QV_Set& set);

    // Links a reference to target, or resolves a named one (null: unlinked, unresolved); the
    // target must outlive the link. ResolveToDefault resolves a named reference that is not
    // resolved yet to a default object, which the reference then owns, and returns the link
    // (null when no default could be made).
    static void Link(QV_ExternalBase& reference, QV_Containable* target);
    static void Link(QV_GlobalStructureRefBase& reference, QV_ModelType* target);
    static void Resolve(QV_VirtualBase& reference, QV_Type* target);
    static QV_Type* ResolveToDefault(QV_VirtualBase& reference);

    static QV_EquationStore& Equations(const QV_ModelType& model);
    // Where JacPattern may write rows and cols entries; set by whoever drives the model.
    static void SetJacobianBufferEnd(QV_ModelType& model, const int* rowsEnd, const int* colsEnd);
    // How many entries JacPattern would have written past them.
    static std::size_t JacobianOverruns(const QV_ModelType& model);
};

inline ValueKind Kind(const QV_Value& value) {
    return HostAccess::Kind(value);
}
inline int AsInteger(const QV_Value& value) {
    return HostAccess::AsInteger(value);
}
inline double AsReal(const QV_Value& value) {
    return HostAccess::AsReal(value);
}
inline const char* AsText(const QV_Value& value) {
    return HostAccess::AsText(value);
}
inline const QV_SetValue& AsSet(const QV_Value& value) {
    return HostAccess::AsSet(value);
}
inline QV_ValueTag Tag(const QV_Value& value) {
    return HostAccess::Tag(value);
}
inline unsigned PlainTag(const QV_Value& value) {
    return HostAccess::PlainTag(value);
}
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
inline const std::vector<QV_Containable*>& Properties(const QV_Container& container) {
    return HostAccess::Properties(container);
}
inline QV_Containable* FindProperty(const QV_Container& container, const char* name) {
    return HostAccess::FindProperty(container, name);
}
inline bool Specify(QV_VarParamProp& property, const QV_Value& value) {
    return HostAccess::Specify(property, value);
}
inline void Unspecify(QV_VarParamProp& property) {
    HostAccess::Unspecify(property);
}
inline bool IsSpecified(const QV_VarParamProp& property) {
    return HostAccess::IsSpecified(property);
}
inline const QV_Value& LastAssignment(const QV_VarParamProp& property) {
    return HostAccess::LastAssignment(property);
}
inline const QV_Value& Current(const QV_VarParamProp& property) {
    return HostAccess::Current(property);
}
inline const char* IndexString(const QV_Matrix& array) {
    return HostAccess::IndexString(array);
}
inline const QV_SetValue& IndexValues(const QV_Matrix& array, int k) {
    return HostAccess::IndexValues(array, k);
}
inline const QV_LongPtrVectorOwnsData& Elements(const QV_Matrix& array) {
    return HostAccess::Elements(array);
}
inline QV_Direction Direction(const QV_Matrix& array) {
    return HostAccess::Direction(array);
}
inline bool IsToBeExported(const QV_Matrix& array) {
    return HostAccess::IsToBeExported(array);
}
inline QV_HostPortType HostPortType(const QV_Matrix& array) {
    return HostAccess::HostPortType(array);
}
inline QV_Set* DeclaredSet(const QV_Matrix& array, int k) {
    return HostAccess::DeclaredSet(array, k);
}
inline std::size_t DependentCount(const QV_Set& set) {
    return HostAccess::DependentCount(set);
}

inline void Link(QV_ExternalBase& reference, QV_Containable* target) {
    HostAccess::Link(reference, target);
}
inline void Link(QV_GlobalStructureRefBase& reference, QV_ModelType* target) {
    HostAccess::Link(reference, target);
}
inline void Resolve(QV_VirtualBase& reference, QV_Type* target) {
    HostAccess::Resolve(reference, target);
}
inline QV_Type* ResolveToDefault(QV_VirtualBase& reference) {
    return HostAccess::ResolveToDefault(reference);
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
