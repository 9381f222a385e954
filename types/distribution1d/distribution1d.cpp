#include "types/distribution1d/distribution1d.h"

#include "framework/exports.h"
#include "types/distribution/distribution.h"
#include "types/distribution1d/arrays.h"
#include "types/distribution1d/outline.h"

PELLORIN_TYPE_EXPORTS(DISTRIBUTION1D);

namespace {

namespace dist1d = pellorin::dist1d;
using D = QV_DISTRIBUTION1D;

constexpr pellorin::eqn::Shape<D, 1> kShape{
    .domains = {&D::XDOMAIN},
    .declared = {&D::HIGHESTORDERXDERIVATIVE},
    .used = {&D::HIGHESTORDERXDERIVATIVEUSED},
    .integrals = &D::INTEGRALS,
    .integralNames = dist1d::kIntegrals,
    .arrays = dist1d::kArrays,
    .setNames = pellorin::eqn::kSetNames<dist1d::kArrays>,
    .declaredNumbers = {5},
    .usedNumbers = {6},
    .integralsNumber = 7,
    .outline = &dist1d::EquationOutline,
};

pellorin::eqn::Distribution<D, 1> Engine(D& d) {
    return {d, kShape};
}

} // namespace

PELLORIN_TYPE_DEFINITIONS(Model, DISTRIBUTION1D);

void QV_DISTRIBUTION1D::DeclareProperties(pellorin::Registrar& r) {
    r(XDOMAIN, "XDOMAIN");
    Engine(*this).DeclareArray(r, 0);
    r(USERNOTES, "USERNOTES");
    r(INPUTSIGNAL, "INPUTSIGNAL", QV_DirectionInput);
    r(OUTPUTSIGNAL, "OUTPUTSIGNAL", QV_DirectionOutput);
    r(HIGHESTORDERXDERIVATIVE, "HIGHESTORDERXDERIVATIVE");
    r(HIGHESTORDERXDERIVATIVEUSED, "HIGHESTORDERXDERIVATIVEUSED");
    r(INTEGRALS, "INTEGRALS", QV_DirectionNone,
      pellorin::eqn::kIntegralsDescription<dist1d::kIntegrals>.c_str());
    Engine(*this).DeclareArrays(r, 1);
}

void QV_DISTRIBUTION1D::BindArrays() {
    Engine(*this).BindArrays();
}

bool QV_DISTRIBUTION1D::RunAssignments(int a, int b) {
    return Engine(*this).RunAssignments(a, b);
}

int QV_DISTRIBUTION1D::AddEquationInstances(int n) {
    return Engine(*this).AddEquationInstances(n);
}

int QV_DISTRIBUTION1D::AddEquationExpressions(int r, int*& rows, int*& cols) {
    return Engine(*this).AddEquationExpressions(r, rows, cols);
}
PELLORIN_REFERENCE_INSTANCES(QV_DISTRIBUTION1D)
