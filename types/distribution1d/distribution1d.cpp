#include "types/distribution1d/distribution1d.h"

#include <array>
#include <limits>
#include <new>
#include <vector>

#include "framework/exports.h"
#include "framework/string_in_set.h"
#include "types/distribution/registration.h"
#include "types/distribution1d/outline.h"
#include "types/distribution1d/statements.h"
#include "types/domain/rounding.h"

template class QV_TypeFrame<QV_DISTRIBUTION1D, QV_ModelTypeEx2>;

PELLORIN_TYPE_EXPORTS(DISTRIBUTION1D);

namespace {

// What one array gave during a walk, by index, so that each element is looked up in the host
// once. An index outside the memo, or a memo that could not be allocated, goes to the host
// each time; so do larger arrays.
template <class Element>
class WalkMemo {
public:
    void Reserve(long long size) {
        if (size <= 0 || size > kMostRemembered) {
            return;
        }
        try {
            m_slots.assign(std::size_t(size), nullptr);
        } catch (const std::bad_alloc&) {
            m_slots.clear();
        }
    }

    template <class Lookup>
    Element* Get(int i, Lookup&& lookup) {
        const bool remembered = i >= 0 && std::size_t(i) < m_slots.size();
        if (remembered && m_slots[std::size_t(i)] != nullptr) {
            return m_slots[std::size_t(i)];
        }
        Element* element = lookup(i);
        if (remembered) {
            m_slots[std::size_t(i)] = element;
        }
        return element;
    }

private:
    static constexpr long long kMostRemembered = 1LL << 26;
    std::vector<Element*> m_slots;
};

// What the equations read of a distribution and of its domain, as the walk reaches it. The
// two arrays reached through references are resolved once: no walk relinks them.
class Distribution1DContext final : public pellorin::eqn::EquationContext {
public:
    Distribution1DContext(QV_DISTRIBUTION1D& distribution, QV_DOMAIN& domain)
        : m_distribution(distribution), m_domain(domain), m_values(distribution.VALUE.get()),
          m_sections(domain.SECTION.get()) {
        Remember();
    }

    // SetUpEquations reads through the host's plain accessors, JacPattern through the others.
    void BeginWalk(pellorin::eqn::WalkKind kind) override {
        m_expressions = kind == pellorin::eqn::WalkKind::Expressions;
    }

    int UsedOrder() override { return Read(m_distribution.HIGHESTORDERXDERIVATIVEUSED); }
    int DeclaredOrder() override { return Read(m_distribution.HIGHESTORDERXDERIVATIVE); }
    bool IntegralRequested() override {
        return StringInSet("idx", Read(m_distribution.INTEGRALS)) != 0;
    }
    const char* Method() override { return Read(m_domain.DISCRETIZATIONMETHOD); }
    const char* ElementBoundary() override { return Read(m_domain.ELEMENTBOUNDARYCONDITION); }
    int SectionCount() override { return Read(m_domain.NUMSECTIONS); }
    int PolyPoints() override { return Read(m_domain.NUMPOLYPOINTS); }
    int EndNode() override { return Read(m_domain.ENDNODE); }

    int Base(int s) override {
        const QV_SECTIONDATAMODEL* section = Section(s);
        return section != nullptr ? Read(section->BASE) : 0;
    }
    int NodeCount(int s) override {
        const QV_SECTIONDATAMODEL* section = Section(s);
        return section != nullptr ? Read(section->NODECOUNT) : 0;
    }
    int ElementCount(int s) override {
        const QV_SECTIONDATAMODEL* section = Section(s);
        return section != nullptr ? Read(section->NUMELEMENTS) : 0;
    }
    double ElementLengthValue(int s) override {
        const QV_SECTIONDATAMODEL* section = Section(s);
        return section != nullptr ? Read(section->ELEMENTLENGTH)
                                  : std::numeric_limits<double>::quiet_NaN();
    }

    // Each node's element, and each section, is looked up in its array once per walk: an
    // instance's neighbours name the same nodes again, and every instance of a section may
    // name its element length.
    QV_VarParam* ArrayElement(int array, std::span<const int> index) override {
        if (array < 0 || array >= kArrays) {
            return nullptr;
        }
        return m_memo[array].Get(index[0], [&](int i) { return Lookup(array, i); });
    }

    QV_VarParam* SectionParameter(int, int s) override {
        QV_SECTIONDATAMODEL* section = Section(s);
        return section != nullptr ? &section->ELEMENTLENGTH : nullptr;
    }

private:
    template <class Property>
    auto Read(const Property& property) const -> decltype(property.v()) {
        return m_expressions ? property.fv() : property.v();
    }

    static constexpr int kArrays = 4;

    QV_VarParam* Lookup(int array, int i) {
        switch (array) {
        case pellorin::dist1d::kValue:
            return m_values != nullptr ? m_values->Get(i) : nullptr;
        case pellorin::dist1d::kDdx:
            return m_distribution.DDX.Get(i);
        case pellorin::dist1d::kD2dx2:
            return m_distribution.D2DX2.Get(i);
        default:
            return m_distribution.IDX.Get(i);
        }
    }

    void Remember() {
        for (WalkMemo<QV_VarParam>& memo : m_memo) {
            memo.Reserve((long long)m_domain.ENDNODE.v() + 1);
        }
        m_sectionMemo.Reserve((long long)m_domain.NUMSECTIONS.v() + 1);
    }

    QV_SECTIONDATAMODEL* Section(int s) {
        return m_sectionMemo.Get(
            s, [&](int k) { return m_sections != nullptr ? m_sections->Get(k) : nullptr; });
    }

