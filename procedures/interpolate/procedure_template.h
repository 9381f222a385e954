// The state and the operations every procedure of the library shares: the description of
// its arguments, the layout of the value buffer, the packing of the inputs with change
// detection, the call of the external routine and the equations it contributes.
//
// Names of members and of the host base's counts, with what each holds:
//   m_argCursor         argument being described, or packed (-1 before the first)
//   m_runningSlots      8-byte slots of the value buffer laid out so far
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
#include <string>

#include <vuzizev/model.h>
#include <vuzizev/procedure.h>
#include <vuzizev/properties.h>
#include <vuzizev/sets.h>

#include "framework/api.h"

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

} // namespace pellorin

template <class Derived, int NInputs, int NOutputs, int MaxDims, class HostBase, int Compatibility>
class PELLORIN_API QV_ProcedureTemplate : public HostBase, public QV_DynamicProcExtensions {
    static constexpr int kArgs = NInputs + NOutputs;
    static constexpr int kDimSlots = MaxDims + 1;

public:
    QV_ProcedureTemplate() { this->m_reservedFlag = false; }
    // A copy takes the layout and the constants; the index arrays are its own, made again
    // when first needed.
    QV_ProcedureTemplate(const QV_ProcedureTemplate& other)
        : HostBase(other), QV_DynamicProcExtensions(other) {
        CopyMembers(other);
    }
    QV_ProcedureTemplate& operator=(const QV_ProcedureTemplate& other) {
        if (this != &other) {
            HostBase::operator=(other);
            QV_DynamicProcExtensions::operator=(other);
            ReleaseOwnedArrays();
            CopyMembers(other);
        }
        return *this;
    }
    ~QV_ProcedureTemplate() override {
        ReleaseOwnedArrays();
        MyFree(m_solverFlags);
    }

    static int InputArgs() { return NInputs; }
    static int OutputArgs() { return NOutputs; }
    static int TotalArgs() { return kArgs; }

    // ---- Description -----------------------------------------------------------------

    void Argument() override { SetArg(true); }
    void Argument(QV_VarParam& variable) override {
        if (SetArg(true)) {
            Element(variable);
        }
    }
    void Argument(double value) override { BindConstant(value); }
    void Argument(QV_IntegerSetIter& member) override { BindConstant(member.v()); }
    void Argument(int value) override { BindConstant(value); }
    void Argument(QV_StringSetIter& member) override { BindConstant(member.v()); }
    void Argument(const char* value) override { BindConstant(value); }

    bool ByReference(int k) const { return m_byReference[k]; }

    // Advances to the next argument; in the building pass, lays it out. False when the
    // description has gone past the last argument or the last pass.
    bool SetArg(bool byReference) {
        if (m_descriptions >= 2 || m_argCursor + 1 >= kArgs || !CloseArgument()) {
            Invalidate();
            return false;
        }
        ++m_argCursor;
        m_byReference[m_argCursor] = byReference;
        m_argElementsSeen = 0;
        if (!m_building) {
            return true;
        }
        SetOffset(m_runningSlots);
        m_pendingDims = Derived::Dimensions(m_argCursor);
        if (m_pendingDims == 0) {
            AddSlots((this->TypeSize(Derived::Type(m_argCursor)) + 7) / 8);
        } else {
            m_argElementCount = 1;
        }
        if (m_argCursor == NInputs) {
            m_firstOutputDim = m_dimCursor;
        }
        return true;
    }

    void SetOffset(int slot) { m_argOffsets[m_argCursor] = slot + this->LanguageBaseIndex(); }

    void SetDimensionSize(int size) override {
        if (!m_building) {
            return;
        }
        if (m_argCursor < 0 || m_pendingDims <= 0 || m_dimCursor >= kDimSlots || size < 0) {
            Invalidate();
            return;
        }
        m_dimSizes[m_dimCursor++] = size;
        const std::int64_t product = std::int64_t(m_argElementCount) * size;
        m_argElementCount = product > INT_MAX ? INT_MAX : int(product);
        if (product > INT_MAX) {
            Invalidate();
        }
        if (--m_pendingDims > 0) {
            return;
        }
        const int type = Derived::Type(m_argCursor);
        if (type == 5 && !this->IsFortran()) {
            AddSlots((std::int64_t(m_argElementCount) * std::int64_t(sizeof(char*)) + 7) / 8);
        }
        AddSlots((std::int64_t(m_argElementCount) * this->TypeSize(type) + 7) / 8);
    }

