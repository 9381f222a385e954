#include "types/distribution3d/distribution3d.h"

#include <array>
#include <climits>

#include "framework/assign.h"
#include "framework/exports.h"
#include "types/distribution/grid_context.h"
#include "types/distribution/index_sets.h"
#include "types/distribution/registration.h"
#include "types/distribution3d/outline.h"
#include "types/distribution3d/statements.h"
#include "types/domain/rounding.h"

template class QV_TypeFrame<QV_DISTRIBUTION3D, QV_ModelTypeEx2>;

PELLORIN_TYPE_EXPORTS(DISTRIBUTION3D);

namespace {

namespace dist3d = pellorin::dist3d;

using Context = pellorin::eqn::GridContext<3, QV_BASE_III, dist3d::kArrayCount>;
constexpr const char* kIntegralNames[] = {"idx",   "idy",   "idz",    "idxdy",
                                          "idxdz", "idydz", "idxdydz"};

// What the equations read of the distribution and of its three domains, as the walk reaches
// it.
Context::Arrays DeclaredArrays(QV_DISTRIBUTION3D& d, QV_DOMAIN& y, QV_DOMAIN& z) {
    Context::Arrays a;
    a[dist3d::kValue] = {d.VALUE.get(), {&d.QV_VALUE_SET1, &d.QV_VALUE_SET2, &d.QV_VALUE_SET3}};
    a[dist3d::kDdx] = {&d.DDX, {&d.QV_DDX_SET1, &d.QV_DDX_SET2, &d.QV_DDX_SET3}};
    a[dist3d::kDdy] = {&d.DDY, {&d.QV_DDY_SET1, &d.QV_DDY_SET2, &d.QV_DDY_SET3}};
    a[dist3d::kDdz] = {&d.DDZ, {&d.QV_DDZ_SET1, &d.QV_DDZ_SET2, &d.QV_DDZ_SET3}};
    a[dist3d::kD2dx2] = {&d.D2DX2, {&d.QV_D2DX2_SET1, &d.QV_D2DX2_SET2, &d.QV_D2DX2_SET3}};
    a[dist3d::kD2dy2] = {&d.D2DY2, {&d.QV_D2DY2_SET1, &y.INTERIOR, &d.QV_D2DY2_SET3}};
    a[dist3d::kD2dz2] = {&d.D2DZ2, {&d.QV_D2DZ2_SET1, &d.QV_D2DZ2_SET2, &z.INTERIOR}};
    a[dist3d::kIdx] = {&d.IDX, {&d.QV_IDX_SET1, &d.QV_IDX_SET2, &d.QV_IDX_SET3}};
    a[dist3d::kIdy] = {&d.IDY, {&d.QV_IDY_SET1, &d.QV_IDY_SET2, &d.QV_IDY_SET3}};
    a[dist3d::kIdz] = {&d.IDZ, {&d.QV_IDZ_SET1, &d.QV_IDZ_SET2, &d.QV_IDZ_SET3}};
    a[dist3d::kIdxdy] = {&d.IDXDY, {&d.QV_IDXDY_SET1, &d.QV_IDXDY_SET2, &d.QV_IDXDY_SET3}};
    a[dist3d::kIdxdz] = {&d.IDXDZ, {&d.QV_IDXDZ_SET1, &d.QV_IDXDZ_SET2, &d.QV_IDXDZ_SET3}};
    a[dist3d::kIdydz] = {&d.IDYDZ, {&d.QV_IDYDZ_SET1, &d.QV_IDYDZ_SET2, &d.QV_IDYDZ_SET3}};
    a[dist3d::kIdxdydz] = {&d.IDXDYDZ,
                           {&d.QV_IDXDYDZ_SET1, &d.QV_IDXDYDZ_SET2, &d.QV_IDXDYDZ_SET3}};
    return a;
}

Context::Settings SettingsOf(const QV_DISTRIBUTION3D& d) {
    return {{&d.HIGHESTORDERXDERIVATIVEUSED, &d.HIGHESTORDERYDERIVATIVEUSED,
             &d.HIGHESTORDERZDERIVATIVEUSED},
            {&d.HIGHESTORDERXDERIVATIVE, &d.HIGHESTORDERYDERIVATIVE, &d.HIGHESTORDERZDERIVATIVE},
            &d.INTEGRALS,
            kIntegralNames};
}

} // namespace

