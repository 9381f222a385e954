// The interpolation procedure y = INTERPOLATE(x, X, Y, n): the routine INTERP of the routine
// library VARudaduro computes y and its derivatives from a real x, the real arrays X and Y
// and the integer n.
#pragma once

#include "procedures/interpolate/procedure_template.h"

class QVProc_INTERPOLATE;

// The instance is made, and exported whole, by the library.
extern template class PELLORIN_API
    QV_ProcedureTemplate<QVProc_INTERPOLATE, 4, 1, 2, QV_ProcedureType_C, 4>;

class PELLORIN_API QVProc_INTERPOLATE
    : public QV_ProcedureTemplate<QVProc_INTERPOLATE, 4, 1, 2, QV_ProcedureType_C, 4> {
public:
    QVProc_INTERPOLATE(bool mode, int value);
    QVProc_INTERPOLATE(const QVProc_INTERPOLATE& other);
    QVProc_INTERPOLATE& operator=(const QVProc_INTERPOLATE& other);
    ~QVProc_INTERPOLATE() override;

    const char* ProcedureName() const override;
    const char* DLLName() const override;
    int Precall(bool flag) override;

    // Per argument: dimensions, type code (2 and 3 integer, 4 real, 5 string), and whether
    // the routine gives the input a value back. Each reads a table of its own, a local static
    // exported with the class; the results are const, as the host declares them. Each is kept
    // in the library even where every call of it is inlined, so that it is exported too.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wignored-qualifiers"
    [[gnu::used]] static const int Dimensions(int k) {
        static const unsigned char nDims[5] = {0, 1, 1, 0, 0};
        return nDims[k];
    }
    [[gnu::used]] static const int Type(int k) {
        static const unsigned char iTypes[5] = {4, 4, 4, 2, 4};
        return iTypes[k];
    }
    [[gnu::used]] static const bool IsVariableInput(int k) {
        static const bool bIsVar[5] = {false, false, false, false, false};
        return bIsVar[k];
    }
#pragma GCC diagnostic pop
    static bool ReturnsDerivatives();

    void CreateDerivatives();
    void NegateDerivatives();
};