    QV_DISTRIBUTION1D& m_distribution;
    QV_DOMAIN& m_domain;
    decltype(m_distribution.VALUE.get()) m_values;
    decltype(m_domain.SECTION.get()) m_sections;
    std::array<WalkMemo<QV_VarParam>, kArrays> m_memo;
    WalkMemo<QV_SECTIONDATAMODEL> m_sectionMemo;
    bool m_expressions = false;
};

} // namespace

QV_DISTRIBUTION1D::QV_DISTRIBUTION1D(bool construct, QV_Container* parent) : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_DISTRIBUTION1D::~QV_DISTRIBUTION1D() = default;
const char* QV_DISTRIBUTION1D::QV_ContainerId() {
    return "Model DISTRIBUTION1D\tV10";
}

void QV_DISTRIBUTION1D::DeclareProperties(pellorin::Registrar& r) {
    r(XDOMAIN, "XDOMAIN");
    r(QV_VALUE_SET1, "QV_VALUE_SET1");
    r(VALUE, "VALUE", QV_DirectionNone, "Variable value at a node point");
    r(USERNOTES, "USERNOTES");
    r(INPUTSIGNAL, "INPUTSIGNAL", QV_DirectionInput);
    r(OUTPUTSIGNAL, "OUTPUTSIGNAL", QV_DirectionOutput);
    r(HIGHESTORDERXDERIVATIVE, "HIGHESTORDERXDERIVATIVE");
    r(HIGHESTORDERXDERIVATIVEUSED, "HIGHESTORDERXDERIVATIVEUSED");
    r(INTEGRALS, "INTEGRALS", QV_DirectionNone, "Integrals to be calculated. Valid value: idx");
    r(QV_DDX_SET1, "QV_DDX_SET1");
    r(DDX, "DDX", QV_DirectionNone, "1st-order partial deriv wrt x");
    r(QV_D2DX2_SET1, "QV_D2DX2_SET1");
    r(D2DX2, "D2DX2", QV_DirectionNone, "2nd-order partial deriv wrt x");
    r(QV_IDX_SET1, "QV_IDX_SET1");
    r(IDX, "IDX", QV_DirectionNone, "integral of distributed variable over X domain");
}

void QV_DISTRIBUTION1D::BindArrays() {
    if (auto* values = VALUE.get()) {
        values->SetDim(QV_VALUE_SET1);
    }
    DDX.SetDim(QV_DDX_SET1);
    D2DX2.SetDim(QV_D2DX2_SET1);
    IDX.SetDim(QV_IDX_SET1);
}

// The index sets follow the domain's last node and interior, the derivative order in use
// and the integrals asked for; the assignments take the derivative order from the domain.
// Without a linked domain there is nothing to follow, and nothing is assigned.
void QV_DISTRIBUTION1D::RunAssignments(int a, int b) {
    QV_DOMAIN* domain = XDOMAIN.get();
    if (domain == nullptr) {
        return;
    }
    for (int pass = 0; pass < 2; ++pass) {
        const long long endNode = domain->ENDNODE.v();
        const int used = HIGHESTORDERXDERIVATIVEUSED.v();
        const long long integrals = StringInSet("idx", INTEGRALS.v());
        InitialiseInternalIndexSet(
            QV_VALUE_SET1, QV_Value(QV_IntSetValue(0, pellorin::ClampToInt(endNode)), b, a, 1),
            pass);
        InitialiseInternalIndexSet(
            QV_DDX_SET1,
            QV_Value(QV_IntSetValue(0, pellorin::ClampToInt(endNode * (used > 0 ? 1 : 0))), b, a,
                     2),
            pass);
        SUValue secondDerivatives =
            QV_IntSetValue(1, pellorin::ClampToInt(endNode * (used > 1 ? 1 : 0)));
        secondDerivatives *= domain->INTERIOR.v();
        InitialiseInternalIndexSet(QV_D2DX2_SET1, QV_Value(secondDerivatives, b, a, 3), pass);
        InitialiseInternalIndexSet(
            QV_IDX_SET1,
            QV_Value(QV_IntSetValue(0, pellorin::ClampToInt((2 * integrals - 1) * endNode)), b, a,
                     4),
            pass);
        if (pass == 1) {
            break;
        }
        HIGHESTORDERXDERIVATIVE.Assign(QV_Value(domain->HIGHESTORDERDERIVATIVE.v(), b, a, 5));
        HIGHESTORDERXDERIVATIVEUSED.Assign(QV_Value(HIGHESTORDERXDERIVATIVE.v(), b, a, 6));
        INTEGRALS.Assign(QV_Value("None", b, a, 7));
    }
}

// Without a linked domain, or when a term cannot be had, the equations cannot be registered.
int QV_DISTRIBUTION1D::AddEquationInstances(int n) {
    QV_DOMAIN* domain = XDOMAIN.get();
    if (domain == nullptr) {
        return -1;
    }
    Distribution1DContext context(*this, *domain);
    const pellorin::eqn::WalkOutcome outcome = pellorin::eqn::RegisterInstances(
        pellorin::dist1d::EquationOutline(), context, *this, m_groupBase);
    return outcome.complete ? n + outcome.instances : -1;
}

int QV_DISTRIBUTION1D::AddEquationExpressions(int r, int*& rows, int*& cols) {
    QV_DOMAIN* domain = XDOMAIN.get();
    if (domain == nullptr) {
        return r;
    }
    Distribution1DContext context(*this, *domain);
    pellorin::eqn::RegisterExpressions(pellorin::dist1d::EquationOutline(), context, *this, *this,
                                       m_groupBase, r, rows, cols);
    return r;
}
PELLORIN_REFERENCE_INSTANCES(QV_DISTRIBUTION1D)
