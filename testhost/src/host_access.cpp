// The stand-in's view of what it keeps of host objects beyond the host's interface.
#include "standin/host_access.h"
#include "control.h"

#include "vuzizev/matrix.h"
#include "vuzizev/model.h"
#include "vuzizev/object.h"
#include "vuzizev/properties.h"
#include "vuzizev/references.h"
#include "vuzizev/set_properties.h"

unsigned long vzt::HostAccess::RefCount(const QV_PtrVectorObject& object) {
    return object.m_refs;
}
const char* vzt::HostAccess::PropertyName(const QV_Containable& property) {
    return property.PropertyName();
}
const char* vzt::HostAccess::PropertyDescription(const QV_Containable& property) {
    return property.PropertyDescription();
}
QV_Direction vzt::HostAccess::PropertyDirection(const QV_Containable& property) {
    return property.m_direction;
}
QV_RegistrationFlavour vzt::HostAccess::PropertyFlavour(const QV_Containable& property) {
    return QV_RegistrationFlavour(property.m_flavour);
}
QV_Container* vzt::HostAccess::PropertyOwner(const QV_Containable& property) {
    return property.Owner();
}
void vzt::HostAccess::SetSolverVariable(QV_Containable& property, bool solver) {
    property.m_solver = solver ? 1 : 0;
}
int vzt::HostAccess::SolverSetting(const QV_Containable& property) {
    return property.m_solver;
}

bool vzt::HostAccess::Specify(QV_VarParamProp& property, const QV_Value& value) {
    return property.Specify(value);
}
void vzt::HostAccess::Unspecify(QV_VarParamProp& property) {
    property.Unspecify();
}
bool vzt::HostAccess::IsSpecified(const QV_VarParamProp& property) {
    return property.IsSpecified();
}
const QV_Value& vzt::HostAccess::LastAssignment(const QV_VarParamProp& property) {
    return property.LastAssignment();
}
const QV_Value& vzt::HostAccess::Current(const QV_VarParamProp& property) {
    return property.Current();
}

vzt::ValueKind vzt::HostAccess::Kind(const QV_Value& value) {
    return ValueKind(value.kind());
}
int vzt::HostAccess::AsInteger(const QV_Value& value) {
    return value.AsInteger();
}
double vzt::HostAccess::AsReal(const QV_Value& value) {
    return value.AsReal();
}
const char* vzt::HostAccess::AsText(const QV_Value& value) {
    return value.AsText();
}
const QV_SetValue& vzt::HostAccess::AsSet(const QV_Value& value) {
    return value.AsSet();
}
QV_ValueTag vzt::HostAccess::Tag(const QV_Value& value) {
    return value.tag();
}
unsigned vzt::HostAccess::PlainTag(const QV_Value& value) {
    return value.plainTag();
}

const QV_LongPtrVectorOwnsData& vzt::HostAccess::Elements(const QV_Matrix& array) {
    return array.m_elements;
}
QV_Direction vzt::HostAccess::Direction(const QV_Matrix& array) {
    return array.m_direction;
}
bool vzt::HostAccess::IsToBeExported(const QV_Matrix& array) {
    return array.m_toBeExported;
}
QV_HostPortType vzt::HostAccess::HostPortType(const QV_Matrix& array) {
    return array.m_hostPortType;
}
const char* vzt::HostAccess::IndexString(const QV_Matrix& array) {
    return array.IndexString().c_str();
}
const QV_SetValue& vzt::HostAccess::IndexValues(const QV_Matrix& array, int k) {
    return array.IndexValues(k);
}
QV_Set* vzt::HostAccess::DeclaredSet(const QV_Matrix& array, int k) {
    return array.DeclaredSet(k);
}
std::size_t vzt::HostAccess::DependentCount(const QV_Set& set) {
    return set.Dependents().size();
}
const std::vector<QV_Containable*>& vzt::HostAccess::Properties(const QV_Container& container) {
    return container.Properties();
}
QV_Containable* vzt::HostAccess::FindProperty(const QV_Container& container, const char* name) {
    return container.FindProperty(name);
}

void vzt::HostAccess::Link(QV_ExternalBase& reference, QV_Containable* target) {
    reference.m_link = target;
}
void vzt::HostAccess::Link(QV_GlobalStructureRefBase& reference, QV_ModelType* target) {
    reference.m_link = target;
}
void vzt::HostAccess::Resolve(QV_VirtualBase& reference, QV_Type* target) {
    if (target != reference.m_ownedDefault) {
        vzt::detail::Destroy(reference.m_ownedDefault);
        reference.m_ownedDefault = nullptr;
    }
    reference.m_link = target;
}
QV_Type* vzt::HostAccess::ResolveToDefault(QV_VirtualBase& reference) {
    if (reference.m_link == nullptr) {
        reference.m_link = reference.NewDefaultVirtual();
        reference.m_ownedDefault = reference.m_link;
    }
    return reference.m_link;
}