    void Element(QV_VarParam& element) override {
        if (m_argCursor < 0 || m_descriptions >= 2 || !m_byReference[m_argCursor] ||
            m_argElementsSeen >= ElementsOf(m_argCursor)) {
            Invalidate();
            return;
        }
        ++m_argElementsSeen;
        if (m_argCursor < NInputs) {
            if (m_building) {
                RecordSolverStatus(element.IsSolverVariable());
            } else if (!StoreElement(this->m_nInputListEntries, m_builtListEntries, element)) {
                return;
            }
            ++this->m_nInputListEntries;
            ++this->m_nInputColumns;
        } else {
            if (!m_building && !StoreElement(this->m_nInputListEntries + this->m_nOutputElements,
                                             m_builtListEntries + m_builtOutputs, element)) {
                return;
            }
            ++this->m_nOutputElements;
        }
    }

    void LastArgument() override {
        if (m_building) {
            if (m_argCursor != kArgs - 1 || !CloseArgument()) {
                Invalidate();
            }
            m_builtListEntries = this->m_nInputListEntries;
            m_builtColumns = this->m_nInputColumns;
            m_builtOutputs = this->m_nOutputElements;
            P()->CreateDerivatives();
            this->FinalizeConstruction(GetOffset(NInputs), m_runningSlots);
            this->m_nInputListEntries = 0;
            this->m_nOutputElements = 0;
            this->m_nInputColumns = 0;
            m_argCursor = -1;
            m_building = false;
            m_descriptions = 1;
        } else if (m_descriptions == 1) {
            // The storing pass must give the elements the building pass counted.
            if (m_argCursor != kArgs - 1 || !CloseArgument() ||
                this->m_nInputListEntries != m_builtListEntries ||
                this->m_nInputColumns != m_builtColumns ||
                this->m_nOutputElements != m_builtOutputs) {
                Invalidate();
            }
            m_descriptions = 2;
        } else {
            Invalidate();
        }
    }

    // ---- Offsets and constants -------------------------------------------------------

    int GetOffset(int k) const { return m_argOffsets[k] - this->LanguageBaseIndex(); }
    const int* GetOffsets(int k) const { return &m_argOffsets[k]; }
    int GetIntegerArg(int k) const { return m_constArgs[k].Integer(); }
    double GetRealArg(int k) const { return m_constArgs[k].Real(); }
    const char* GetStringArg(int k) const { return m_constArgs[k].String(); }

    // Points each string of a string array input at its cell (not for Fortran routines,
    // which take the cells alone).
    void InitializeCStrings() override {
        if (!Usable() || this->IsFortran()) {
            return;
        }
        int dim = 0;
        for (int k = 0; k < NInputs; ++k) {
            const int count = SizesFrom(dim, Derived::Dimensions(k));
            if (Derived::Type(k) == 5 && Derived::Dimensions(k) > 0) {
                char* first = reinterpret_cast<char*>(this->m_pValues + GetOffset(k));
                char** table = reinterpret_cast<char**>(first);
                char* cells = first + TableBytes(count);
                for (int e = 0; e < count; ++e) {
                    table[e] = cells + std::size_t(e) * this->TypeSize(5);
                }
            }
        }
    }

    // ---- Packing -----------------------------------------------------------------------

    void PackInputVars() {
        m_argCursor = -1;
        m_dimCursor = 0;
        this->m_ppNextElement = this->m_ppElements;
        for (int k = 0; k < NInputs; ++k) {
            switch (Derived::Type(k)) {
            case 2:
            case 3:
                m_byReference[k] ? PackVarInteger(k) : PackVal(GetIntegerArg(k));
                break;
            case 4:
                m_byReference[k] ? PackVarReal(k) : PackVal(GetRealArg(k));
                break;
            case 5:
                m_byReference[k] ? PackVarString(k) : PackVal(GetStringArg(k));
                break;
            default:
                ++m_argCursor;
                break;
            }
        }
    }

    void PackVal(int value) {
        unsigned char* slot = Slot(++m_argCursor);
        int old;
        std::memcpy(&old, slot, sizeof old);
        if (old != value) {
            std::memcpy(slot, &value, sizeof value);
            this->m_bCallNeeded = true;
        }
    }
    void PackVal(double value) {
        double* slot = reinterpret_cast<double*>(Slot(++m_argCursor));
        if (*slot != value) { // a NaN always differs; +0 and -0 do not
            *slot = value;
            this->m_bCallNeeded = true;
        }
    }
    void PackVal(const char* value) {
        this->PackStr(reinterpret_cast<char*>(Slot(++m_argCursor)), value);
    }

