// Containers, models, ports and structures: the bases of the library's type objects.
#pragma once

#include <vector>

#include "vuzizev/object.h"
#include "vuzizev/properties.h"

class QV_EquationStore;
class QV_EquationType;
class QV_IntegerSetIter;
class QV_ModelType;
class QV_SpecType;
class QV_StringSetIter;
class QV_ProcedureType;
class QV_Set;
class QV_VarParam;

// An object that owns registered properties.
class VZ_API QV_Container : public QV_Type {
public:
    QV_Container() = default;
    QV_Container(const QV_Container& other);
    QV_Container& operator=(const QV_Container& other);
    ~QV_Container() override;

    // The type protocol, in the order of its slots. A container has no component list, no
    // connection, no identity and no equations; a model overrides what it has.
    virtual QV_COMPONENTLISTNAME* ComponentList();
    virtual QV_VarParamProp* IsConnected();
    virtual void SetDims();
    virtual const char* QV_DefaultDESCRIPTION() const;
    virtual bool ContainerDerivesFrom(const char* id);
    virtual int JacPattern(int*& rows, int*& cols, QV_EquationType** eqns);
    virtual int Jacobian(double* values, int first, int count);
    virtual int Residuals(double* residuals, int first, int count);
    virtual long ExecuteAssignments(int a, int b);
    virtual int SetUpEquations();

    // Keeps value in the internal index set set during the given pass of the assignments.
    // Returns 0, or -1 when the set cannot hold the value or there is none (the set is
    // unchanged then).
    long InitialiseInternalIndexSet(QV_Set& set, QV_Value* value, int pass);

private:
    friend class QV_Containable;
    friend class vzt::HostAccess;
    // The properties registered with this container as owner, in order of registration.
    const std::vector<QV_Containable*>& Properties() const { return m_properties; }
    QV_Containable* FindProperty(const char* name) const;
    void AddRegisteredProperty(QV_Containable* property);
    void RemoveRegisteredProperty(QV_Containable* property);

    std::vector<QV_Containable*> m_properties;
};

// A procedure call as its owner registered it.
struct QV_ProcedureCallRecord {
    QV_ProcedureType* procedure;
    int group;
};

// The expression interface of a type object: prefix expressions per equation, appended
// operator by operator and term by term. Its operations stand in the host's order.
class VZ_API QV_ModelExtensions {
public:
    explicit QV_ModelExtensions(QV_ModelType* model);
    QV_ModelExtensions(const QV_ModelExtensions&) = delete;
    QV_ModelExtensions& operator=(const QV_ModelExtensions&) { return *this; }

    virtual int Compatibility();
    virtual void ResetExpressions();
    virtual void AddOp(EOp op, int eqn);
    // The host's compiler gathers the overloads of one name into consecutive slots, the last
    // declared first; declared in this order, the slots run AddTerm(const QV_StrSetValue&),
    // AddTerm(const QV_IntSetValue&), ... AddTerm(QV_StringSetIter&, ...).
    virtual void AddTerm(QV_StringSetIter& member, int*& rows, int*& cols, int eqn);
    virtual void AddTerm(QV_IntegerSetIter& member, int*& rows, int*& cols, int eqn);
    virtual void AddTerm(QV_VarParam& term, int*& rows, int*& cols, int eqn);
    virtual void AddTerm(int value, int eqn);
    virtual void AddTerm(double value, int eqn);
    virtual void AddTerm(const char* text, int eqn);
    virtual void AddTerm(const QV_SpecType& value, int eqn);
    virtual void AddTerm(const QV_SetValue& value, int eqn);
    virtual void AddTerm(const QV_IntSetValue& value, int eqn);
    virtual void AddTerm(const QV_StrSetValue& value, int eqn);
    virtual void AddCondExpress(int eqn);
    virtual void EndCondExpress(int eqn);
    virtual int Linearity(int eqn);
    virtual int Evaluate(double* residuals, int first, int count);
    virtual void ConcatLists(int*& rows, int*& cols);
    // Equation eqn is y - f = 0 of the given procedure call's equation number.
    virtual void AddProcExpression(QV_ProcedureType* procedure, int number, int eqn,
                                   const char* callName);
    virtual void GroupVars();
    virtual int ActivityPattern(int* pattern);
    virtual int JacEx(double* values, int first, int count);

protected:
    ~QV_ModelExtensions();

private:
    QV_ModelType* m_model;
    QV_EquationStore* m_store; // the model's, which lives as long as the model
};

// Events of a model: the host's discontinuity interface.
class VZ_API QV_ModelDiscontinuity {
public:
    virtual bool HasDiscontinuity();
    virtual void EventReset();
    virtual bool Changed();
    virtual bool Tripped();

protected:
    ~QV_ModelDiscontinuity();
};

