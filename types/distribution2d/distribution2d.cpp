#include "types/distribution2d/distribution2d.h"

#include <array>
#include <climits>

#include "framework/assign.h"
#include "framework/exports.h"
#include "types/distribution/grid_context.h"
#include "types/distribution/index_sets.h"
#include "types/distribution/registration.h"
#include "types/distribution2d/outline.h"
#include "types/distribution2d/statements.h"
#include "types/domain/rounding.h"

template class QV_TypeFrame<QV_DISTRIBUTION2D, QV_ModelTypeEx2>;

PELLORIN_TYPE_EXPORTS(DISTRIBUTION2D);

namespace {

namespace dist2d = pellorin::dist2d;

using Context = pellorin::eqn::GridContext<2, QV_BASE_II, dist2d::kArrayCount>;
constexpr const char* kIntegralNames[] = {"idx", "idy", "idxdy"};

// What the equations read of the distribution and of its two domains, as the walk reaches it.
Context::Arrays DeclaredArrays(QV_DISTRIBUTION2D& d, QV_DOMAIN& y) {
    Context::Arrays a;
    a[dist2d::kValue] = {d.VALUE.get(), {&d.QV_VALUE_SET1, &d.QV_VALUE_SET2}};
    a[dist2d::kDdx] = {&d.DDX, {&d.QV_DDX_SET1, &d.QV_DDX_SET2}};
    a[dist2d::kDdy] = {&d.DDY, {&d.QV_DDY_SET1, &d.QV_DDY_SET2}};
    a[dist2d::kD2dx2] = {&d.D2DX2, {&d.QV_D2DX2_SET1, &d.QV_D2DX2_SET2}};
    a[dist2d::kD2dy2] = {&d.D2DY2, {&d.QV_D2DY2_SET1, &y.INTERIOR}};
    a[dist2d::kIdx] = {&d.IDX, {&d.QV_IDX_SET1, &d.QV_IDX_SET2}};
    a[dist2d::kIdy] = {&d.IDY, {&d.QV_IDY_SET1, &d.QV_IDY_SET2}};
    a[dist2d::kIdxdy] = {&d.IDXDY, {&d.QV_IDXDY_SET1, &d.QV_IDXDY_SET2}};
    return a;
}

Context::Settings SettingsOf(const QV_DISTRIBUTION2D& d) {
    return {{&d.HIGHESTORDERXDERIVATIVEUSED, &d.HIGHESTORDERYDERIVATIVEUSED},
            {&d.HIGHESTORDERXDERIVATIVE, &d.HIGHESTORDERYDERIVATIVE},
            &d.INTEGRALS,
            kIntegralNames};
}

} // namespace

QV_DISTRIBUTION2D::QV_DISTRIBUTION2D(bool construct, QV_Container* parent) : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_DISTRIBUTION2D::~QV_DISTRIBUTION2D() = default;
const char* QV_DISTRIBUTION2D::QV_ContainerId() {
    return "Model DISTRIBUTION2D\tV10";
}

