#include "vuzizev/model.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>
#include <string>

#include "control.h"
#include "procedure_control.h"
#include "standin/equations.h"
#include "vuzizev/procedure.h"

// ---- QV_Container -------------------------------------------------------------------------

// Registrations belong to the object: a copy starts with none of its own.
QV_Container::QV_Container(const QV_Container& other) : QV_Type(other) {}

QV_Container& QV_Container::operator=(const QV_Container& other) {
    QV_Type::operator=(other);
    return *this;
}

QV_Container::~QV_Container() {
    for (QV_Containable* property : m_properties) {
        property->ForgetOwner();
    }
}

QV_COMPONENTLISTNAME* QV_Container::ComponentList() {
    return nullptr;
}
QV_VarParamProp* QV_Container::IsConnected() {
    return nullptr;
}
const char* QV_Container::QV_DefaultDESCRIPTION() const {
    return "";
}
bool QV_Container::ContainerDerivesFrom(const char*) {
    return false;
}
int QV_Container::JacPattern(int*&, int*&, QV_EquationType**) {
    return 0;
}
int QV_Container::Jacobian(double*, int, int) {
    return 0;
}
int QV_Container::Residuals(double*, int, int) {
    return 0;
}
int QV_Container::SetUpEquations() {
    return 0;
}

void QV_Container::SetDims() {
    vzt::detail::Record({.kind = vzt::EventKind::ContainerSetDims, .object = this});
}

long QV_Container::ExecuteAssignments(int a, int b) {
    vzt::detail::Record(
        {.kind = vzt::EventKind::ContainerExecuteAssignments, .object = this, .a = a, .b = b});
    return vzt::Base().executeAssignments;
}

QV_Containable* QV_Container::FindProperty(const char* name) const {
    if (name == nullptr) {
        return nullptr;
    }
    for (QV_Containable* property : m_properties) {
        if (std::strcmp(property->PropertyName(), name) == 0) {
            return property;
        }
    }
    return nullptr;
}

// A registration the list cannot take is counted as a failed allocation; the property stays
// out of the list.
void QV_Container::AddRegisteredProperty(QV_Containable* property) {
    try {
        m_properties.push_back(property);
    } catch (const std::bad_alloc&) {
        vzt::detail::CountFailedAllocation();
    }
}

void QV_Container::RemoveRegisteredProperty(QV_Containable* property) {
    auto it = std::find(m_properties.begin(), m_properties.end(), property);
    if (it != m_properties.end()) {
        m_properties.erase(it);
    }
}

// ---- QV_ModelExtensions -------------------------------------------------------------------

namespace {

// Adds to a model's equations. A store that runs out of memory counts the failed allocation
// and takes nothing more: no exception leaves the host, and the rest of a walk costs no
// further attempts.
template <class Add>
void Store(QV_EquationStore& store, Add add) {
    if (store.Lost()) {
        return;
    }
    try {
        add();
    } catch (const std::bad_alloc&) {
        vzt::detail::CountFailedAllocation();
        store.MarkLost();
    }
}

} // namespace

QV_ModelExtensions::QV_ModelExtensions(QV_ModelType* model)
    : m_model(model), m_store(model != nullptr ? model->m_equations : nullptr) {}

QV_ModelExtensions::~QV_ModelExtensions() = default;

int QV_ModelExtensions::Compatibility() {
    return 6;
}

void QV_ModelExtensions::ResetExpressions() {
    vzt::detail::Record({.kind = vzt::EventKind::ResetExpressions, .object = m_model});
    m_store->ClearEquations();
}

void QV_ModelExtensions::AddOp(EOp op, int eqn) {
    QV_Token token;
    token.kind = QV_Token::Kind::Op;
    token.op = int(op);
    Store(*m_store, [&] { m_store->AddToken(eqn, token); });
}