    void PackVarInteger(int k) {
        if (Derived::Dimensions(k) == 0) {
            PackVal((*this->m_ppNextElement++)->Current().AsInteger());
            return;
        }
        this->PackIntegerArray(reinterpret_cast<int*>(Slot(++m_argCursor)), Derived::Dimensions(k),
                               &m_dimSizes[m_dimCursor]);
        m_dimCursor += Derived::Dimensions(k);
    }
    void PackVarReal(int k) {
        if (Derived::Dimensions(k) == 0) {
            PackVal((*this->m_ppNextElement++)->Current().AsReal());
            return;
        }
        this->PackRealArray(reinterpret_cast<double*>(Slot(++m_argCursor)), Derived::Dimensions(k),
                            &m_dimSizes[m_dimCursor]);
        m_dimCursor += Derived::Dimensions(k);
    }
    void PackVarString(int k) {
        if (Derived::Dimensions(k) == 0) {
            PackVal((*this->m_ppNextElement++)->Current().AsText());
            return;
        }
        this->PackStringArray(reinterpret_cast<char*>(Slot(++m_argCursor)), Derived::Dimensions(k),
                              &m_dimSizes[m_dimCursor]);
        m_dimCursor += Derived::Dimensions(k);
    }

    // Presets the output slots with the output variables' values, from the element cursor.
    void PackOutputVars() {
        double* out = this->m_pValues + GetOffset(NInputs);
        for (int j = 0; j < this->m_nOutputValues; ++j) {
            out[j] = (*this->m_ppNextElement++)->Current().AsReal();
        }
    }

    // Writes the values the routine left in the buffer back into the variable inputs.
    void UnpackInputVars() {
        this->m_ppNextElement = this->m_ppElements;
        m_dimCursor = 0;
        QV_Value written(0.0, 0x3E000000u);
        for (int k = 0; k < NInputs; ++k) {
            const int count = SizesFrom(m_dimCursor, Derived::Dimensions(k));
            if (!m_byReference[k]) {
                continue;
            }
            if (!Derived::IsVariableInput(k)) {
                this->m_ppNextElement += count;
                continue;
            }
            const unsigned char* first = Slot(k);
            if (Derived::Type(k) == 5 && Derived::Dimensions(k) > 0 && !this->IsFortran()) {
                first += TableBytes(count);
            }
            for (int e = 0; e < count; ++e) {
                QV_VarParam* element = *this->m_ppNextElement++;
                if (element->IsSolverVariable()) {
                    WriteBack(*element, Derived::Type(k), first, e);
                }
            }
        }
        m_dimCursor = 0;
        m_argCursor = 0;
    }

    // ---- Evaluation ------------------------------------------------------------------

    int CallFn(QV_ProcedureType::CallType type, bool flag) {
        static_assert(Derived::ReturnsDerivatives(),
                      "derivatives by differences are not built: the routine must return them");
        if (!Usable()) {
            return pellorin::kProcedureUnusable;
        }
        int effective = type;
        if (type == QV_ProcedureType::CallResiduals || type == QV_ProcedureType::CallJacobian) {
            effective = QV_ProcedureType::CallWithDerivatives;
        }
        switch (effective) {
        case QV_ProcedureType::CallWithDerivatives:
            this->m_bCallNeeded = !this->LastCall(QV_ProcedureType::CallWithDerivatives) ||
                                  QV_ProcedureType::AlwaysCall() || NInputs == 0;
            this->m_bCallNeeded = this->m_bCallNeeded || m_callIncomplete;
            break;
        case QV_ProcedureType::CallPrecall:
            if (this->LastCall(QV_ProcedureType::CallPrecall)) {
                return 0;
            }
            if (this->m_pRoutineDerivs != nullptr) {
                std::fill_n(this->m_pRoutineDerivs, this->m_nNonZeros, 0.0);
            }
            this->m_bCallNeeded = true;
            break;
        case QV_ProcedureType::CallPostcall:
            if (this->LastCall(QV_ProcedureType::CallPostcall) ||
                this->LastCall(QV_ProcedureType::CallNone)) {
                return 0;
            }
            this->m_bCallNeeded = true;
            break;
        default:
            break;
        }
        PackInputVars();
        if (!this->m_bCallNeeded) {
            return 0;
        }
        m_derivativesStale = true;
        if (P()->PresetOutputs()) {
            PackOutputVars();
        }
        m_callIncomplete = true;
        int ifail = 1;
        const int called = CallRoutine(QV_ProcedureType::CallType(effective), ifail);
        if (called < 0) {
            return called;
        }
        const int status =
            this->CheckIFailAndOutputs(ifail, QV_ProcedureType::CallType(effective), flag);
        if (status < 0) {
            return status;
        }
        m_callIncomplete = false;
        if (this->LastCall(QV_ProcedureType::CallResiduals) ||
            this->LastCall(QV_ProcedureType::CallWithDerivatives)) {
            if (QV_ProcedureType::PostsetInputs()) {
                UnpackInputVars();
            }
            if (this->LastCall(QV_ProcedureType::CallWithDerivatives)) {
                P()->NegateDerivatives();
            }
        }
        return status;
    }