void QV_DISTRIBUTION2D::DeclareProperties(pellorin::Registrar& r) {
    r(XDOMAIN, "XDOMAIN");
    r(YDOMAIN, "YDOMAIN");
    r(QV_VALUE_SET1, "QV_VALUE_SET1");
    r(QV_VALUE_SET2, "QV_VALUE_SET2");
    r(VALUE, "VALUE", QV_DirectionNone, "Variable value at a node point");
    r(USERNOTES, "USERNOTES");
    r(INPUTSIGNAL, "INPUTSIGNAL", QV_DirectionInput);
    r(OUTPUTSIGNAL, "OUTPUTSIGNAL", QV_DirectionOutput);
    r(HIGHESTORDERXDERIVATIVE, "HIGHESTORDERXDERIVATIVE");
    r(HIGHESTORDERYDERIVATIVE, "HIGHESTORDERYDERIVATIVE");
    r(HIGHESTORDERXDERIVATIVEUSED, "HIGHESTORDERXDERIVATIVEUSED");
    r(HIGHESTORDERYDERIVATIVEUSED, "HIGHESTORDERYDERIVATIVEUSED");
    r(INTEGRALS, "INTEGRALS", QV_DirectionNone,
      "Integrals to be calculated. Valid values: idx, idy, idxdy");
    r(QV_DDX_SET1, "QV_DDX_SET1");
    r(QV_DDX_SET2, "QV_DDX_SET2");
    r(DDX, "DDX", QV_DirectionNone, "1st-order partial deriv wrt x");
    r(QV_DDY_SET1, "QV_DDY_SET1");
    r(QV_DDY_SET2, "QV_DDY_SET2");
    r(DDY, "DDY", QV_DirectionNone, "1st-order partial deriv wrt y");
    r(QV_D2DX2_SET1, "QV_D2DX2_SET1");
    r(QV_D2DX2_SET2, "QV_D2DX2_SET2");
    r(D2DX2, "D2DX2", QV_DirectionNone, "2nd-order partial deriv wrt x");
    r(QV_D2DY2_SET1, "QV_D2DY2_SET1");
    r(D2DY2, "D2DY2", QV_DirectionNone, "2nd-order partial deriv wrt y");
    r(QV_IDX_SET1, "QV_IDX_SET1");
    r(QV_IDX_SET2, "QV_IDX_SET2");
    r(IDX, "IDX", QV_DirectionNone, "integral of distributed variable wrt x");
    r(QV_IDY_SET1, "QV_IDY_SET1");
    r(QV_IDY_SET2, "QV_IDY_SET2");
    r(IDY, "IDY", QV_DirectionNone, "integral of distributed variable wrt y");
    r(QV_IDXDY_SET1, "QV_IDXDY_SET1");
    r(QV_IDXDY_SET2, "QV_IDXDY_SET2");
    r(IDXDY, "IDXDY", QV_DirectionNone, "integral of distributed variable wrt x and y");
}

// D2DY2's y dimension is the y domain's interior; without a linked y domain it stays unbound.
void QV_DISTRIBUTION2D::BindArrays() {
    if (auto* values = VALUE.get()) {
        values->SetDim(QV_VALUE_SET1, QV_VALUE_SET2);
    }
    DDX.SetDim(QV_DDX_SET1, QV_DDX_SET2);
    DDY.SetDim(QV_DDY_SET1, QV_DDY_SET2);
    D2DX2.SetDim(QV_D2DX2_SET1, QV_D2DX2_SET2);
    if (QV_DOMAIN* y = YDOMAIN.get()) {
        D2DY2.SetDim(QV_D2DY2_SET1, y->INTERIOR);
    }
    IDX.SetDim(QV_IDX_SET1, QV_IDX_SET2);
    IDY.SetDim(QV_IDY_SET1, QV_IDY_SET2);
    IDXDY.SetDim(QV_IDXDY_SET1, QV_IDXDY_SET2);
}

using pellorin::eqn::AnyOf;
using pellorin::eqn::Bordered;
using pellorin::eqn::UpTo;