QV_DISTRIBUTION3D::QV_DISTRIBUTION3D(bool construct, QV_Container* parent) : QV_TypeFrame(parent) {
    if (construct) {
        Construct();
    }
}
QV_DISTRIBUTION3D::~QV_DISTRIBUTION3D() = default;
const char* QV_DISTRIBUTION3D::QV_ContainerId() {
    return "Model DISTRIBUTION3D\tV10";
}

void QV_DISTRIBUTION3D::DeclareProperties(pellorin::Registrar& r) {
    r(XDOMAIN, "XDOMAIN");
    r(YDOMAIN, "YDOMAIN");
    r(ZDOMAIN, "ZDOMAIN");
    r(QV_VALUE_SET1, "QV_VALUE_SET1");
    r(QV_VALUE_SET2, "QV_VALUE_SET2");
    r(QV_VALUE_SET3, "QV_VALUE_SET3");
    r(VALUE, "VALUE", QV_DirectionNone, "Variable value at a node point");
    r(USERNOTES, "USERNOTES");
    r(INPUTSIGNAL, "INPUTSIGNAL", QV_DirectionInput);
    r(OUTPUTSIGNAL, "OUTPUTSIGNAL", QV_DirectionOutput);
    r(HIGHESTORDERXDERIVATIVE, "HIGHESTORDERXDERIVATIVE");
    r(HIGHESTORDERYDERIVATIVE, "HIGHESTORDERYDERIVATIVE");
    r(HIGHESTORDERZDERIVATIVE, "HIGHESTORDERZDERIVATIVE");
    r(HIGHESTORDERXDERIVATIVEUSED, "HIGHESTORDERXDERIVATIVEUSED");
    r(HIGHESTORDERYDERIVATIVEUSED, "HIGHESTORDERYDERIVATIVEUSED");
    r(HIGHESTORDERZDERIVATIVEUSED, "HIGHESTORDERZDERIVATIVEUSED");
    r(INTEGRALS, "INTEGRALS", QV_DirectionNone,
      "Integrals to be calculated. Valid values: idx, idy, idz, idxdy, idxdz, idydz, idxdydz");
    r(QV_DDX_SET1, "QV_DDX_SET1");
    r(QV_DDX_SET2, "QV_DDX_SET2");
    r(QV_DDX_SET3, "QV_DDX_SET3");
    r(DDX, "DDX", QV_DirectionNone, "1st-order partial deriv wrt x");
    r(QV_DDY_SET1, "QV_DDY_SET1");
    r(QV_DDY_SET2, "QV_DDY_SET2");
    r(QV_DDY_SET3, "QV_DDY_SET3");
    r(DDY, "DDY", QV_DirectionNone, "1st-order partial deriv wrt y");
    r(QV_DDZ_SET1, "QV_DDZ_SET1");
    r(QV_DDZ_SET2, "QV_DDZ_SET2");
    r(QV_DDZ_SET3, "QV_DDZ_SET3");
    r(DDZ, "DDZ", QV_DirectionNone, "1st-order partial deriv wrt z");
    r(QV_D2DX2_SET1, "QV_D2DX2_SET1");
    r(QV_D2DX2_SET2, "QV_D2DX2_SET2");
    r(QV_D2DX2_SET3, "QV_D2DX2_SET3");
    r(D2DX2, "D2DX2", QV_DirectionNone, "2nd-order partial deriv wrt x");
    r(QV_D2DY2_SET1, "QV_D2DY2_SET1");
    r(QV_D2DY2_SET3, "QV_D2DY2_SET3");
    r(D2DY2, "D2DY2", QV_DirectionNone, "2nd-order partial deriv wrt y");
    r(QV_D2DZ2_SET1, "QV_D2DZ2_SET1");
    r(QV_D2DZ2_SET2, "QV_D2DZ2_SET2");
    r(D2DZ2, "D2DZ2", QV_DirectionNone, "2nd-order partial deriv wrt z");
    r(QV_IDX_SET1, "QV_IDX_SET1");
    r(QV_IDX_SET2, "QV_IDX_SET2");
    r(QV_IDX_SET3, "QV_IDX_SET3");
    r(IDX, "IDX", QV_DirectionNone, "integral of distributed variable wrt x");
    r(QV_IDY_SET1, "QV_IDY_SET1");
    r(QV_IDY_SET2, "QV_IDY_SET2");
    r(QV_IDY_SET3, "QV_IDY_SET3");
    r(IDY, "IDY", QV_DirectionNone, "integral of distributed variable wrt y");
    r(QV_IDZ_SET1, "QV_IDZ_SET1");
    r(QV_IDZ_SET2, "QV_IDZ_SET2");
    r(QV_IDZ_SET3, "QV_IDZ_SET3");
    r(IDZ, "IDZ", QV_DirectionNone, "integral of distributed variable wrt z");
    r(QV_IDXDY_SET1, "QV_IDXDY_SET1");
    r(QV_IDXDY_SET2, "QV_IDXDY_SET2");
    r(QV_IDXDY_SET3, "QV_IDXDY_SET3");
    r(IDXDY, "IDXDY", QV_DirectionNone, "integral of distributed variable wrt x and y");
    r(QV_IDXDZ_SET1, "QV_IDXDZ_SET1");
    r(QV_IDXDZ_SET2, "QV_IDXDZ_SET2");
    r(QV_IDXDZ_SET3, "QV_IDXDZ_SET3");
    r(IDXDZ, "IDXDZ", QV_DirectionNone, "integral of distributed variable wrt x and z");
    r(QV_IDYDZ_SET1, "QV_IDYDZ_SET1");
    r(QV_IDYDZ_SET2, "QV_IDYDZ_SET2");
    r(QV_IDYDZ_SET3, "QV_IDYDZ_SET3");
    r(IDYDZ, "IDYDZ", QV_DirectionNone, "integral of distributed variable wrt y and z");
    r(QV_IDXDYDZ_SET1, "QV_IDXDYDZ_SET1");
    r(QV_IDXDYDZ_SET2, "QV_IDXDYDZ_SET2");
    r(QV_IDXDYDZ_SET3, "QV_IDXDYDZ_SET3");
    r(IDXDYDZ, "IDXDYDZ", QV_DirectionNone, "integral of distributed variable wrt x, y and z");
}