    // Each output variable less the computed output, from residuals[index] on.
    int Residuals(double* residuals, int& index) override {
        const int status = CallFn(QV_ProcedureType::CallResiduals, true);
        if (status < 0) {
            index += this->m_nOutputValues;
            return status;
        }
        const double* out = this->m_pValues + GetOffset(NInputs);
        QV_VarParam** outputs = this->m_ppElements + this->m_nInputListEntries;
        for (int j = 0; j < this->m_nOutputValues; ++j) {
            residuals[index++] = outputs[j]->Current().AsReal() - out[j];
        }
        return status;
    }

    // Per output: 1 for the output variable, then the negated derivative of each input
    // element that is a solver variable, in the order of the equation's terms.
    int Jacobian(double* entries, int& index) override {
        if (!Usable()) {
            return pellorin::kProcedureUnusable;
        }
        const std::int64_t blockSize =
            std::int64_t(this->m_nInputColumns) * this->m_nOutputElements;
        if (this->m_pJacobianDerivs == nullptr && blockSize > 0) {
            this->m_pJacobianDerivs = pellorin::NewHostArray<double>(blockSize, true);
            if (this->m_pJacobianDerivs == nullptr) {
                return pellorin::kProcedureUnusable;
            }
            m_callIncomplete = true; // a new block holds nothing yet: the routine must run
        }
        const int status = CallFn(QV_ProcedureType::CallJacobian, true);
        const double* block = this->m_pJacobianDerivs;
        std::int64_t d = 0;
        for (int row = 0; row < this->m_nOutputValues; ++row) {
            entries[index++] = 1.0;
            int entry = 0;
            for (int k = 0; k < NInputs; ++k) {
                if (!m_byReference[k]) {
                    ++d;
                    continue;
                }
                const int count = ElementsOf(k);
                for (int e = 0; e < count; ++e, ++entry, ++d) {
                    if (m_solverFlags[entry]) {
                        entries[index++] = block != nullptr ? block[d] : 0.0;
                    }
                }
            }
        }
        return status;
    }

    int Precall(bool flag) override { return CallFn(QV_ProcedureType::CallPrecall, flag); }

    // ---- Equations -------------------------------------------------------------------

    int NZAndEqnContribution(QV_StructureTypeEx* owner, int group, int& equations) override {
        return Contribution(owner, group, equations);
    }
    int NZAndEqnContribution(QV_ModelTypeEx* owner, int group, int& equations) override {
        return Contribution(owner, group, equations);
    }
    void CreateEquationsAndSetGroup(int group, int hostA, int*& rows, int*& cols, int& counter,
                                    QV_StructureTypeEx* owner, const char* callName,
                                    int hostB) override {
        CreateEquations(group, hostA, rows, cols, counter, owner, callName, hostB);
    }
    void CreateEquationsAndSetGroup(int group, int hostA, int*& rows, int*& cols, int& counter,
                                    QV_ModelTypeEx* owner, const char* callName,
                                    int hostB) override {
        CreateEquations(group, hostA, rows, cols, counter, owner, callName, hostB);
    }

    // Whether both descriptions ended as the protocol has them and nothing needed is missing.
    bool Usable() const {
        return m_descriptions == 2 && !m_invalid && this->m_pValues != nullptr &&
               (this->m_ppElements != nullptr || m_builtListEntries + m_builtOutputs == 0);
    }

private:
    Derived* P() { return static_cast<Derived*>(this); }
    const Derived* P() const { return static_cast<const Derived*>(this); }