void QV_ModelExtensions::AddTerm(const char* text, int eqn) {
    QV_Token token;
    token.kind = QV_Token::Kind::Text;
    Store(*m_store, [&] {
        token.text = m_store->InternText(text);
        m_store->AddToken(eqn, token);
    });
}

void QV_ModelExtensions::AddTerm(double value, int eqn) {
    QV_Token token;
    token.kind = QV_Token::Kind::Real;
    token.real = value;
    Store(*m_store, [&] { m_store->AddToken(eqn, token); });
}

void QV_ModelExtensions::AddTerm(int value, int eqn) {
    QV_Token token;
    token.kind = QV_Token::Kind::Integer;
    token.integer = value;
    Store(*m_store, [&] { m_store->AddToken(eqn, token); });
}

void QV_ModelExtensions::AddTerm(QV_VarParam& term, int*& rows, int*& cols, int eqn) {
    QV_Token token;
    token.kind = QV_Token::Kind::Term;
    token.term = &term;
    Store(*m_store, [&] { m_store->AddToken(eqn, token); });
    m_model->WriteJacobianEntry(term, rows, cols, eqn);
}

// Set values and set members stand in an expression as text: the members of a set, the
// current member of an iteration.
namespace {

std::string Members(const QV_SetValue& value) {
    std::string members;
    for (int pos = 0; pos < int(value.Size()); ++pos) {
        members +=
            (pos > 0 ? "," : "") + (value.IsStringSet() ? std::string(value.String(pos))
                                                        : std::to_string(value.Integer(pos)));
    }
    return members;
}

} // namespace

void QV_ModelExtensions::AddTerm(const QV_StrSetValue& value, int eqn) {
    AddTerm(static_cast<const QV_SetValue&>(value), eqn);
}
void QV_ModelExtensions::AddTerm(const QV_IntSetValue& value, int eqn) {
    AddTerm(static_cast<const QV_SetValue&>(value), eqn);
}
void QV_ModelExtensions::AddTerm(const QV_SetValue& value, int eqn) {
    AddTerm(Members(value).c_str(), eqn);
}
void QV_ModelExtensions::AddTerm(const QV_SpecType&, int eqn) {
    AddTerm("", eqn);
}
void QV_ModelExtensions::AddTerm(QV_IntegerSetIter& member, int*&, int*&, int eqn) {
    AddTerm(member.v(), eqn);
}
void QV_ModelExtensions::AddTerm(QV_StringSetIter& member, int*&, int*&, int eqn) {
    AddTerm(member.v(), eqn);
}

// Conditional expressions, linearity, evaluation and activity are not the stand-in's: these
// do nothing and answer 0.
void QV_ModelExtensions::AddCondExpress(int) {}
void QV_ModelExtensions::EndCondExpress(int) {}
int QV_ModelExtensions::Linearity(int) {
    return 0;
}
int QV_ModelExtensions::Evaluate(double*, int, int) {
    return 0;
}
void QV_ModelExtensions::ConcatLists(int*&, int*&) {}
void QV_ModelExtensions::GroupVars() {}
int QV_ModelExtensions::ActivityPattern(int*) {
    return 0;
}
int QV_ModelExtensions::JacEx(double*, int, int) {
    return 0;
}

void QV_ModelExtensions::AddProcExpression(QV_ProcedureType* procedure, int number, int eqn,
                                           const char* callName) {
    vzt::detail::Log("AddProcExpression " +
                     std::string(procedure != nullptr ? "procedure" : "null") + " " +
                     std::to_string(number) + " " + std::to_string(eqn) + " " +
                     (callName != nullptr ? callName : ""));
}

QV_ModelDiscontinuity::~QV_ModelDiscontinuity() = default;
bool QV_ModelDiscontinuity::HasDiscontinuity() {
    return false;
}
void QV_ModelDiscontinuity::EventReset() {}
bool QV_ModelDiscontinuity::Changed() {
    return false;
}
bool QV_ModelDiscontinuity::Tripped() {
    return false;
}