// D2DY2's y and D2DZ2's z dimensions are those domains' interiors; without the domain linked
// that array stays unbound.
void QV_DISTRIBUTION3D::BindArrays() {
    if (auto* values = VALUE.get()) {
        values->SetDim(QV_VALUE_SET1, QV_VALUE_SET2, QV_VALUE_SET3);
    }
    DDX.SetDim(QV_DDX_SET1, QV_DDX_SET2, QV_DDX_SET3);
    DDY.SetDim(QV_DDY_SET1, QV_DDY_SET2, QV_DDY_SET3);
    DDZ.SetDim(QV_DDZ_SET1, QV_DDZ_SET2, QV_DDZ_SET3);
    D2DX2.SetDim(QV_D2DX2_SET1, QV_D2DX2_SET2, QV_D2DX2_SET3);
    if (QV_DOMAIN* y = YDOMAIN.get()) {
        D2DY2.SetDim(QV_D2DY2_SET1, y->INTERIOR, QV_D2DY2_SET3);
    }
    if (QV_DOMAIN* z = ZDOMAIN.get()) {
        D2DZ2.SetDim(QV_D2DZ2_SET1, QV_D2DZ2_SET2, z->INTERIOR);
    }
    IDX.SetDim(QV_IDX_SET1, QV_IDX_SET2, QV_IDX_SET3);
    IDY.SetDim(QV_IDY_SET1, QV_IDY_SET2, QV_IDY_SET3);
    IDZ.SetDim(QV_IDZ_SET1, QV_IDZ_SET2, QV_IDZ_SET3);
    IDXDY.SetDim(QV_IDXDY_SET1, QV_IDXDY_SET2, QV_IDXDY_SET3);
    IDXDZ.SetDim(QV_IDXDZ_SET1, QV_IDXDZ_SET2, QV_IDXDZ_SET3);
    IDYDZ.SetDim(QV_IDYDZ_SET1, QV_IDYDZ_SET2, QV_IDYDZ_SET3);
    IDXDYDZ.SetDim(QV_IDXDYDZ_SET1, QV_IDXDYDZ_SET2, QV_IDXDYDZ_SET3);
}

