#include "types/distribution3d/distribution3d.h"

#include "framework/exports.h"
#include "types/distribution/distribution.h"
#include "types/distribution3d/arrays.h"
#include "types/distribution3d/outline.h"

PELLORIN_TYPE_EXPORTS(DISTRIBUTION3D);

namespace {

namespace dist3d = pellorin::dist3d;
using D = QV_DISTRIBUTION3D;

// Every switch of an index set acts on the x dimension.
constexpr pellorin::eqn::Shape<D, 3> kShape{
    .domains = {&D::XDOMAIN, &D::YDOMAIN, &D::ZDOMAIN},
    .declared = {&D::HIGHESTORDERXDERIVATIVE, &D::HIGHESTORDERYDERIVATIVE,
                 &D::HIGHESTORDERZDERIVATIVE},
    .used = {&D::HIGHESTORDERXDERIVATIVEUSED, &D::HIGHESTORDERYDERIVATIVEUSED,
             &D::HIGHESTORDERZDERIVATIVEUSED},
    .integrals = &D::INTEGRALS,
    .integralNames = dist3d::kIntegrals,
    .arrays = dist3d::kArrays,
    .setNames = pellorin::eqn::kSetNames<dist3d::kArrays>,
    .declaredNumbers = {41, 42, 43},
    .usedNumbers = {44, 45, 46},
    .integralsNumber = 47,
    .outline = &dist3d::EquationOutline,
};

pellorin::eqn::Distribution<D, 3> Engine(D& d) {
    return {d, kShape};
}

} // namespace

PELLORIN_TYPE_DEFINITIONS(Model, DISTRIBUTION3D);

void QV_DISTRIBUTION3D::DeclareProperties(pellorin::Registrar& r) {
    r(XDOMAIN, "XDOMAIN");
    r(YDOMAIN, "YDOMAIN");
    r(ZDOMAIN, "ZDOMAIN");
    Engine(*this).DeclareArray(r, 0);
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
      pellorin::eqn::kIntegralsDescription<dist3d::kIntegrals>.c_str());
    Engine(*this).DeclareArrays(r, 1);
}

void QV_DISTRIBUTION3D::BindArrays() {
    Engine(*this).BindArrays();
}

bool QV_DISTRIBUTION3D::RunAssignments(int a, int b) {
    return Engine(*this).RunAssignments(a, b);
}

int QV_DISTRIBUTION3D::AddEquationInstances(int n) {
    return Engine(*this).AddEquationInstances(n);
}

int QV_DISTRIBUTION3D::AddEquationExpressions(int r, int*& rows, int*& cols) {
    return Engine(*this).AddEquationExpressions(r, rows, cols);
}
PELLORIN_REFERENCE_INSTANCES(QV_DISTRIBUTION3D)
