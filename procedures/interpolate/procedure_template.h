// The state and the operations every procedure of the library shares: the description of
// its arguments, the layout of the value buffer, the packing of the inputs with change
// detection, the call of the external routine and the equations it contributes.
//
// Names of members and of the host base's counts, with what each holds:
//   m_argCursor         argument being described (-1 before the first), or packed
//   m_runningOffset     8-byte slots of the value buffer laid out so far
//   m_argOffsets        per argument, its first slot plus the host's language base index
//   m_dimSizes          the sizes of every array argument's dimensions, in argument order
//   m_firstOutputDim    where in m_dimSizes the outputs' sizes begin
//   m_argElementCount   element product of the array being described
//   m_pendingDims       dimensions of the array being described still to come
//   m_nInputListEntries input elements bound by reference (the list's input entries)
//   m_nInputColumns     those entries plus one per constant input: the routine's columns
//   m_nOutputElements   output elements described; m_nOutputValues the host's copy
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <type_traits>

#include <vuzizev/model.h>
#include <vuzizev/procedure.h>
#include <vuzizev/properties.h>
#include <vuzizev/sets.h>

#include "framework/api.h"
#include "procedures/interpolate/side_block.h"

namespace pellorin {

// Status of every evaluation of a procedure whose description broke the protocol, or that
// could not make what it needs; the routine is not called.
constexpr int kProcedureUnusable = -1000;

// Arrays of the procedure's own, from the host's allocator; null when that fails or the
// byte count does not fit.
template <class T>
T* NewHostArray(std::int64_t count, bool zeroed) {
    if (count <= 0 || std::uint64_t(count) > SIZE_MAX / sizeof(T)) {
        return nullptr;
    }
    const std::size_t bytes = std::size_t(count) * sizeof(T);
    void* memory = MyAllocate(bytes);
    if (memory != nullptr && zeroed) {
        std::memset(memory, 0, bytes);
    }
    return static_cast<T*>(memory);
}

// What a procedure keeps beyond the members the host lays out, in a block of its own (all
// zero at first): the guards of the protocol and of the call, and the solver status of its
// input elements.
struct ProcedureGuards {
    int descriptions;    // descriptions ended: 1 after building, 2 after storing
    bool invalid;        // the description broke the protocol, or a step failed
    bool callIncomplete; // a call began and the host has not accepted it
    int argElementsSeen;
    int builtListEntries;
    int builtColumns;
    int builtOutputs;
    bool* solverFlags;
    int solverCapacity;
};

} // namespace pellorin

// The template itself is not exported: each procedure's header declares the instance it derives
// from as exported, and the library makes that instance whole, so that a program can still make
// instances of its own.
template <class Derived, int NInputs, int NOutputs, int MaxDims, class HostBase, int Compatibility>
class QV_ProcedureTemplate : public HostBase, public QV_DynamicProcExtensions {
    static constexpr int kArgs = NInputs + NOutputs;
    static constexpr int kDimSlots = MaxDims + 1;

public:
    QV_ProcedureTemplate();
    // A copy takes the layout and the constants; the index arrays are its own, made again
    // when first needed.
    QV_ProcedureTemplate(const QV_ProcedureTemplate& other);
    QV_ProcedureTemplate& operator=(const QV_ProcedureTemplate& other);
    ~QV_ProcedureTemplate() override;

    // The argument counts; the results are const, as the host declares them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
    static const int InputArgs();
    static const int OutputArgs();
    static const int TotalArgs();
#pragma GCC diagnostic pop

    // ---- Description -----------------------------------------------------------------

    void Argument() override;
    void Argument(QV_VarParam& variable) override;
    void Argument(double value) override;
    void Argument(QV_IntegerSetIter& member) override;
    void Argument(int value) override;
    void Argument(QV_StringSetIter& member) override;
    void Argument(const char* value) override;

    bool ByReference(int k) const;

    // Advances to the next argument; in the building pass, lays it out. Past the last
    // argument or the last pass, the procedure becomes invalid instead.
    void SetArg(bool byReference);

    void SetOffset(int slot);

    void SetDimensionSize(int size) override;

    void Element(QV_VarParam& element) override;

    void LastArgument() override;

    // ---- Offsets and constants -------------------------------------------------------

    int GetOffset(int k) const;
    const int* GetOffsets(int k) const;
    int GetIntegerArg(int k) const;
    double GetRealArg(int k) const;
    const char* GetStringArg(int k) const;

    // Points each string of a string array input at its cell (not for Fortran routines,
    // which take the cells alone).
    void InitializeCStrings() override;

    // ---- Packing -----------------------------------------------------------------------

    void PackInputVars();

    // Each packs the argument at the cursor and moves the cursor on; the numbers answer
    // whether any input has changed so far, the text what the host's packer answers.
    bool PackVal(int value);
    bool PackVal(double value);
    bool PackVal(const char* value);

    bool PackVarInteger();
    bool PackVarReal();
    bool PackVarString();

    // Presets the output slots with the output variables' values, from the element cursor.
    void PackOutputVars();

    // Writes the values the routine left in the buffer back into the variable inputs.
    void UnpackInputVars();