using pellorin::eqn::AnyOf;
using pellorin::eqn::Bordered;
using pellorin::eqn::UpTo;

// The index sets follow the domains' last nodes and interiors, the derivative orders in use
// and the integrals asked for; every switch acts on the x dimension. The assignments take
// the derivative orders from the domains. Without all three domains linked nothing is
// assigned.
void QV_DISTRIBUTION3D::RunAssignments(int a, int b) {
    QV_DOMAIN* x = XDOMAIN.get();
    QV_DOMAIN* y = YDOMAIN.get();
    QV_DOMAIN* z = ZDOMAIN.get();
    if (x == nullptr || y == nullptr || z == nullptr) {
        return;
    }
    for (int pass = 0; pass < 2; ++pass) {
        int n = 0;
        auto set = [&](QV_INTEGERSET& target, const SUValue& value) {
            pellorin::InitialiseIndexSet(*this, target, QV_Value(value, b, a, ++n), pass);
        };
        const long long endX = x->ENDNODE.v();
        const long long endY = y->ENDNODE.v();
        const long long endZ = z->ENDNODE.v();
        const int used[] = {HIGHESTORDERXDERIVATIVEUSED.v(), HIGHESTORDERYDERIVATIVEUSED.v(),
                            HIGHESTORDERZDERIVATIVEUSED.v()};
        // The y and z dimensions of every array but D2DX2's run over their whole domains.
        auto yz = [&](QV_INTEGERSET& second, QV_INTEGERSET& third) {
            set(second, UpTo(endY, 1));
            set(third, UpTo(endZ, 1));
        };
        set(QV_VALUE_SET1, UpTo(endX, 1));
        yz(QV_VALUE_SET2, QV_VALUE_SET3);
        set(QV_DDX_SET1, UpTo(endX, used[0] > 0));
        yz(QV_DDX_SET2, QV_DDX_SET3);
        set(QV_DDY_SET1, UpTo(endX, used[1] > 0));
        yz(QV_DDY_SET2, QV_DDY_SET3);
        set(QV_DDZ_SET1, UpTo(endX, used[2] > 0));
        yz(QV_DDZ_SET2, QV_DDZ_SET3);
        SUValue secondX = QV_IntSetValue(1, pellorin::ClampToInt(endX * (used[0] > 1)));
        secondX *= x->INTERIOR.v();
        set(QV_D2DX2_SET1, secondX);
        const SUValue borderedX = Bordered(x->INTERIOR.v(), endX);
        const SUValue borderedY = Bordered(y->INTERIOR.v(), endY);
        const SUValue borderedZ = Bordered(z->INTERIOR.v(), endZ);
        set(QV_D2DX2_SET2, borderedY);
        set(QV_D2DX2_SET3, borderedZ);
        for (int d : {1, 2}) {
            SUValue second = UpTo(endX, used[d] > 1);
            second *= borderedX;
            set(d == 1 ? QV_D2DY2_SET1 : QV_D2DZ2_SET1, second);
            set(d == 1 ? QV_D2DY2_SET3 : QV_D2DZ2_SET2, d == 1 ? borderedZ : borderedY);
        }
        const SUValue& integrals = INTEGRALS.v();
        auto integral = [&](QV_INTEGERSET& first, QV_INTEGERSET& second, QV_INTEGERSET& third,
                            std::initializer_list<const char*> names) {
            set(first, UpTo(endX, 2 * AnyOf(integrals, names) - 1));
            yz(second, third);
        };
        integral(QV_IDX_SET1, QV_IDX_SET2, QV_IDX_SET3, {"idx", "idxdy", "idxdz", "idxdydz"});
        integral(QV_IDY_SET1, QV_IDY_SET2, QV_IDY_SET3, {"idy", "idydz"});
        integral(QV_IDZ_SET1, QV_IDZ_SET2, QV_IDZ_SET3, {"idz"});
        integral(QV_IDXDY_SET1, QV_IDXDY_SET2, QV_IDXDY_SET3, {"idxdy", "idxdydz"});
        integral(QV_IDXDZ_SET1, QV_IDXDZ_SET2, QV_IDXDZ_SET3, {"idxdz"});
        integral(QV_IDYDZ_SET1, QV_IDYDZ_SET2, QV_IDYDZ_SET3, {"idydz"});
        integral(QV_IDXDYDZ_SET1, QV_IDXDYDZ_SET2, QV_IDXDYDZ_SET3, {"idxdydz"});
        if (pass == 1) {
            break;
        }
        pellorin::Assign(HIGHESTORDERXDERIVATIVE,
                         QV_Value(x->HIGHESTORDERDERIVATIVE.v(), b, a, 41));
        pellorin::Assign(HIGHESTORDERYDERIVATIVE,
                         QV_Value(y->HIGHESTORDERDERIVATIVE.v(), b, a, 42));
        pellorin::Assign(HIGHESTORDERZDERIVATIVE,
                         QV_Value(z->HIGHESTORDERDERIVATIVE.v(), b, a, 43));
        pellorin::Assign(HIGHESTORDERXDERIVATIVEUSED,
                         QV_Value(HIGHESTORDERXDERIVATIVE.v(), b, a, 44));
        pellorin::Assign(HIGHESTORDERYDERIVATIVEUSED,
                         QV_Value(HIGHESTORDERYDERIVATIVE.v(), b, a, 45));
        pellorin::Assign(HIGHESTORDERZDERIVATIVEUSED,
                         QV_Value(HIGHESTORDERZDERIVATIVE.v(), b, a, 46));
        pellorin::Assign(INTEGRALS, QV_Value("None", b, a, 47));
    }
}