    void Invalidate() { m_invalid = true; }

    template <class T>
    void BindConstant(T value) {
        if (!SetArg(false)) {
            return;
        }
        // A constant has one slot and one column: only a scalar input can take one.
        if (m_argCursor >= NInputs || Derived::Dimensions(m_argCursor) != 0) {
            Invalidate();
            return;
        }
        ++this->m_nInputColumns;
        m_constArgs[m_argCursor] = value;
    }

    // Ends the argument being described: it must have had all its sizes and elements.
    bool CloseArgument() const {
        if (m_argCursor < 0 || !m_byReference[m_argCursor]) {
            return true;
        }
        if (m_building && m_pendingDims > 0) {
            return false;
        }
        return m_argElementsSeen == ElementsOf(m_argCursor);
    }

    // Elements of argument k as the building pass laid it out.
    int ElementsOf(int k) const {
        int dim = 0;
        for (int j = 0; j < k; ++j) {
            dim += Derived::Dimensions(j);
        }
        if (m_building && k == m_argCursor && Derived::Dimensions(k) > 0) {
            return m_pendingDims > 0 ? 0 : m_argElementCount;
        }
        return SizesFrom(dim, Derived::Dimensions(k));
    }

    // The element product of dims sizes from position dim on, which moves past them.
    int SizesFrom(int& dim, int dims) const {
        std::int64_t count = 1;
        for (int j = 0; j < dims; ++j, ++dim) {
            count *= dim < kDimSlots ? m_dimSizes[dim] : 0;
            count = count > INT_MAX ? INT_MAX : count;
        }
        return int(count);
    }

    void AddSlots(std::int64_t slots) {
        const std::int64_t total = std::int64_t(m_runningSlots) + slots;
        if (slots < 0 || total > INT_MAX) {
            Invalidate();
            return;
        }
        m_runningSlots = int(total);
    }

    static std::size_t TableBytes(int count) {
        return (std::size_t(count) * sizeof(char*) + 7) / 8 * 8;
    }

    unsigned char* Slot(int k) {
        return reinterpret_cast<unsigned char*>(this->m_pValues + GetOffset(k));
    }

    // The solver status of every input element, as the building pass found it; the counts,
    // the equations' terms and the Jacobian all follow it.
    void RecordSolverStatus(bool solver) {
        const int n = this->m_nInputListEntries;
        if (n >= m_solverCapacity) {
            const int capacity = m_solverCapacity < 16 ? 16 : 2 * m_solverCapacity;
            bool* grown = pellorin::NewHostArray<bool>(capacity, true);
            if (grown == nullptr) {
                Invalidate();
                return;
            }
            if (m_solverFlags != nullptr) {
                std::memcpy(grown, m_solverFlags, std::size_t(n));
            }
            MyFree(m_solverFlags);
            m_solverFlags = grown;
            m_solverCapacity = capacity;
        }
        m_solverFlags[n] = solver;
        this->m_nSolverInputs += solver ? 1 : 0;
    }

    bool StoreElement(int position, int limit, QV_VarParam& element) {
        if (position >= limit || position >= this->m_nElementCapacity ||
            this->m_ppElements == nullptr) {
            Invalidate();
            return false;
        }
        this->m_ppElements[position] = &element;
        return true;
    }

