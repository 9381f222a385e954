// The packing of the inputs into the value buffer, with change detection, and the
// write-back of the values a routine gives its variable inputs.
// Part of procedure_template.h, which includes it.

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::InitializeCStrings() {
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

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::PackInputVars() {
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

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::PackVal(int value) {
    unsigned char* slot = Slot(++m_argCursor);
    int old;
    std::memcpy(&old, slot, sizeof old);
    if (old != value) {
        std::memcpy(slot, &value, sizeof value);
        this->m_bCallNeeded = true;
    }
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::PackVal(double value) {
    double* slot = reinterpret_cast<double*>(Slot(++m_argCursor));
    if (*slot != value) { // a NaN always differs; +0 and -0 do not
        *slot = value;
        this->m_bCallNeeded = true;
    }
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::PackVal(const char* value) {
    this->PackStr(reinterpret_cast<char*>(Slot(++m_argCursor)), value);
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::PackVarInteger(int k) {
    if (Derived::Dimensions(k) == 0) {
        PackVal((*this->m_ppNextElement++)->Integer());
        return;
    }
    this->PackIntegerArray(reinterpret_cast<int*>(Slot(++m_argCursor)), Derived::Dimensions(k),
                           &m_dimSizes[m_dimCursor]);
    m_dimCursor += Derived::Dimensions(k);
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::PackVarReal(int k) {
    if (Derived::Dimensions(k) == 0) {
        PackVal((*this->m_ppNextElement++)->Real());
        return;
    }
    this->PackRealArray(reinterpret_cast<double*>(Slot(++m_argCursor)), Derived::Dimensions(k),
                        &m_dimSizes[m_dimCursor]);
    m_dimCursor += Derived::Dimensions(k);
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::PackVarString(int k) {
    if (Derived::Dimensions(k) == 0) {
        PackVal((*this->m_ppNextElement++)->String());
        return;
    }
    this->PackStringArray(reinterpret_cast<char*>(Slot(++m_argCursor)), Derived::Dimensions(k),
                          &m_dimSizes[m_dimCursor]);
    m_dimCursor += Derived::Dimensions(k);
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

PELLORIN_PROCEDURE_TEMPLATE
std::size_t PELLORIN_PROCEDURE::TableBytes(int count) {
    return (std::size_t(count) * sizeof(char*) + 7) / 8 * 8;
}

PELLORIN_PROCEDURE_TEMPLATE
unsigned char* PELLORIN_PROCEDURE::Slot(int k) {
    return reinterpret_cast<unsigned char*>(this->m_pValues + GetOffset(k));
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::WriteBack(QV_VarParam& element, int type, const unsigned char* first,
                                   int e) {
    QV_Value value;
    double number = 0.0;
    std::string trimmed;
    if (type == 2 || type == 3) {
        int x;
        std::memcpy(&x, first + 4 * std::size_t(e), sizeof x);
        if (x == element.Integer()) {
            return;
        }
        value = QV_Value(x, 0x3E000000u);
        number = double(x);
    } else if (type == 4) {
        double x;
        std::memcpy(&x, first + 8 * std::size_t(e), sizeof x);
        if (x == element.Real()) {
            return;
        }
        value = QV_Value(x, 0x3E000000u);
        number = x;
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
        trimmed.assign(text, length);
        const char* current = element.String();
        if (trimmed.empty() || trimmed == (current != nullptr ? current : "")) {
            return;
        }
        value = QV_Value(trimmed.c_str(), 0x3E000000u);
    } else {
        return;
    }
    // A value the library assigned is assigned again; one the user gave is replaced in place.
    if (element.IsDefaultAssignment()) {
        element.Assign(&value);
    } else if (type == 5) {
        element.SetCurrentValue(trimmed.c_str());
    } else {
        element.SetCurrentValue(number);
    }
    this->UpdateController();
}
