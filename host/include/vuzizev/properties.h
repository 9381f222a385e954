// Parameters, variables and component lists: the host's property classes with values.
#pragma once

#include <memory>
#include <new>

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
    bool IsSpecified() const { return m_held != nullptr && !m_held->specified.IsEmpty(); }

    // The last default assignment (empty when none), with its tag.
    const QV_Value& LastAssignment() const;
    // The value in force: the user's, else the last assignment, else the type's default.
    const QV_Value& Current() const;

    // The value a property holds before anything is specified or assigned.
    const QV_Value* DefaultValueInForce() const;
    // The value as this property holds it, or none when it cannot hold it.
    bool Holds(const QV_Value& value, QV_Value& held) const;

    // The user's value, on its own block: few properties get one, while a model may assign a
    // value to every element of an array.
    class Specified {
    public:
        Specified() = default;
        Specified(const Specified& other);
        Specified& operator=(const Specified& other);
        bool IsEmpty() const { return m_value == nullptr || m_value->IsEmpty(); }
        const QV_Value& Get() const;
        void Set(QV_Value value);
        void Clear() { m_value.reset(); }

    private:
        std::unique_ptr<QV_Value> m_value;
    };

    // The last assignment and the user's value, kept from the first of either on: most
    // elements of an array never get one. A model may assign one per node, so it comes from
    // the host's allocator, which gives small blocks without a header; when that fails, the
    // property carries on without it (the allocator counts the failure).
    struct Held {
        static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
        static void operator delete(void* block) noexcept;
        static void operator delete(void* block, const std::nothrow_t&) noexcept;
        QV_Value assigned;
        Specified specified;
    };
    // Null when there is none and none can be had.
    Held* HeldValues();

    Held* m_held = nullptr;
};

// A variable or parameter that can stand in an equation's incidence.
class VZ_API QV_VarParam : public QV_VarParamProp {
public:
    ~QV_VarParam() override;
    virtual int QV_PQCol() const;
    virtual int QV_PQRow() const;
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

class VZ_API QV_REALVARIABLE : public QV_VarParam {
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