    // The call step: the library check, the index arrays, the routine with its sixteen
    // pointers, inside the component list's properties call. ifail is what the routine
    // left; a negative result ends the evaluation without a check.
    int CallRoutine(QV_ProcedureType::CallType type, int& ifail) {
        ifail = 1;
        int callType = type;
        int hostInt2 = this->m_routineInt2;
        const int loaded = this->EnsureCompatibleDLLLoaded(Compatibility);
        if (loaded < 0) {
            return loaded;
        }
        const std::int64_t dense = std::int64_t(this->m_nOutputElements) * this->m_nInputColumns;
        if (this->m_nNonZeros != dense) {
            return pellorin::kProcedureUnusable;
        }
        QV_COMPONENTLISTNAME* list = this->ComponentListName();
        if (list != nullptr) {
            list->BeginPropertiesCall();
        }
        int result = 0;
        if (m_rowIndices == nullptr && this->m_nNonZeros != 0 && !MakeIndexArrays()) {
            result = pellorin::kProcedureUnusable;
        }
        QV_ExternalRoutine routine =
            result == 0 ? this->GetProcedure13Address(&this->m_routine) : nullptr;
        if (result == 0 && routine == nullptr) {
            result = pellorin::kProcedureUnusable;
        }
        if (result == 0) {
            // The routine gets copies of the layout, so that it cannot change it.
            int dims[kDimSlots];
            int offsets[kArgs];
            int nonZeros = this->m_nNonZeros;
            int scratch = 0;
            std::memcpy(dims, m_dimSizes, sizeof dims);
            std::memcpy(offsets, m_argOffsets, sizeof offsets);
            routine(&callType, this->m_pValues, dims, this->m_pValues, dims + m_firstOutputDim,
                    offsets, offsets + NInputs, &this->m_routineInt, this->m_routineReals,
                    &hostInt2, &nonZeros, m_rowIndices, m_colIndices, &scratch,
                    this->m_pRoutineDerivs, &ifail);
        }
        list = this->ComponentListName();
        if (list != nullptr) {
            list->EndPropertiesCall();
        }
        return result;
    }

    bool MakeIndexArrays() {
        m_rowIndices = pellorin::NewHostArray<int>(this->m_nNonZeros, false);
        m_colIndices = pellorin::NewHostArray<int>(this->m_nNonZeros, false);
        if (m_rowIndices == nullptr || m_colIndices == nullptr) {
            ReleaseIndexArrays();
            return false;
        }
        int k = 0;
        for (int i = 0; i < this->m_nOutputElements; ++i) {
            for (int j = 0; j < this->m_nInputColumns; ++j, ++k) {
                m_rowIndices[k] = i + 1;
                m_colIndices[k] = j + 1;
            }
        }
        return true;
    }

    template <class Owner>
    int Contribution(Owner* owner, int group, int& equations) {
        owner->SetGroupLimits(group);
        const int outputs = this->m_nOutputElements;
        equations += outputs;
        const std::int64_t entries = std::int64_t(outputs) * this->m_nSolverInputs + outputs;
        return entries > INT_MAX ? INT_MAX : int(entries);
    }

    template <class Owner>
    void CreateEquations(int group, int hostA, int*& rows, int*& cols, int& counter, Owner* owner,
                         const char* callName, int hostB) {
        if (!Usable()) {
            return;
        }
        constexpr std::size_t kNameSize = 1024;
        char name[kNameSize] = {'['};
        int number = 1;
        int dim = m_firstOutputDim;
        int outputEntry = this->m_nInputListEntries;
        QV_ModelExtensions* expressions = owner;
        for (int k = NInputs; k < kArgs; ++k) {
            const int head = 1 + std::snprintf(name + 1, kNameSize - 1, "%d", k - NInputs + 1);
            const bool array = Derived::Dimensions(k) > 0;
            const int count = SizesFrom(dim, Derived::Dimensions(k));
            for (int j = 1; j <= count; ++j) {
                if (array) {
                    std::snprintf(name + head, kNameSize - head, "_%d]", j);
                } else {
                    std::snprintf(name + head, kNameSize - head, "]");
                }
                auto* equation = new QV_ProcedureEquationType(this, number, hostA, owner, callName,
                                                              counter, hostB, name);
                if (equation == nullptr) {
                    Invalidate(); // the call is not registered, so the host does not solve it
                    return;
                }
                ++number;
                static_cast<QV_ModelType*>(owner)->AddEquation(equation, counter, group);
                expressions->AddProcExpression(this, number - 1, counter - 1, callName);
                expressions->AddTerm(*this->m_ppElements[outputEntry++], rows, cols, counter - 1);
                for (int e = 0; e < this->m_nInputListEntries; ++e) {
                    if (m_solverFlags[e]) {
                        expressions->AddTerm(*this->m_ppElements[e], rows, cols, counter - 1);
                    }
                }
            }
        }
        owner->AddProcCall(this->m_nOutputElements != 0 ? this : nullptr, group);
    }

