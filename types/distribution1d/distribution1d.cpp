#include "types/distribution1d/distribution1d.h"

#include <array>

#include "framework/assign.h"
#include "framework/exports.h"
#include "framework/string_in_set.h"
#include "types/distribution/domain_context.h"
#include "types/distribution/index_sets.h"
#include "types/distribution/registration.h"
#include "types/distribution1d/outline.h"
#include "types/distribution1d/statements.h"
#include "types/domain/rounding.h"

template class QV_TypeFrame<QV_DISTRIBUTION1D, QV_ModelTypeEx2>;

PELLORIN_TYPE_EXPORTS(DISTRIBUTION1D);

namespace {

// What the equations read of a distribution and of its domain, as the walk reaches it. The
// array reached through its name is resolved once: no walk relinks it. Each node's element
// is looked up once per walk: an instance's neighbours name the same nodes again.
class Distribution1DContext final : public pellorin::eqn::DomainContext<1> {
public:
    Distribution1DContext(QV_DISTRIBUTION1D& distribution, QV_DOMAIN& domain)
        : DomainContext({&domain}), m_distribution(distribution),
          m_values(distribution.VALUE.get()) {}

    int UsedOrder(int) override { return Read(m_distribution.HIGHESTORDERXDERIVATIVEUSED); }
    int DeclaredOrder(int) override { return Read(m_distribution.HIGHESTORDERXDERIVATIVE); }
    bool IntegralRequested(int) override {
        return StringInSet("idx", Read(m_distribution.INTEGRALS)) != 0;
    }

    QV_VarParam* ArrayElement(int array, const int* index) override {
        if (array < 0 || array >= pellorin::dist1d::kArrayCount) {
            return nullptr;
        }
        return m_memo[array].Get(index[0], [&](int i) { return Lookup(array, i); });
    }

private:
    QV_VarParam* Lookup(int array, int i) {
        QV_DISTRIBUTION1D& d = m_distribution;
        switch (array) {
        case pellorin::dist1d::kValue:
            return m_values != nullptr && InSet(d.QV_VALUE_SET1, i) ? m_values->Get(i) : nullptr;
        case pellorin::dist1d::kDdx:
            return InSet(d.QV_DDX_SET1, i) ? d.DDX.Get(i) : nullptr;
        case pellorin::dist1d::kD2dx2:
            return InSet(d.QV_D2DX2_SET1, i) ? d.D2DX2.Get(i) : nullptr;
        default:
            return InSet(d.QV_IDX_SET1, i) ? d.IDX.Get(i) : nullptr;
        }
    }

    QV_DISTRIBUTION1D& m_distribution;
    decltype(m_distribution.VALUE.get()) m_values;
    std::array<pellorin::eqn::WalkMemo<QV_VarParam>, pellorin::dist1d::kArrayCount> m_memo;
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
    using pellorin::eqn::UpTo;
    QV_DOMAIN* domain = XDOMAIN.get();
    if (domain == nullptr) {
        return;
    }
    for (int pass = 0; pass < 2; ++pass) {
        const long long endNode = domain->ENDNODE.v();
        const int used = HIGHESTORDERXDERIVATIVEUSED.v();
        const long long integrals = StringInSet("idx", INTEGRALS.v());
        pellorin::InitialiseIndexSet(*this, QV_VALUE_SET1, QV_Value(UpTo(endNode, 1), b, a, 1),
                                     pass);
        pellorin::InitialiseIndexSet(*this, QV_DDX_SET1, QV_Value(UpTo(endNode, used > 0), b, a, 2),
                                     pass);
        SUValue secondDerivatives =
            QV_IntSetValue(1, pellorin::ClampToInt(endNode * (used > 1 ? 1 : 0)));
        secondDerivatives *= domain->INTERIOR.v();
        pellorin::InitialiseIndexSet(*this, QV_D2DX2_SET1, QV_Value(secondDerivatives, b, a, 3),
                                     pass);
        pellorin::InitialiseIndexSet(*this, QV_IDX_SET1,
                                     QV_Value(UpTo(endNode, 2 * integrals - 1), b, a, 4), pass);
        if (pass == 1) {
            break;
        }
        pellorin::Assign(HIGHESTORDERXDERIVATIVE,
                         QV_Value(domain->HIGHESTORDERDERIVATIVE.v(), b, a, 5));
        pellorin::Assign(HIGHESTORDERXDERIVATIVEUSED,
                         QV_Value(HIGHESTORDERXDERIVATIVE.v(), b, a, 6));
        pellorin::Assign(INTEGRALS, QV_Value("None", b, a, 7));
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
        return -1;
    }
    Distribution1DContext context(*this, *domain);
    const pellorin::eqn::WalkOutcome outcome = pellorin::eqn::RegisterExpressions(
        pellorin::dist1d::EquationOutline(), context, *this, *this, m_groupBase, r, rows, cols);
    return outcome.complete ? r : -1;
}
PELLORIN_REFERENCE_INSTANCES(QV_DISTRIBUTION1D)
