// The equations a procedure gives the model or structure that calls it.
// Part of procedure_template.h, which includes it.

PELLORIN_PROCEDURE_TEMPLATE
int PELLORIN_PROCEDURE::NZAndEqnContribution(QV_StructureTypeEx* owner, int group, int& equations) {
    return Contribution(owner, group, equations);
}

PELLORIN_PROCEDURE_TEMPLATE
int PELLORIN_PROCEDURE::NZAndEqnContribution(QV_ModelTypeEx* owner, int group, int& equations) {
    return Contribution(owner, group, equations);
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::CreateEquationsAndSetGroup(int group, int hostA, int*& rows, int*& cols,
                                                    int& counter, QV_StructureTypeEx* owner,
                                                    const char* callName, int hostB) {
    CreateEquations(group, hostA, rows, cols, counter, owner, callName, hostB);
}

PELLORIN_PROCEDURE_TEMPLATE
void PELLORIN_PROCEDURE::CreateEquationsAndSetGroup(int group, int hostA, int*& rows, int*& cols,
                                                    int& counter, QV_ModelTypeEx* owner,
                                                    const char* callName, int hostB) {
    CreateEquations(group, hostA, rows, cols, counter, owner, callName, hostB);
}

PELLORIN_PROCEDURE_TEMPLATE
template <class Owner>
int PELLORIN_PROCEDURE::Contribution(Owner* owner, int group, int& equations) {
    owner->SetGroupLimits(group);
    const int outputs = Usable() ? this->m_nOutputElements : 0;
    equations += outputs;
    const std::int64_t entries = std::int64_t(outputs) * this->m_nSolverInputs + outputs;
    return entries > INT_MAX ? INT_MAX : int(entries);
}

PELLORIN_PROCEDURE_TEMPLATE
template <class Owner>
void PELLORIN_PROCEDURE::CreateEquations(int group, int hostA, int*& rows, int*& cols, int& counter,
                                         Owner* owner, const char* callName, int hostB) {
    if (!Usable()) {
        owner->AddProcCall(nullptr, group); // as a call without outputs: it gives no equation
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
            auto* equation = new (std::nothrow) QV_ProcedureEquationType(
                this, number, hostA, owner, callName, counter, hostB, name);
            if (equation == nullptr) {
                Invalidate(); // the call is not registered, so the host does not solve it
                return;
            }
            ++number;
            static_cast<QV_ModelType*>(owner)->AddEquation(equation, counter, group);
            expressions->AddProcExpression(this, number - 1, counter - 1, callName);
            expressions->AddTerm(*this->m_ppElements[outputEntry++], rows, cols, counter - 1);
            const bool* const solver = G().solverFlags;
            for (int e = 0; e < this->m_nInputListEntries; ++e) {
                if (solver[e]) {
                    expressions->AddTerm(*this->m_ppElements[e], rows, cols, counter - 1);
                }
            }
        }
    }
    owner->AddProcCall(this->m_nOutputElements != 0 ? this : nullptr, group);
}
