// The packing of the inputs into the value buffer, with change detection, and the
// write-back of the values a routine gives its variable inputs.
// Part of procedure_template.h, which includes it.

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::InitializeCStrings() {
    // The argument tables first: a procedure without string array inputs has nothing to do,
    // and asks the host nothing.
    bool stringArrays = false;
    for (int k = 0; k < NInputs; ++k) {
        stringArrays = stringArrays || (Derived::Type(k) == 5 && Derived::Dimensions(k) > 0);
    }
    if (!stringArrays || !Usable() || this->IsFortran()) {
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

// The argument cursor names the argument being packed: each operation that packs one
// advances it by one, so the loop itself moves it only over an argument it cannot pack.
PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::PackInputVars() {
    m_argCursor = 0;
    m_dimCursor = 0;
    this->m_ppNextElement = this->m_ppElements;
    while (m_argCursor < NInputs) {
        const int k = m_argCursor;
        switch (Derived::Type(k)) {
        case 2:
        case 3:
            m_byReference[k] ? PackVarInteger() : PackVal(GetIntegerArg(k));
            break;
        case 4:
            m_byReference[k] ? PackVarReal() : PackVal(GetRealArg(k));
            break;
        case 5:
            m_byReference[k] ? PackVarString() : PackVal(GetStringArg(k));
            break;
        default:
            ++m_argCursor;
            break;
        }
    }
}

PELLORIN_PROCEDURE_TEMPLATE
bool PELLORIN_PROCEDURE::PackVal(int value) {
    unsigned char* slot = Slot(m_argCursor++);
    int old;
    std::memcpy(&old, slot, sizeof old);
    if (old != value) {
        std::memcpy(slot, &value, sizeof value);
        this->m_bCallNeeded = true;
    }
    return this->m_bCallNeeded;
}

PELLORIN_PROCEDURE_TEMPLATE
bool PELLORIN_PROCEDURE::PackVal(double value) {
    double* slot = reinterpret_cast<double*>(Slot(m_argCursor++));
    if (*slot != value) { // a NaN always differs; +0 and -0 do not
        *slot = value;
        this->m_bCallNeeded = true;
    }
    return this->m_bCallNeeded;
}

PELLORIN_PROCEDURE_TEMPLATE
bool PELLORIN_PROCEDURE::PackVal(const char* value) {
    return this->PackStr(reinterpret_cast<char*>(Slot(m_argCursor++)), value);
}

// A scalar goes through PackVal; an array through the host's packer for its element type,
// given the argument's first slot and its dimension sizes.
PELLORIN_PROCEDURE_TEMPLATE
template <class Element, class Read, class PackArray>
bool PELLORIN_PROCEDURE::PackVar(Read read, PackArray packArray) {
    const int k = m_argCursor;
    const int dims = Derived::Dimensions(k);
    if (dims == 0) {
        return PackVal(read(**this->m_ppNextElement++));
    }
    ++m_argCursor;
    (this->*packArray)(reinterpret_cast<Element*>(Slot(k)), dims, &m_dimSizes[m_dimCursor]);
    m_dimCursor += dims;
    return this->m_bCallNeeded;
}

PELLORIN_PROCEDURE_TEMPLATE
bool PELLORIN_PROCEDURE::PackVarInteger() {
    return PackVar<int>([](const QV_VarParam& v) { return v.Integer(); },
                        &QV_ProcedureType::PackIntegerArray);
}

PELLORIN_PROCEDURE_TEMPLATE
bool PELLORIN_PROCEDURE::PackVarReal() {
    return PackVar<double>([](const QV_VarParam& v) { return v.Real(); },
                           &QV_ProcedureType::PackRealArray);
}

PELLORIN_PROCEDURE_TEMPLATE
bool PELLORIN_PROCEDURE::PackVarString() {
    return PackVar<char>([](const QV_VarParam& v) { return v.String(); },
                         &QV_ProcedureType_C::PackStringArray);
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::PackOutputVars() {
    double* out = this->m_pValues + GetOffset(NInputs);
    for (int j = 0; j < this->m_nOutputValues; ++j) {
        out[j] = (*this->m_ppNextElement++)->Real();
    }
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::UnpackInputVars() {
    m_dimCursor = 0;
    this->m_ppNextElement = this->m_ppElements;
    QV_Value written(0.0, 0x3E000000u); // one value serves every element written back
    for (m_argCursor = 0; m_argCursor < NInputs; ++m_argCursor) {
        const int k = m_argCursor;
        const int count = SizesFrom(m_dimCursor, Derived::Dimensions(k));
        if (!m_byReference[k]) {
            continue;
        }
        switch (Derived::IsVariableInput(k) ? Derived::Type(k) : 0) {
        case 2:
        case 3:
            WriteBackNumbers<int>(k, count, written);
            break;
        case 4:
            WriteBackNumbers<double>(k, count, written);
            break;
        case 5:
            WriteBackStrings(k, count, written);
            break;
        default:
            this->m_ppNextElement += count;
            break;
        }
    }
    m_dimCursor = 0;
    m_argCursor = 0;
}

PELLORIN_PROCEDURE_TEMPLATE
std::size_t PELLORIN_PROCEDURE::TableBytes(int count) {
    return (std::size_t(count) * sizeof(char*) + 7) / 8 * 8;
}

PELLORIN_PROCEDURE_TEMPLATE
unsigned char* PELLORIN_PROCEDURE::Slot(int k) {
    return reinterpret_cast<unsigned char*>(this->m_pValues + GetOffset(k));
}

PELLORIN_PROCEDURE_TEMPLATE
template <class T>
void PELLORIN_PROCEDURE::WriteBackNumbers(int k, int count, QV_Value& written) {
    const unsigned char* first = Slot(k);
    for (int e = 0; e < count; ++e) {
        QV_VarParam& element = **this->m_ppNextElement++;
        if (!element.IsSolverVariable()) {
            continue;
        }
        T value;
        std::memcpy(&value, first + sizeof(T) * std::size_t(e), sizeof value);
        bool same;
        if constexpr (std::is_same_v<T, int>) {
            same = element.Integer() == value;
        } else {
            same = element.Real() == value; // a NaN always differs; +0 and -0 do not
        }
        if (!same) {
            Write(element, written, double(value));
        }
    }
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::WriteBackStrings(int k, int count, QV_Value& written) {
    constexpr std::size_t kText = 40;
    const std::size_t cell = std::size_t(this->TypeSize(5));
    const char* first = reinterpret_cast<const char*>(Slot(k));
    if (Derived::Dimensions(k) > 0 && !this->IsFortran()) {
        first += TableBytes(count);
    }
    char text[kText + 1] = {};
    for (int e = 0; e < count; ++e) {
        // The cell's text up to its first NUL, at most 40 characters, less trailing blanks.
        std::memset(text, 0, kText);
        std::strncpy(text, first + cell * std::size_t(e), std::min(cell, kText));
        for (int p = int(kText); p >= 0 && (text[p] == '\0' || text[p] == ' '); --p) {
            text[p] = '\0';
        }
        QV_VarParam& element = **this->m_ppNextElement++;
        if (text[0] == '\0' || !element.IsSolverVariable()) {
            continue;
        }
        const char* current = element.String();
        if (std::strcmp(current != nullptr ? current : "", text) != 0) {
            Write(element, written, static_cast<const char*>(text));
        }
    }
}

PELLORIN_PROCEDURE_TEMPLATE
template <class V>
void PELLORIN_PROCEDURE::Write(QV_VarParam& element, QV_Value& written, V value) {
    // A value the library assigned is assigned again; one the user gave is replaced in place.
    if (element.IsDefaultAssignment()) {
        written.ResetValue(value);
        element.Assign(&written);
    } else {
        element.SetCurrentValue(value);
    }
    if (QV_IncrementalUpdate* controller = this->UpdateController()) {
        controller->NotifyValueWritten(&element, 0);
    }
}
