// Parameters, variables and component lists: the host's property classes with values.
#pragma once

#include <cstdint>

#include "vuzizev/object.h"
#include "vuzizev/values.h"

class QV_Matrix;

// A property that holds a value. A value the library assigns is a default: the host
// keeps it (with its tag) and applies it unless the user has specified the property,
// in which case the user's value stands.
class VZ_API QV_VarParamProp : public QV_Type {
public:
    QV_VarParamProp() = default;
    QV_VarParamProp(const QV_VarParamProp& other);
    QV_VarParamProp& operator=(const QV_VarParamProp& other);
    ~QV_VarParamProp() override;

    // A default assignment from the library. Returns 0 when the host accepted the value,
    // -1 when the property cannot hold a value of that kind or there is none (nothing
    // changes then).
    QV_AssignStatus Assign(QV_Value* value);

    // The array hears of every change of this property's value; adding one twice keeps it
    // once. Only sets have dependents: on any other property this does nothing.
    void AddDependent(QV_Matrix* dependent);

    // The value in force as an integer, a real or a text.
    int Integer() const;
    double Real() const;
    const char* String() const;
    // Whether the value in force is the library's (or the type's) rather than the user's.
    bool IsDefaultAssignment() const;
    // Makes the value the one in force, as the user's.
    void SetCurrentValue(double value);
    void SetCurrentValue(const char* value);

protected:
    // Keeps value as the last default assignment, without recording an Assign; false when
    // the property does not accept it.
    bool StoreAssignment(const QV_Value& value);

private:
    friend class vzt::HostAccess;
    // What the user has specified; a later Assign does not override it. False (nothing
    // changes) when the property cannot hold a value of that kind.
    bool Specify(const QV_Value& value);
    void Unspecify();
    bool IsSpecified() const {
        const QV_Value* user = UserValue();
        return user != nullptr && !user->IsEmpty();
    }

    // The last default assignment (empty when none), with its tag.
    const QV_Value& LastAssignment() const;
    // The value in force: the user's, else the last assignment, else the type's default.
    const QV_Value& Current() const;

    // The value a property holds before anything is specified or assigned.
    const QV_Value* DefaultValueInForce() const;
    // The value as this property holds it, or none when it cannot hold it.
    bool Holds(const QV_Value& value, QV_Value& held) const;

    // The values held beyond the type's default, on one block of the host's allocator from
    // the first assignment or user's value on (a model may assign one to every node): the
    // last assignment (empty when none), then, once the user has specified a value, room for
    // that one; the low bit of m_held tells whether the block has that room. When memory
    // runs out the property carries on without the value (the allocator counts the failure).
    QV_Value* Assigned() const { return reinterpret_cast<QV_Value*>(m_held & ~kWithUserValue); }
    QV_Value* UserValue() const {
        return (m_held & kWithUserValue) != 0 ? Assigned() + 1 : nullptr;
    }
    // Makes the block hold room for the user's value too when withUserValue; false when
    // memory runs out (the values held stay).
    bool MakeRoom(bool withUserValue);
    void ReleaseHeld();
    static std::uintptr_t CopyHeld(std::uintptr_t held);

    static constexpr std::uintptr_t kWithUserValue = 1;
    std::uintptr_t m_held = 0;
};

// A variable or parameter that can stand in an equation's incidence.
class VZ_API QV_VarParam : public QV_VarParamProp {
public:
    ~QV_VarParam() override;
    // Whether the user has specified the value: 1 when so, 0 otherwise.
    virtual int CurrSpec() const;
    // The row and column of the value's physical quantity in the host's table of quantities.
    virtual int QV_PQCol() const;
    virtual int QV_PQRow() const;
    // Whether the value is a derivative of another variable's.
    virtual bool IsDerivative() const;
};

// Parameters and variables answer their value in force through two accessors, v() and
// fv(). Which of the two a step reads matters: the host may answer them differently.
class VZ_API QV_REALPARAMETER : public QV_VarParam {
public:
    explicit QV_REALPARAMETER(bool init = true);
    ~QV_REALPARAMETER() override;
    QV_REALPARAMETER(const QV_REALPARAMETER& other) = default;
    QV_REALPARAMETER& operator=(const QV_REALPARAMETER& other);
    static const char* QV_ContainerId();
    void InitializeSystemAttributes();
    QV_REALPARAMETER& operator*() { return *this; }
    double v() const;
    double fv() const;