// The index sets follow the domains' last nodes and interiors, the derivative orders in use
// and the integrals asked for; every switch acts on the x dimension. The assignments take
// the derivative orders from the domains. Without both domains linked nothing is assigned.
void QV_DISTRIBUTION2D::RunAssignments(int a, int b) {
    QV_DOMAIN* x = XDOMAIN.get();
    QV_DOMAIN* y = YDOMAIN.get();
    if (x == nullptr || y == nullptr) {
        return;
    }
    for (int pass = 0; pass < 2; ++pass) {
        const long long endX = x->ENDNODE.v();
        const long long endY = y->ENDNODE.v();
        const int usedX = HIGHESTORDERXDERIVATIVEUSED.v();
        const int usedY = HIGHESTORDERYDERIVATIVEUSED.v();
        auto set = [&](QV_INTEGERSET& target, SUValue value, int n) {
            pellorin::InitialiseIndexSet(*this, target, QV_Value(value, b, a, n), pass);
        };
        set(QV_VALUE_SET1, UpTo(endX, 1), 1);
        set(QV_VALUE_SET2, UpTo(endY, 1), 2);
        set(QV_DDX_SET1, UpTo(endX, usedX > 0), 3);
        set(QV_DDX_SET2, UpTo(endY, 1), 4);
        set(QV_DDY_SET1, UpTo(endX, usedY > 0), 5);
        set(QV_DDY_SET2, UpTo(endY, 1), 6);
        SUValue secondX = QV_IntSetValue(1, pellorin::ClampToInt(endX * (usedX > 1)));
        secondX *= x->INTERIOR.v();
        set(QV_D2DX2_SET1, secondX, 7);
        set(QV_D2DX2_SET2, Bordered(y->INTERIOR.v(), endY), 8);
        SUValue secondY = UpTo(endX, usedY > 1);
        secondY *= Bordered(x->INTERIOR.v(), endX);
        set(QV_D2DY2_SET1, secondY, 9);
        const SUValue& integrals = INTEGRALS.v();
        const int idx = AnyOf(integrals, {"idx", "idxdy"});
        const int idy = AnyOf(integrals, {"idy"});
        const int idxdy = AnyOf(integrals, {"idxdy"});
        set(QV_IDX_SET1, UpTo(endX, 2 * idx - 1), 10);
        set(QV_IDX_SET2, UpTo(endY, 1), 11);
        set(QV_IDY_SET1, UpTo(endX, 2 * idy - 1), 12);
        set(QV_IDY_SET2, UpTo(endY, 1), 13);
        set(QV_IDXDY_SET1, UpTo(endX, 2 * idxdy - 1), 14);
        set(QV_IDXDY_SET2, UpTo(endY, 1), 15);
        if (pass == 1) {
            break;
        }
        pellorin::Assign(HIGHESTORDERXDERIVATIVE,
                         QV_Value(x->HIGHESTORDERDERIVATIVE.v(), b, a, 16));
        pellorin::Assign(HIGHESTORDERYDERIVATIVE,
                         QV_Value(y->HIGHESTORDERDERIVATIVE.v(), b, a, 17));
        pellorin::Assign(HIGHESTORDERXDERIVATIVEUSED,
                         QV_Value(HIGHESTORDERXDERIVATIVE.v(), b, a, 18));
        pellorin::Assign(HIGHESTORDERYDERIVATIVEUSED,
                         QV_Value(HIGHESTORDERYDERIVATIVE.v(), b, a, 19));
        pellorin::Assign(INTEGRALS, QV_Value("None", b, a, 20));
    }
}

// Without both domains linked, or when a term cannot be had, the equations cannot be
// registered.
int QV_DISTRIBUTION2D::AddEquationInstances(int n) {
    QV_DOMAIN* x = XDOMAIN.get();
    QV_DOMAIN* y = YDOMAIN.get();
    if (x == nullptr || y == nullptr) {
        return -1;
    }
    Context context({x, y}, SettingsOf(*this), DeclaredArrays(*this, *y));
    const pellorin::eqn::WalkOutcome outcome = pellorin::eqn::RegisterInstances(
        pellorin::dist2d::EquationOutline(), context, *this, m_groupBase);
    return outcome.complete ? n + outcome.instances : -1;
}

int QV_DISTRIBUTION2D::AddEquationExpressions(int r, int*& rows, int*& cols) {
    QV_DOMAIN* x = XDOMAIN.get();
    QV_DOMAIN* y = YDOMAIN.get();
    if (x == nullptr || y == nullptr) {
        return -1;
    }
    Context context({x, y}, SettingsOf(*this), DeclaredArrays(*this, *y));
    const pellorin::eqn::WalkOutcome outcome = pellorin::eqn::RegisterExpressions(
        pellorin::dist2d::EquationOutline(), context, *this, *this, m_groupBase, r, rows, cols);
    return outcome.complete ? r : -1;
}
PELLORIN_REFERENCE_INSTANCES(QV_DISTRIBUTION2D)
