// Procedures: the host bases of a procedure object, the constants bound to its arguments,
// the handle of its external routine and the equation it gives its owner.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "vuzizev/api.h"
#include "vuzizev/object.h"

class QV_VarParam;
class QV_Variable;
class QV_COMPONENTLISTNAME;
class QV_IntegerSetIter;
class QV_StringSetIter;
class QV_ModelTypeEx;
class QV_StructureTypeEx;

// An external routine: no result, sixteen pointers (call type, values in, input sizes,
// values out, output sizes, input offsets, output offsets, host int, host reals, host int
// copy, nonzero count, rows, columns, scratch, derivatives, ifail).
extern "C" {
using QV_ExternalRoutine = void (*)(int*, double*, int*, double*, int*, int*, int*, int*, double*,
                                    int*, int*, int*, int*, int*, double*, int*);
}

// The routine handle: the host's record of where a procedure's routine lives.
struct DLLFunction {
    const char* library = nullptr;
    const char* name = nullptr;
    QV_ExternalRoutine address = nullptr;
};

// A constant bound to an argument: an integer, a real or a string, read as any of them.
// Copied byte for byte; a string is kept by the host, so it outlives the caller's text.
class VZ_API ConstProcValue {
public:
    ConstProcValue();
    ConstProcValue& operator=(int value);
    ConstProcValue& operator=(double value);
    ConstProcValue& operator=(const char* value);

    // An integer reads as a real exactly; a real as an integer truncated toward zero
    // (saturating); a string as the number it starts with; an empty holder as 0 or "".
    int Integer() const;
    double Real() const;
    const char* String() const;

private:
    enum class Kind : int { None, Integer, Real, String };
    Kind m_kind = Kind::None;
    union {
        int m_integer;
        double m_real = 0.0;
        const char* m_string;
    };
};

// The host's update controller: told of every value a procedure writes back into one of
// its variables.
class VZ_API QV_IncrementalUpdate {
public:
    virtual void NotifyValueWritten(QV_VarParam* variable, int kind) = 0;

protected:
    ~QV_IncrementalUpdate() = default;
};

// The host's base of every procedure: when the routine runs, what is checked after, and
// the variable element list with the packing of array inputs from it.
class VZ_API QV_ProcedureType : public QV_PtrVectorObject {
public:
    enum CallType : int {
        CallNone = -1,
        CallResiduals = 0,
        CallPrecall = 1,
        CallPostcall = 2,
        CallJacobian = 3,
        CallWithDerivatives = 4,
    };

    QV_ProcedureType() = default;
    QV_ProcedureType(const QV_ProcedureType& other);
    QV_ProcedureType& operator=(const QV_ProcedureType& other);
    ~QV_ProcedureType() override;

    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    void SetMode(bool mode, int value);
    // Bytes of a value of the given type code: 2 and 3 integers, 4 reals, 5 strings.
    int TypeSize(int type) const;

    // Whether the last call of the routine that the host accepted was of this type.
    bool LastCall(CallType type) const;
    static bool AlwaysCall();
    bool PresetOutputs() const;
    static bool PostsetInputs();

    // Makes sure the routine's library is loaded; a negative value when it is not ready.
    int EnsureCompatibleDLLLoaded(int level);
    QV_ExternalRoutine GetProcedure13Address(DLLFunction* handle);
    // The status of a call from the routine's ifail: 0 or more accepted, negative refused.
    int CheckIFailAndOutputs(int ifail, CallType type, bool flag);
    // The controller to tell of values written back into variables; null when there is none.
    QV_IncrementalUpdate* UpdateController();

    // Each packer takes its elements from the element cursor on, writes those that differ
    // from dest (an array of the sizes given) and then sets the call-needed flag.
    bool PackIntegerArray(int* dest, int dims, const int* sizes);
    bool PackRealArray(double* dest, int dims, const int* sizes);

    void Destroy() override;
    virtual const char* ProcedureName() const = 0;
    virtual const char* DLLName() const = 0;
    virtual QV_COMPONENTLISTNAME* ComponentListName() const;
    virtual int Jacobian(double* entries, int& index) = 0;
    virtual int Residuals(double* residuals, int& index) = 0;
    virtual int Precall(bool flag);
    virtual int Postcall(bool flag);
    virtual QV_Variable* OutputVar(int k) const;

protected:
    // The next list entry for a packer; null past the list's end.
    QV_VarParam* NextElement();

