#include "types/distribution2d/distribution2d.h"

#include "framework/exports.h"
#include "types/distribution/distribution.h"
#include "types/distribution2d/arrays.h"
#include "types/distribution2d/outline.h"

PELLORIN_TYPE_EXPORTS(DISTRIBUTION2D);

namespace {

namespace dist2d = pellorin::dist2d;
using D = QV_DISTRIBUTION2D;

// Every switch of an index set acts on the x dimension.
constexpr pellorin::eqn::Shape<D, 2> kShape{
    .domains = {&D::XDOMAIN, &D::YDOMAIN},
    .declared = {&D::HIGHESTORDERXDERIVATIVE, &D::HIGHESTORDERYDERIVATIVE},
    .used = {&D::HIGHESTORDERXDERIVATIVEUSED, &D::HIGHESTORDERYDERIVATIVEUSED},
    .integrals = &D::INTEGRALS,
    .integralNames = dist2d::kIntegrals,
    .arrays = dist2d::kArrays,
    .setNames = pellorin::eqn::kSetNames<dist2d::kArrays>,
    .declaredNumbers = {16, 17},
    .usedNumbers = {18, 19},
    .integralsNumber = 20,
    .outline = &dist2d::EquationOutline,
};

pellorin::eqn::Distribution<D, 2> Engine(D& d) {
    return {d, kShape};
}

} // namespace

PELLORIN_TYPE_DEFINITIONS(Model, DISTRIBUTION2D);

void QV_DISTRIBUTION2D::DeclareProperties(pellorin::Registrar& r) {
    r(XDOMAIN, "XDOMAIN");
    r(YDOMAIN, "YDOMAIN");
    Engine(*this).DeclareArray(r, 0);
    r(USERNOTES, "USERNOTES");
    r(INPUTSIGNAL, "INPUTSIGNAL", QV_DirectionInput);
    r(OUTPUTSIGNAL, "OUTPUTSIGNAL", QV_DirectionOutput);
    r(HIGHESTORDERXDERIVATIVE, "HIGHESTORDERXDERIVATIVE");
    r(HIGHESTORDERYDERIVATIVE, "HIGHESTORDERYDERIVATIVE");
    r(HIGHESTORDERXDERIVATIVEUSED, "HIGHESTORDERXDERIVATIVEUSED");
    r(HIGHESTORDERYDERIVATIVEUSED, "HIGHESTORDERYDERIVATIVEUSED");
    r(INTEGRALS, "INTEGRALS", QV_DirectionNone,
      pellorin::eqn::kIntegralsDescription<dist2d::kIntegrals>.c_str());
    Engine(*this).DeclareArrays(r, 1);
}

void QV_DISTRIBUTION2D::BindArrays() {
    Engine(*this).BindArrays();
}

bool QV_DISTRIBUTION2D::RunAssignments(int a, int b) {
    return Engine(*this).RunAssignments(a, b);
}

int QV_DISTRIBUTION2D::AddEquationInstances(int n) {
    return Engine(*this).AddEquationInstances(n);
}

int QV_DISTRIBUTION2D::AddEquationExpressions(int r, int*& rows, int*& cols) {
    return Engine(*this).AddEquationExpressions(r, rows, cols);
}
PELLORIN_REFERENCE_INSTANCES(QV_DISTRIBUTION2D)
