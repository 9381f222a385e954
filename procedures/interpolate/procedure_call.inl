// An evaluation: whether the routine must run, its call with sixteen pointers, and the
// residuals and the Jacobian row made of what it leaves.
// Part of procedure_template.h, which includes it.

PELLORIN_PROCEDURE_TEMPLATE
int PELLORIN_PROCEDURE::CallFn(QV_ProcedureType::CallType type, bool flag) {
    // Derivatives by differences are not built: a routine that gives none cannot be used.
    if (!Usable() || !Derived::ReturnsDerivatives()) {
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
        this->m_bCallNeeded = this->m_bCallNeeded || G().callIncomplete;
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
    G().callIncomplete = true;
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
    G().callIncomplete = false;
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

PELLORIN_PROCEDURE_TEMPLATE
int PELLORIN_PROCEDURE::Residuals(double* residuals, int& index) {
    const int status = CallFn(QV_ProcedureType::CallResiduals, true);
    if (status < 0) {
        index += OutputRows();
        return status;
    }
    const double* out = this->m_pValues + GetOffset(NInputs);
    QV_VarParam** outputs = this->m_ppElements + this->m_nInputListEntries;
    for (int j = 0; j < this->m_nOutputValues; ++j) {
        residuals[index++] = outputs[j]->Real() - out[j];
    }
    return status;
}

PELLORIN_PROCEDURE_TEMPLATE
int PELLORIN_PROCEDURE::Jacobian(double* entries, int& index) {
    const int status = Usable() && HaveJacobianBlock()
                           ? CallFn(QV_ProcedureType::CallJacobian, true)
                           : pellorin::kProcedureUnusable;
    // The rows are written whatever the status, so that the entries of the equations after
    // the procedure's stay in place; without a block each derivative is 0.
    const double* block = this->m_pJacobianDerivs;
    const int rows = OutputRows();
    const bool* const solver = G().solverFlags;
    std::int64_t d = 0;
    for (int row = 0; row < rows; ++row) {
        entries[index++] = 1.0;
        int entry = 0;
        for (int k = 0; k < NInputs; ++k) {
            if (!m_byReference[k]) {
                ++d;
                continue;
            }
            const int count = ElementsOf(k);
            for (int e = 0; e < count; ++e, ++entry, ++d) {
                if (solver[entry]) {
                    entries[index++] = block != nullptr ? block[d] : 0.0;
                }
            }
        }
    }
    return status;
}

PELLORIN_PROCEDURE_TEMPLATE
bool PELLORIN_PROCEDURE::HaveJacobianBlock() {
    const std::int64_t blockSize = std::int64_t(this->m_nInputColumns) * this->m_nOutputElements;
    if (this->m_pJacobianDerivs != nullptr || blockSize <= 0) {
        return true;
    }
    this->m_pJacobianDerivs = pellorin::NewHostArray<double>(blockSize, true);
    G().callIncomplete = true; // a new block holds nothing yet: the routine must run
    return this->m_pJacobianDerivs != nullptr;
}

PELLORIN_PROCEDURE_TEMPLATE
int PELLORIN_PROCEDURE::OutputRows() const {
    return Usable() ? this->m_nOutputValues : 0;
}

PELLORIN_PROCEDURE_TEMPLATE
bool PELLORIN_PROCEDURE::Usable() const {
    return G().descriptions == 2 && !G().invalid && this->m_pValues != nullptr &&
           (this->m_ppElements != nullptr || G().builtListEntries + G().builtOutputs == 0);
}

PELLORIN_PROCEDURE_TEMPLATE
int PELLORIN_PROCEDURE::CallRoutine(QV_ProcedureType::CallType type, int& ifail) {
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
        routine(&callType, this->m_pValues, dims, this->m_pValues, dims + m_firstOutputDim, offsets,
                offsets + NInputs, &this->m_routineInt, this->m_routineReals, &hostInt2, &nonZeros,
                m_rowIndices, m_colIndices, &scratch, this->m_pRoutineDerivs, &ifail);
    }
    list = this->ComponentListName();
    if (list != nullptr) {
        list->EndPropertiesCall();
    }
    return result;
}

PELLORIN_PROCEDURE_TEMPLATE
bool PELLORIN_PROCEDURE::MakeIndexArrays() {
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
