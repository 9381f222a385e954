// The description of a procedure's arguments: the layout of the value buffer in the
// building pass, the element list in the storing pass, and the protocol's guards. Once the
// procedure is invalid, every step returns at once: its arrays and counts stay as they were.
// Part of procedure_template.h, which includes it.

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::Argument() {
    SetArg(true);
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::Argument(QV_VarParam& variable) {
    SetArg(true);
    Element(variable); // does nothing once the procedure is invalid
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::Argument(double value) {
    BindConstant(value);
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::Argument(QV_IntegerSetIter& member) {
    BindConstant(member.Integer());
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::Argument(int value) {
    BindConstant(value);
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::Argument(QV_StringSetIter& member) {
    BindConstant(member.String());
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::Argument(const char* value) {
    BindConstant(value);
}

PELLORIN_PROCEDURE_TEMPLATE
bool PELLORIN_PROCEDURE::ByReference(int k) const {
    return m_byReference[k];
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::SetArg(bool byReference) {
    if (G().invalid) {
        return;
    }
    if (G().descriptions >= 2 || m_argCursor + 1 >= kArgs || !CloseArgument()) {
        Invalidate();
        return;
    }
    ++m_argCursor;
    m_byReference[m_argCursor] = byReference;
    G().argElementsSeen = 0;
    if (!m_building) {
        return;
    }
    SetOffset(m_runningOffset);
    m_pendingDims = Derived::Dimensions(m_argCursor);
    if (m_pendingDims == 0) {
        AddSlots((this->TypeSize(Derived::Type(m_argCursor)) + 7) / 8);
    } else {
        m_argElementCount = 1;
    }
    if (m_argCursor == NInputs) {
        m_firstOutputDim = m_dimCursor;
    }
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::SetOffset(int slot) {
    m_argOffsets[m_argCursor] = slot + this->LanguageBaseIndex();
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::SetDimensionSize(int size) {
    if (G().invalid || !m_building) {
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

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::Element(QV_VarParam& element) {
    if (G().invalid) {
        return;
    }
    if (m_argCursor < 0 || G().descriptions >= 2 || !m_byReference[m_argCursor] ||
        G().argElementsSeen >= ElementsOf(m_argCursor)) {
        Invalidate();
        return;
    }
    ++G().argElementsSeen;
    if (m_argCursor < NInputs) {
        if (m_building ? !RecordSolverStatus(element.IsSolverVariable())
                       : !StoreElement(this->m_nInputListEntries, G().builtListEntries, element)) {
            return;
        }
        ++this->m_nInputListEntries;
        ++this->m_nInputColumns;
    } else {
        if (!m_building && !StoreElement(this->m_nInputListEntries + this->m_nOutputElements,
                                         G().builtListEntries + G().builtOutputs, element)) {
            return;
        }
        ++this->m_nOutputElements;
    }
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::LastArgument() {
    if (G().invalid) {
        return;
    }
    if (m_building) {
        if (m_argCursor != kArgs - 1 || !CloseArgument()) {
            Invalidate();
            return;
        }
        G().builtListEntries = this->m_nInputListEntries;
        G().builtColumns = this->m_nInputColumns;
        G().builtOutputs = this->m_nOutputElements;
        P()->CreateDerivatives();
        this->FinalizeConstruction(GetOffset(NInputs), m_runningOffset);
        this->m_nInputListEntries = 0;
        this->m_nOutputElements = 0;
        this->m_nInputColumns = 0;
        m_argCursor = -1;
        m_building = false;
        G().descriptions = 1;
    } else if (G().descriptions == 1) {
        // The storing pass must give the elements the building pass counted.
        if (m_argCursor != kArgs - 1 || !CloseArgument() ||
            this->m_nInputListEntries != G().builtListEntries ||
            this->m_nInputColumns != G().builtColumns ||
            this->m_nOutputElements != G().builtOutputs) {
            Invalidate();
        }
        G().descriptions = 2;
    } else {
        Invalidate();
    }
}

PELLORIN_PROCEDURE_TEMPLATE
int PELLORIN_PROCEDURE::GetOffset(int k) const {
    return m_argOffsets[k] - this->LanguageBaseIndex();
}

PELLORIN_PROCEDURE_TEMPLATE
const int* PELLORIN_PROCEDURE::GetOffsets(int k) const {
    return &m_argOffsets[k];
}

PELLORIN_PROCEDURE_TEMPLATE
int PELLORIN_PROCEDURE::GetIntegerArg(int k) const {
    return m_constValues[k].Integer();
}

PELLORIN_PROCEDURE_TEMPLATE
double PELLORIN_PROCEDURE::GetRealArg(int k) const {
    return m_constValues[k].Real();
}

PELLORIN_PROCEDURE_TEMPLATE
const char* PELLORIN_PROCEDURE::GetStringArg(int k) const {
    return m_constValues[k].String();
}

PELLORIN_PROCEDURE_TEMPLATE
bool PELLORIN_PROCEDURE::CloseArgument() const {
    if (m_argCursor < 0 || !m_byReference[m_argCursor]) {
        return true;
    }
    if (m_building && m_pendingDims > 0) {
        return false;
    }
    return G().argElementsSeen == ElementsOf(m_argCursor);
}

PELLORIN_PROCEDURE_TEMPLATE
int PELLORIN_PROCEDURE::ElementsOf(int k) const {
    int dim = 0;
    for (int j = 0; j < k; ++j) {
        dim += Derived::Dimensions(j);
    }
    if (m_building && k == m_argCursor && Derived::Dimensions(k) > 0) {
        return m_pendingDims > 0 ? 0 : m_argElementCount;
    }
    return SizesFrom(dim, Derived::Dimensions(k));
}

PELLORIN_PROCEDURE_TEMPLATE
int PELLORIN_PROCEDURE::SizesFrom(int& dim, int dims) const {
    std::int64_t count = 1;
    for (int j = 0; j < dims; ++j, ++dim) {
        count *= dim < kDimSlots ? m_dimSizes[dim] : 0;
        count = count > INT_MAX ? INT_MAX : count;
    }
    return int(count);
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::AddSlots(std::int64_t slots) {
    const std::int64_t total = std::int64_t(m_runningOffset) + slots;
    if (slots < 0 || total > INT_MAX) {
        Invalidate();
        return;
    }
    m_runningOffset = int(total);
}

PELLORIN_PROCEDURE_TEMPLATE
bool PELLORIN_PROCEDURE::RecordSolverStatus(bool solver) {
    pellorin::ProcedureGuards& g = G();
    const int n = this->m_nInputListEntries;
    if (n >= g.solverCapacity) {
        const int capacity = g.solverCapacity < 16 ? 16 : 2 * g.solverCapacity;
        bool* grown = pellorin::NewHostArray<bool>(capacity, true);
        if (grown == nullptr) {
            Invalidate();
            return false;
        }
        if (g.solverFlags != nullptr) { // the old block whole: n never passes its end
            std::memcpy(grown, g.solverFlags, std::size_t(g.solverCapacity));
        }
        MyFree(g.solverFlags);
        g.solverFlags = grown;
        g.solverCapacity = capacity;
    }
    g.solverFlags[n] = solver;
    this->m_nSolverInputs += solver ? 1 : 0;
    return true;
}

PELLORIN_PROCEDURE_TEMPLATE
bool PELLORIN_PROCEDURE::StoreElement(int position, int limit, QV_VarParam& element) {
    if (position >= limit || position >= this->m_nElementCapacity ||
        this->m_ppElements == nullptr) {
        Invalidate();
        return false;
    }
    this->m_ppElements[position] = &element;
    return true;
}
