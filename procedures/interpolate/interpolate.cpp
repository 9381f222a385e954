#include "procedures/interpolate/interpolate.h"

template class QV_ProcedureTemplate<QVProc_INTERPOLATE, 4, 1, 2, QV_ProcedureType_C, 4>;

#if defined(_WIN32) && (defined(__i386__) || defined(_M_IX86))
// The host provides the object's storage at the size its members give: nothing more.
static_assert(sizeof(QVProc_INTERPOLATE) == 264, "the procedure object as the host lays it out");
#endif

QVProc_INTERPOLATE::QVProc_INTERPOLATE(bool mode, int value) {
    SetMode(mode, value);
}

QVProc_INTERPOLATE::QVProc_INTERPOLATE(const QVProc_INTERPOLATE& other)
    : QV_ProcedureTemplate(other) {}

QVProc_INTERPOLATE& QVProc_INTERPOLATE::operator=(const QVProc_INTERPOLATE& other) {
    QV_ProcedureTemplate::operator=(other);
    return *this;
}

QVProc_INTERPOLATE::~QVProc_INTERPOLATE() = default;

const char* QVProc_INTERPOLATE::ProcedureName() const {
    return "INTERP";
}

const char* QVProc_INTERPOLATE::DLLName() const {
    return "VARudaduro";
}

int QVProc_INTERPOLATE::Precall(bool flag) {
    return CallFn(CallPrecall, flag);
}

bool QVProc_INTERPOLATE::ReturnsDerivatives() {
    return true;
}

void QVProc_INTERPOLATE::CreateDerivatives() {
    HandleDerivatives(false);
}

void QVProc_INTERPOLATE::NegateDerivatives() {
    HandleDerivatives(true);
}