    int m_lastCall = CallNone; // the type of the last accepted call
    DLLFunction m_routine{};
    int m_routineInt = 0;             // the routine's eighth parameter points here
    double* m_routineReals = nullptr; // its ninth
    int m_routineInt2 = 0;            // copied for its tenth: SetMode's value
    QV_VarParam** m_ppElements = nullptr;
    QV_VarParam** m_ppNextElement = nullptr;
    int m_nElementCapacity = 0;
    int m_nInputListEntries = 0; // input elements bound by reference, in the list
    int m_nOutputElements = 0;
    bool m_reservedFlag = false;
    bool m_bCallNeeded = false;

private:
    template <class T, class Read>
    bool PackArray(T* dest, int dims, const int* sizes, Read read);
};

// The base of procedures written in C or C++: the value buffer, the derivative blocks and
// the counts the description makes.
class VZ_API QV_ProcedureType_C : public QV_ProcedureType {
public:
    QV_ProcedureType_C();
    QV_ProcedureType_C(const QV_ProcedureType_C& other);
    QV_ProcedureType_C& operator=(const QV_ProcedureType_C& other);
    ~QV_ProcedureType_C() override;

    bool IsFortran() const;
    bool PackStringArray(char* dest, int dims, const int* sizes);
    bool PackStr(char* dest, const char* value);
    virtual void InitializeCStrings();

protected:
    // false: the description has ended; make the derivative blocks. true: the routine's
    // derivatives, negated, become the block that Jacobian reads.
    void HandleDerivatives(bool negate);
    // Makes the value buffer (slots doubles) and the element list for the counted elements.
    void FinalizeConstruction(int outputOffset, int slots);
    int LanguageBaseIndex() const;

    double* m_pValues = nullptr;
    int m_nValueSlots = 0;
    int m_nInputColumns = 0; // the list's input entries plus one per constant input
    int m_nSolverInputs = 0;
    int m_nOutputValues = 0;
    int m_nNonZeros = 0;
    double* m_pRoutineDerivs = nullptr;
    double* m_pJacobianDerivs = nullptr;

private:
    void CopyState(const QV_ProcedureType_C& other);
    void FreeState();
};

// The description interface of a procedure, through which the host binds its arguments
// and has it contribute its equations. A struct, as the host declares it: the tag is part of
// the decorated names of its members.
struct VZ_API QV_DynamicProcExtensions {
    QV_DynamicProcExtensions();
    QV_DynamicProcExtensions(const QV_DynamicProcExtensions& other);
    QV_DynamicProcExtensions& operator=(const QV_DynamicProcExtensions& other);

    // The host's compiler gathers the overloads of one name into consecutive slots, the last
    // declared first; declared in this order, the slots run Argument(), Argument(QV_VarParam&),
    // ... Argument(const char*), then the structure owner's overload before the model owner's.
    virtual void Argument(const char* value) = 0;
    virtual void Argument(QV_StringSetIter& member) = 0;
    virtual void Argument(int value) = 0;
    virtual void Argument(QV_IntegerSetIter& member) = 0;
    virtual void Argument(double value) = 0;
    virtual void Argument(QV_VarParam& variable) = 0;
    virtual void Argument() = 0;
    virtual void LastArgument() = 0;
    virtual int NZAndEqnContribution(QV_ModelTypeEx* owner, int group, int& equations) = 0;
    virtual int NZAndEqnContribution(QV_StructureTypeEx* owner, int group, int& equations) = 0;
    virtual void CreateEquationsAndSetGroup(int group, int hostA, int*& rows, int*& cols,
                                            int& counter, QV_ModelTypeEx* owner,
                                            const char* callName, int hostB) = 0;
    virtual void CreateEquationsAndSetGroup(int group, int hostA, int*& rows, int*& cols,
                                            int& counter, QV_StructureTypeEx* owner,
                                            const char* callName, int hostB) = 0;
    virtual void SetDimensionSize(int size) = 0;
    virtual void Element(QV_VarParam& element) = 0;

protected:
    ~QV_DynamicProcExtensions() = default;
};

// An equation of the host's. Made by whoever registers it; the model it is added to
// destroys it.
class VZ_API QV_EquationType : public QV_PtrVectorObject {
public:
    QV_EquationType() = default;
    ~QV_EquationType() override;
    const char* Name() const override = 0;
};

// The equation y - f = 0 of one output element of a procedure call.
class VZ_API QV_ProcedureEquationType : public QV_EquationType {
public:
    QV_ProcedureEquationType(QV_ProcedureType* procedure, int number, int hostA,
                             QV_Containable* owner, const char* callName, int counter, int hostB,
                             const char* name);
    ~QV_ProcedureEquationType() override;

    const char* Name() const override;

private:
    std::string m_name;
};