    // ---- Evaluation ------------------------------------------------------------------

    int CallFn(QV_ProcedureType::CallType type, bool flag);

    // Each output variable less the computed output, from residuals[index] on.
    int Residuals(double* residuals, int& index) override;

    // Per output: 1 for the output variable, then the negated derivative of each input
    // element that is a solver variable, in the order of the equation's terms.
    int Jacobian(double* entries, int& index) override;

    // ---- Equations -------------------------------------------------------------------

    int NZAndEqnContribution(QV_StructureTypeEx* owner, int group, int& equations) override;
    int NZAndEqnContribution(QV_ModelTypeEx* owner, int group, int& equations) override;
    void CreateEquationsAndSetGroup(int group, int hostA, int*& rows, int*& cols, int& counter,
                                    QV_StructureTypeEx* owner, const char* callName,
                                    int hostB) override;
    void CreateEquationsAndSetGroup(int group, int hostA, int*& rows, int*& cols, int& counter,
                                    QV_ModelTypeEx* owner, const char* callName,
                                    int hostB) override;

    // Whether both descriptions ended as the protocol has them and nothing needed is missing.
    bool Usable() const;

    // The rows of the procedure's equations, as the host is told of them: one per output
    // value, none while the procedure is unusable. Every evaluation moves the host's index
    // past its rows, whatever its status.
    int OutputRows() const;

private:
    Derived* P();
    const Derived* P() const;

    void Invalidate();

    // The guards of this procedure, in its own block; when that block could not be made,
    // guards that mark the procedure unusable.
    pellorin::ProcedureGuards& G() const;

    template <class T>
    void BindConstant(T value) {
        SetArg(false);
        if (G().invalid) {
            return;
        }
        // A constant has one slot and one column: only a scalar input can take one.
        if (m_argCursor >= NInputs || Derived::Dimensions(m_argCursor) != 0) {
            Invalidate();
            return;
        }
        ++this->m_nInputColumns;
        m_constValues[m_argCursor] = value;
    }

    // Ends the argument being described: it must have had all its sizes and elements.
    bool CloseArgument() const;

    // Elements of argument k as the building pass laid it out.
    int ElementsOf(int k) const;

    // The element product of dims sizes from position dim on, which moves past them.
    int SizesFrom(int& dim, int dims) const;

    void AddSlots(std::int64_t slots);

    static std::size_t TableBytes(int count);

    unsigned char* Slot(int k);
    template <class Element, class Read, class PackArray>
    bool PackVar(Read read, PackArray packArray);

    // The solver status of every input element, as the building pass found it; the counts,
    // the equations' terms and the Jacobian all follow it. False when it cannot be kept.
    bool RecordSolverStatus(bool solver);

    bool StoreElement(int position, int limit, QV_VarParam& element);

    // The call step: the library check, the index arrays, the routine with its sixteen
    // pointers, inside the component list's properties call. ifail is what the routine
    // left; a negative result ends the evaluation without a check.
    int CallRoutine(QV_ProcedureType::CallType type, int& ifail);

    bool MakeIndexArrays();

    // Makes the derivative block Jacobian reads when the host has none; false when it
    // cannot be made, and the evaluation then fails without a call.
    bool HaveJacobianBlock();

    template <class Owner>
    int Contribution(Owner* owner, int group, int& equations);

    template <class Owner>
    void CreateEquations(int group, int hostA, int*& rows, int*& cols, int& counter, Owner* owner,
                         const char* callName, int hostB);

    // Write back the count elements of input k, from the element cursor on, whose values
    // the routine changed; each takes its list entry whether written or not.
    template <class T>
    void WriteBackNumbers(int k, int count, QV_Value& written);
    void WriteBackStrings(int k, int count, QV_Value& written);
    // Writes value into element and tells the host's update controller.
    template <class V>
    void Write(QV_VarParam& element, QV_Value& written, V value);

    void ReleaseIndexArrays();

    void ReleaseOwnedArrays();

    void CopyMembers(const QV_ProcedureTemplate& other);

    // The members, in the order and of the types the host lays out; everything else the
    // procedure keeps is in its guards' block (G()).
    int m_argElementCount = 0;
    int m_pendingDims = 0;
    int m_dimCursor = 0;
    int m_firstOutputDim = 0;
    int m_dimSizes[kDimSlots] = {};
    int m_argCursor = -1;
    int m_runningOffset = 0;
    int m_argOffsets[kArgs] = {};
    double* m_savedOutputs = nullptr; // outputs kept while differencing, which is not built
    bool m_building = true;
    bool m_byReference[kArgs] = {};
    ConstProcValue m_constValues[kArgs];
    int* m_rowIndices = nullptr;
    int* m_colIndices = nullptr;
    bool m_derivativesStale = true;
};

// Out-of-class definitions of the template's members, so that an exported instance
// exports them all.
#define PELLORIN_PROCEDURE_TEMPLATE                                                                \
    template <class Derived, int NInputs, int NOutputs, int MaxDims, class HostBase,               \
              int Compatibility>