// Without all three domains linked, or when a term cannot be had, the equations cannot be
// registered.
int QV_DISTRIBUTION3D::AddEquationInstances(int n) {
    QV_DOMAIN* x = XDOMAIN.get();
    QV_DOMAIN* y = YDOMAIN.get();
    QV_DOMAIN* z = ZDOMAIN.get();
    if (x == nullptr || y == nullptr || z == nullptr) {
        return -1;
    }
    Context context({x, y, z}, SettingsOf(*this), DeclaredArrays(*this, *y, *z));
    const pellorin::eqn::WalkOutcome outcome = pellorin::eqn::RegisterInstances(
        pellorin::dist3d::EquationOutline(), context, *this, m_groupBase);
    return outcome.complete ? n + outcome.instances : -1;
}

int QV_DISTRIBUTION3D::AddEquationExpressions(int r, int*& rows, int*& cols) {
    QV_DOMAIN* x = XDOMAIN.get();
    QV_DOMAIN* y = YDOMAIN.get();
    QV_DOMAIN* z = ZDOMAIN.get();
    if (x == nullptr || y == nullptr || z == nullptr) {
        return -1;
    }
    Context context({x, y, z}, SettingsOf(*this), DeclaredArrays(*this, *y, *z));
    const pellorin::eqn::WalkOutcome outcome = pellorin::eqn::RegisterExpressions(
        pellorin::dist3d::EquationOutline(), context, *this, *this, m_groupBase, r, rows, cols);
    return outcome.complete ? r : -1;
}
PELLORIN_REFERENCE_INSTANCES(QV_DISTRIBUTION3D)