class VZ_API QV_ModelExtensions2 {
public:
    virtual int Evaluate2(double* residuals, int first, int count);
    virtual int JacEx2(double* values, int first, int count);

protected:
    ~QV_ModelExtensions2();
};

class VZ_API QV_ModelType : public QV_Container {
public:
    QV_ModelType();
    QV_ModelType(const QV_ModelType& other);
    QV_ModelType& operator=(const QV_ModelType& other);
    ~QV_ModelType() override;

    // A model counts its references as every host object does.
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // The steps of the protocol that a model implements.
    QV_COMPONENTLISTNAME* ComponentList() override;
    QV_VarParamProp* IsConnected() override;
    int JacPattern(int*& rows, int*& cols, QV_EquationType** eqns) override;
    int Jacobian(double* values, int first, int count) override;
    int Residuals(double* residuals, int first, int count) override;
    int SetUpEquations() override;

    // The last equation group number used by any model.
    static int m_stLastGroup;

    void SetGroupLimits(int group);
    void AddNonZero(QV_VarParam& term);
    int SetLocalEqnCount(int count);
    void AddEquation(const char* name, int& counter, int group);
    // Adds an equation object, which the model then owns (a null one is refused and not
    // counted).
    void AddEquation(QV_EquationType* equation, int& counter, int group);

private:
    friend class QV_ModelExtensions;
    friend class vzt::HostAccess;
    void WriteJacobianEntry(QV_VarParam& term, int*& rows, int*& cols, int eqn);

    QV_EquationStore* m_equations;
    std::vector<QV_EquationType*> m_equationObjects;
    const int* m_rowsEnd = nullptr;
    const int* m_colsEnd = nullptr;
    std::size_t m_overruns = 0;
};

class VZ_API QV_ModelTypeEx2 : public QV_ModelType,
                               public QV_ModelExtensions,
                               public QV_ModelDiscontinuity,
                               public QV_ModelExtensions2 {
public:
    QV_ModelTypeEx2();
    QV_ModelTypeEx2(const QV_ModelTypeEx2& other);
    QV_ModelTypeEx2& operator=(const QV_ModelTypeEx2& other);
    ~QV_ModelTypeEx2() override;
};

class VZ_API QV_PortType : public QV_ModelType {
public:
    QV_PortType() = default;
    QV_PortType(const QV_PortType& other) = default;
    QV_PortType& operator=(const QV_PortType& other) = default;
    ~QV_PortType() override;

    void UnsetIsToBeExported() override;
    bool IsToBeExported() const { return m_toBeExported; }
    void HostPortType(QV_HostPortType type);
    QV_HostPortType HostPortType() const { return m_hostPortType; }
    // The direction the port was registered with.
    QV_Direction Direction() const;

    virtual void DumpStructure();
    // A port counts as one: GetPort takes one step of the running counter and returns the
    // port when that brings the counter below zero, null otherwise.
    virtual int PortCount(bool all) const;
    virtual QV_Type* GetPort(int& counter, bool all);

private:
    bool m_toBeExported = true;
    QV_HostPortType m_hostPortType = 0;
};

class VZ_API QV_PortTypeEx : public QV_PortType, public QV_ModelExtensions {
public:
    QV_PortTypeEx();
    QV_PortTypeEx(const QV_PortTypeEx& other);
    QV_PortTypeEx& operator=(const QV_PortTypeEx& other);
    ~QV_PortTypeEx() override;
};

// The procedure calls registered with a model or structure.
class VZ_API QV_ProcedureCalls {
public:
    // Registers a call of a procedure (null: one without outputs) in the given group.
    void RecordProcCall(QV_ProcedureType* procedure, int group);
    const std::vector<QV_ProcedureCallRecord>& ProcedureCalls() const { return m_calls; }

private:
    std::vector<QV_ProcedureCallRecord> m_calls;
};

class VZ_API QV_StructureTypeEx : public QV_ModelType,
                                  public QV_ModelExtensions,
                                  public QV_ModelDiscontinuity,
                                  public QV_ProcedureCalls {
public:
    QV_StructureTypeEx();
    QV_StructureTypeEx(const QV_StructureTypeEx& other);
    QV_StructureTypeEx& operator=(const QV_StructureTypeEx& other);
    ~QV_StructureTypeEx() override;

    void AddProcCall(QV_ProcedureType* procedure, int group);
};

// A model in which procedures may be called.
class VZ_API QV_ModelTypeEx : public QV_ModelType,
                              public QV_ModelExtensions,
                              public QV_ProcedureCalls {
public:
    QV_ModelTypeEx();
    QV_ModelTypeEx(const QV_ModelTypeEx& other);
    QV_ModelTypeEx& operator=(const QV_ModelTypeEx& other) = default;
    ~QV_ModelTypeEx() override;

    void AddProcCall(QV_ProcedureType* procedure, int group);
};