#define PELLORIN_PROCEDURE                                                                         \
    QV_ProcedureTemplate<Derived, NInputs, NOutputs, MaxDims, HostBase, Compatibility>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
PELLORIN_PROCEDURE_TEMPLATE
const int PELLORIN_PROCEDURE::InputArgs() {
    return NInputs;
}
PELLORIN_PROCEDURE_TEMPLATE
const int PELLORIN_PROCEDURE::OutputArgs() {
    return NOutputs;
}
PELLORIN_PROCEDURE_TEMPLATE
const int PELLORIN_PROCEDURE::TotalArgs() {
    return kArgs;
}
#pragma GCC diagnostic pop
PELLORIN_PROCEDURE_TEMPLATE
Derived* PELLORIN_PROCEDURE::P() {
    return static_cast<Derived*>(this);
}
PELLORIN_PROCEDURE_TEMPLATE
const Derived* PELLORIN_PROCEDURE::P() const {
    return static_cast<const Derived*>(this);
}
PELLORIN_PROCEDURE_TEMPLATE
pellorin::ProcedureGuards& PELLORIN_PROCEDURE::G() const {
    if (void* block = pellorin::side::Find(static_cast<const void*>(this))) {
        return *static_cast<pellorin::ProcedureGuards*>(block);
    }
    static pellorin::ProcedureGuards unusable; // what is written to it is never read back
    unusable = {};
    unusable.invalid = true;
    return unusable;
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::Invalidate() {
    G().invalid = true;
}

PELLORIN_PROCEDURE_TEMPLATE
PELLORIN_PROCEDURE::QV_ProcedureTemplate() {
    this->m_reservedFlag = false;
    pellorin::side::Make(static_cast<const void*>(this), sizeof(pellorin::ProcedureGuards));
}

PELLORIN_PROCEDURE_TEMPLATE
PELLORIN_PROCEDURE::QV_ProcedureTemplate(const QV_ProcedureTemplate& other)
    : HostBase(other), QV_DynamicProcExtensions(other) {
    pellorin::side::Make(static_cast<const void*>(this), sizeof(pellorin::ProcedureGuards));
    CopyMembers(other);
}

PELLORIN_PROCEDURE_TEMPLATE
PELLORIN_PROCEDURE& PELLORIN_PROCEDURE::operator=(const QV_ProcedureTemplate& other) {
    if (this != &other) {
        HostBase::operator=(other);
        QV_DynamicProcExtensions::operator=(other);
        ReleaseOwnedArrays();
        CopyMembers(other);
    }
    return *this;
}

PELLORIN_PROCEDURE_TEMPLATE
PELLORIN_PROCEDURE::~QV_ProcedureTemplate() {
    ReleaseOwnedArrays();
    MyFree(G().solverFlags);
    pellorin::side::Release(static_cast<const void*>(this));
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::ReleaseIndexArrays() {
    MyFree(m_rowIndices);
    MyFree(m_colIndices);
    m_rowIndices = nullptr;
    m_colIndices = nullptr;
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::ReleaseOwnedArrays() {
    MyFree(m_savedOutputs);
    m_savedOutputs = nullptr;
    ReleaseIndexArrays();
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::CopyMembers(const QV_ProcedureTemplate& other) {
    m_argElementCount = other.m_argElementCount;
    m_pendingDims = other.m_pendingDims;
    m_dimCursor = other.m_dimCursor;
    m_firstOutputDim = other.m_firstOutputDim;
    std::memcpy(m_dimSizes, other.m_dimSizes, sizeof m_dimSizes);
    m_argCursor = other.m_argCursor;
    m_runningOffset = other.m_runningOffset;
    std::memcpy(m_argOffsets, other.m_argOffsets, sizeof m_argOffsets);
    m_building = other.m_building;
    std::memcpy(m_byReference, other.m_byReference, sizeof m_byReference);
    std::copy(other.m_constValues, other.m_constValues + kArgs, m_constValues);
    m_derivativesStale = other.m_derivativesStale;
    if (pellorin::side::Find(static_cast<const void*>(this)) == nullptr) {
        return; // no guards of its own: the procedure is unusable
    }
    pellorin::ProcedureGuards& g = G();
    const pellorin::ProcedureGuards from = other.G();
    MyFree(g.solverFlags);
    g = from;
    g.callIncomplete = true; // a copy's buffers hold nothing that its own call made
    g.solverFlags = nullptr;
    g.solverCapacity = 0;
    if (from.solverFlags != nullptr) {
        g.solverFlags = pellorin::NewHostArray<bool>(from.solverCapacity, true);
        if (g.solverFlags == nullptr) {
            Invalidate();
        } else {
            g.solverCapacity = from.solverCapacity;
            std::memcpy(g.solverFlags, from.solverFlags, std::size_t(g.solverCapacity));
        }
    }
}

#include "procedures/interpolate/procedure_call.inl"
#include "procedures/interpolate/procedure_description.inl"
#include "procedures/interpolate/procedure_equations.inl"
#include "procedures/interpolate/procedure_packing.inl"

#undef PELLORIN_PROCEDURE
#undef PELLORIN_PROCEDURE_TEMPLATE