    // Writes element e of an input's cells back into its variable when the value changed.
    void WriteBack(QV_VarParam& element, int type, const unsigned char* first, int e) {
        QV_Value value;
        if (type == 2 || type == 3) {
            int x;
            std::memcpy(&x, first + 4 * std::size_t(e), sizeof x);
            if (x == element.Current().AsInteger()) {
                return;
            }
            value = QV_Value(x, 0x3E000000u);
        } else if (type == 4) {
            double x;
            std::memcpy(&x, first + 8 * std::size_t(e), sizeof x);
            if (x == element.Current().AsReal()) {
                return;
            }
            value = QV_Value(x, 0x3E000000u);
        } else if (type == 5) {
            const std::size_t cell = std::size_t(this->TypeSize(5));
            const char* text = reinterpret_cast<const char*>(first) + cell * std::size_t(e);
            std::size_t length = 0;
            while (length < cell && text[length] != '\0') {
                ++length;
            }
            while (length > 0 && text[length - 1] == ' ') {
                --length;
            }
            const std::string trimmed(text, length);
            const char* current = element.Current().AsText();
            if (trimmed.empty() || trimmed == (current != nullptr ? current : "")) {
                return;
            }
            value = QV_Value(trimmed.c_str(), 0x3E000000u);
        } else {
            return;
        }
        if (element.IsSpecified()) {
            element.Specify(value);
        } else {
            element.Assign(value);
        }
        this->UpdateController();
    }

    void ReleaseIndexArrays() {
        MyFree(m_rowIndices);
        MyFree(m_colIndices);
        m_rowIndices = nullptr;
        m_colIndices = nullptr;
    }

    void ReleaseOwnedArrays() {
        MyFree(m_savedOutputs);
        m_savedOutputs = nullptr;
        ReleaseIndexArrays();
    }

    void CopyMembers(const QV_ProcedureTemplate& other) {
        m_argCursor = other.m_argCursor;
        std::memcpy(m_dimSizes, other.m_dimSizes, sizeof m_dimSizes);
        m_dimCursor = other.m_dimCursor;
        m_firstOutputDim = other.m_firstOutputDim;
        m_argElementCount = other.m_argElementCount;
        m_pendingDims = other.m_pendingDims;
        m_runningSlots = other.m_runningSlots;
        std::memcpy(m_argOffsets, other.m_argOffsets, sizeof m_argOffsets);
        m_building = other.m_building;
        std::memcpy(m_byReference, other.m_byReference, sizeof m_byReference);
        std::copy(other.m_constArgs, other.m_constArgs + kArgs, m_constArgs);
        m_derivativesStale = other.m_derivativesStale;
        m_descriptions = other.m_descriptions;
        m_invalid = other.m_invalid;
        m_callIncomplete = true; // a copy's buffers hold nothing that its own call made
        m_argElementsSeen = other.m_argElementsSeen;
        m_builtListEntries = other.m_builtListEntries;
        m_builtColumns = other.m_builtColumns;
        m_builtOutputs = other.m_builtOutputs;
        MyFree(m_solverFlags);
        m_solverFlags = nullptr;
        m_solverCapacity = 0;
        if (other.m_solverFlags != nullptr) {
            m_solverFlags = pellorin::NewHostArray<bool>(other.m_solverCapacity, true);
            if (m_solverFlags == nullptr) {
                Invalidate();
            } else {
                m_solverCapacity = other.m_solverCapacity;
                std::memcpy(m_solverFlags, other.m_solverFlags, std::size_t(m_solverCapacity));
            }
        }
    }

    int m_argCursor = -1;
    int m_dimSizes[kDimSlots] = {};
    int m_dimCursor = 0;
    int m_firstOutputDim = 0;
    int m_argElementCount = 0;
    int m_pendingDims = 0;
    int m_runningSlots = 0;
    int m_argOffsets[kArgs] = {};
    double* m_savedOutputs = nullptr; // outputs kept while differencing, which is not built
    bool m_building = true;
    bool m_byReference[kArgs] = {};
    ConstProcValue m_constArgs[kArgs];
    int* m_rowIndices = nullptr;
    int* m_colIndices = nullptr;
    bool m_derivativesStale = true;

    // Guards of the protocol and of the call.
    int m_descriptions = 0;        // descriptions ended: 1 after building, 2 after storing
    bool m_invalid = false;        // the description broke the protocol, or a step failed
    bool m_callIncomplete = false; // a call began and the host has not accepted it
    int m_argElementsSeen = 0;
    int m_builtListEntries = 0;
    int m_builtColumns = 0;
    int m_builtOutputs = 0;
    bool* m_solverFlags = nullptr;
    int m_solverCapacity = 0;
};