QV_ModelExtensions2::~QV_ModelExtensions2() = default;
int QV_ModelExtensions2::Evaluate2(double*, int, int) {
    return 0;
}
int QV_ModelExtensions2::JacEx2(double*, int, int) {
    return 0;
}

// ---- QV_ModelType -------------------------------------------------------------------------

int QV_ModelType::m_stLastGroup = 0;

QV_ModelType::QV_ModelType() : m_equations(new QV_EquationStore) {}

QV_ModelType::QV_ModelType(const QV_ModelType& other)
    : QV_Container(other), m_equations(new QV_EquationStore) {}

QV_ModelType& QV_ModelType::operator=(const QV_ModelType& other) {
    QV_Container::operator=(other);
    return *this;
}

QV_ModelType::~QV_ModelType() {
    for (QV_EquationType* equation : m_equationObjects) {
        vzt::detail::Destroy(equation);
    }
    delete m_equations;
}

ULONG STDMETHODCALLTYPE QV_ModelType::AddRef() {
    return QV_PtrVectorObject::AddRef();
}
ULONG STDMETHODCALLTYPE QV_ModelType::Release() {
    return QV_PtrVectorObject::Release();
}

int QV_ModelType::SetUpEquations() {
    vzt::detail::Record({.kind = vzt::EventKind::ModelSetUpEquations, .object = this});
    m_equations->ClearInstances();
    return vzt::Base().setUpEquations;
}

int QV_ModelType::JacPattern(int*&, int*&, QV_EquationType**) {
    vzt::detail::Record({.kind = vzt::EventKind::ModelJacPattern, .object = this});
    m_overruns = 0;
    return vzt::Base().jacPattern;
}

int QV_ModelType::Residuals(double*, int, int) {
    return 0;
}
int QV_ModelType::Jacobian(double*, int, int) {
    return 0;
}
QV_COMPONENTLISTNAME* QV_ModelType::ComponentList() {
    return nullptr;
}
QV_VarParamProp* QV_ModelType::IsConnected() {
    return nullptr;
}

void QV_ModelType::SetGroupLimits(int group) {
    m_stLastGroup = std::max(m_stLastGroup, group);
    Store(*m_equations, [&] { m_equations->OpenInstance(group); });
}

void QV_ModelType::AddNonZero(QV_VarParam& term) {
    Store(*m_equations, [&] { m_equations->AddIncidence(&term); });
}

int QV_ModelType::SetLocalEqnCount(int count) {
    vzt::detail::Record({.kind = vzt::EventKind::SetLocalEqnCount, .object = this, .a = count});
    return count + vzt::Base().localEqnCountOffset;
}

void QV_ModelType::AddEquation(const char* name, int& counter, int group) {
    Store(*m_equations, [&] { m_equations->OpenEquation(name, counter, group); });
    ++counter;
}

void QV_ModelType::AddEquation(QV_EquationType* equation, int& counter, int group) {
    vzt::detail::Log("AddEquation " + std::string(equation != nullptr ? equation->Name() : "null") +
                     " " + std::to_string(counter) + " " + std::to_string(group));
    if (equation == nullptr) {
        return;
    }
    m_equationObjects.push_back(equation);
    m_equations->OpenEquation(equation->Name(), counter, group);
    ++counter;
}

QV_EquationStore& vzt::HostAccess::Equations(const QV_ModelType& model) {
    return *model.m_equations;
}
void vzt::HostAccess::SetJacobianBufferEnd(QV_ModelType& model, const int* rowsEnd,
                                           const int* colsEnd) {
    model.m_rowsEnd = rowsEnd;
    model.m_colsEnd = colsEnd;
}
std::size_t vzt::HostAccess::JacobianOverruns(const QV_ModelType& model) {
    return model.m_overruns;
}