    virtual QV_Value* QV_DefaultVALUE() const;
    virtual QV_Value* QV_DefaultLOWER() const;
    virtual QV_Value* QV_DefaultPHYSICALQUANTITY() const;
    virtual QV_Value* QV_DefaultBASEUOMNAME() const;
    virtual QV_Value* QV_DefaultTAG() const;
    virtual QV_Value* QV_DefaultUNITS() const;
    virtual QV_Value* QV_DefaultUPPER() const;
    virtual QV_Value* QV_DefaultINTEGERPHYSICALQUANTITY() const;
};

class VZ_API QV_INTEGERPARAMETER : public QV_VarParam {
public:
    explicit QV_INTEGERPARAMETER(bool init = true);
    ~QV_INTEGERPARAMETER() override;
    QV_INTEGERPARAMETER(const QV_INTEGERPARAMETER& other) = default;
    QV_INTEGERPARAMETER& operator=(const QV_INTEGERPARAMETER& other);
    static const char* QV_ContainerId();
    void InitializeSystemAttributes();
    QV_INTEGERPARAMETER& operator*() { return *this; }
    int v() const;
    int fv() const;

    virtual QV_Value* QV_DefaultVALUE() const;
    virtual QV_Value* QV_DefaultLOWER() const;
    virtual QV_Value* QV_DefaultTAG() const;
    virtual QV_Value* QV_DefaultUPPER() const;
};

class VZ_API QV_STRINGPARAMETER : public QV_VarParam {
public:
    explicit QV_STRINGPARAMETER(bool init = true);
    ~QV_STRINGPARAMETER() override;
    QV_STRINGPARAMETER(const QV_STRINGPARAMETER& other) = default;
    QV_STRINGPARAMETER& operator=(const QV_STRINGPARAMETER& other);
    static const char* QV_ContainerId();
    void InitializeSystemAttributes();
    QV_STRINGPARAMETER& operator*() { return *this; }
    const char* v() const;
    const char* fv() const;
    operator const char*() const;

    virtual QV_Value* QV_DefaultVALUE() const;
    virtual QV_Value* QV_DefaultTAG() const;
    virtual QV_Value* QV_DefaultVALID() const;
    virtual QV_Value* QV_VALIDValue() const;
};

// A logical parameter whose default is false.
class VZ_API QV_FalseLOGICALPARAMETER : public QV_VarParam {
public:
    explicit QV_FalseLOGICALPARAMETER(bool init = true);
    ~QV_FalseLOGICALPARAMETER() override;
    QV_FalseLOGICALPARAMETER(const QV_FalseLOGICALPARAMETER& other) = default;
    QV_FalseLOGICALPARAMETER& operator=(const QV_FalseLOGICALPARAMETER& other);
    QV_FalseLOGICALPARAMETER& operator*() { return *this; }
    bool v() const;
    bool fv() const;
};

// The list of components of a model, port, stream or structure.
class VZ_API QV_COMPONENTLISTNAME : public QV_VarParamProp {
public:
    QV_COMPONENTLISTNAME();
    ~QV_COMPONENTLISTNAME() override;
    QV_COMPONENTLISTNAME(const QV_COMPONENTLISTNAME& other) = default;
    QV_COMPONENTLISTNAME& operator=(const QV_COMPONENTLISTNAME& other);
    void BeginPropertiesCall();
    void EndPropertiesCall();
    QV_COMPONENTLISTNAME& operator*() { return *this; }
};

// A variable: a value that the solver may compute.
class VZ_API QV_Variable : public QV_VarParam {
public:
    ~QV_Variable() override;
    bool IsSolverVariable() const override;
};

class VZ_API QV_REALVARIABLE : public QV_Variable {
public:
    explicit QV_REALVARIABLE(bool init = true);
    ~QV_REALVARIABLE() override;
    QV_REALVARIABLE(const QV_REALVARIABLE& other) = default;
    QV_REALVARIABLE& operator=(const QV_REALVARIABLE& other);
    static const char* QV_ContainerId();
    QV_REALVARIABLE& operator*() { return *this; }
    double v() const;
    double fv() const;
};

class VZ_API QV_PARTIALDERIVATIVE : public QV_REALVARIABLE {
public:
    explicit QV_PARTIALDERIVATIVE(bool init = true);
    ~QV_PARTIALDERIVATIVE() override;
    QV_PARTIALDERIVATIVE(const QV_PARTIALDERIVATIVE& other) = default;
    QV_PARTIALDERIVATIVE& operator=(const QV_PARTIALDERIVATIVE& other);
    static const char* QV_ContainerId();
    QV_PARTIALDERIVATIVE& operator*() { return *this; }
};