void QV_ModelType::WriteJacobianEntry(QV_VarParam& term, int*& rows, int*& cols, int eqn) {
    if (rows == nullptr || cols == nullptr) {
        return; // the caller asked for no Jacobian pattern
    }
    if (rows >= m_rowsEnd || cols >= m_colsEnd) {
        ++m_overruns; // never write past the caller's buffers
        return;
    }
    (void)term;
    *rows++ = eqn;
    *cols++ = 0;
}

// ---- Extended bases -----------------------------------------------------------------------

QV_ModelTypeEx2::QV_ModelTypeEx2() : QV_ModelExtensions(this) {}
QV_ModelTypeEx2::QV_ModelTypeEx2(const QV_ModelTypeEx2& other)
    : QV_ModelType(other), QV_ModelExtensions(this), QV_ModelDiscontinuity(other),
      QV_ModelExtensions2(other) {}
QV_ModelTypeEx2::~QV_ModelTypeEx2() = default;
QV_ModelTypeEx2& QV_ModelTypeEx2::operator=(const QV_ModelTypeEx2& other) = default;

QV_PortType::~QV_PortType() = default;

QV_Direction QV_PortType::Direction() const {
    return vzt::HostAccess::PropertyDirection(*this);
}

void QV_PortType::UnsetIsToBeExported() {
    m_toBeExported = false;
    vzt::detail::Record({.kind = vzt::EventKind::UnsetIsToBeExported, .object = this});
}

void QV_PortType::HostPortType(QV_HostPortType type) {
    m_hostPortType = type;
    vzt::detail::Record({.kind = vzt::EventKind::HostPortType, .object = this, .a = type});
}

void QV_PortType::DumpStructure() {
    vzt::detail::Record({.kind = vzt::EventKind::DumpStructure, .object = this});
}

int QV_PortType::PortCount(bool) const {
    return 1;
}

QV_Type* QV_PortType::GetPort(int& counter, bool) {
    if (counter > INT_MIN) {
        --counter;
    }
    return counter < 0 ? this : nullptr;
}

QV_PortTypeEx::QV_PortTypeEx() : QV_ModelExtensions(this) {}
QV_PortTypeEx::QV_PortTypeEx(const QV_PortTypeEx& other)
    : QV_PortType(other), QV_ModelExtensions(this) {}
QV_PortTypeEx::~QV_PortTypeEx() = default;
QV_PortTypeEx& QV_PortTypeEx::operator=(const QV_PortTypeEx& other) = default;

QV_StructureTypeEx::QV_StructureTypeEx() : QV_ModelExtensions(this) {}
QV_StructureTypeEx::QV_StructureTypeEx(const QV_StructureTypeEx& other)
    : QV_ModelType(other), QV_ModelExtensions(this), QV_ModelDiscontinuity(other) {}
QV_StructureTypeEx::~QV_StructureTypeEx() = default;

void QV_ProcedureCalls::RecordProcCall(QV_ProcedureType* procedure, int group) {
    vzt::detail::Log("AddProcCall " + std::string(procedure != nullptr ? "procedure" : "null") +
                     " " + std::to_string(group));
    m_calls.push_back({procedure, group});
}

void QV_StructureTypeEx::AddProcCall(QV_ProcedureType* procedure, int group) {
    RecordProcCall(procedure, group);
}

void QV_ModelTypeEx::AddProcCall(QV_ProcedureType* procedure, int group) {
    RecordProcCall(procedure, group);
}

QV_ModelTypeEx::QV_ModelTypeEx() : QV_ModelExtensions(this) {}
QV_ModelTypeEx::QV_ModelTypeEx(const QV_ModelTypeEx& other)
    : QV_ModelType(other), QV_ModelExtensions(this) {}
QV_ModelTypeEx::~QV_ModelTypeEx() = default;
QV_StructureTypeEx& QV_StructureTypeEx::operator=(const QV_StructureTypeEx& other) = default;
