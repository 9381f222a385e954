// INTERP: piecewise linear interpolation over the first n points of the tables X and Y,
// extended linearly beyond the end points, with the derivatives of the result with respect
// to every input column.
//
// Inputs in the value buffer at the argument offsets: x (real), X (N reals), Y (M reals),
// n (a 32-bit integer in the first four bytes of its slot); the result goes to the output
// offset. Derivative columns: x, X(1..N), Y(1..M), n. ifail: 0 done, 2 n outside
// 2..min(N, M), 3 X(1..n) not strictly increasing, 4 a derivative block of another size.
#include <cstring>

#if defined(_WIN32)
#define VARUDADURO_API __declspec(dllexport)
#else
#define VARUDADURO_API __attribute__((visibility("default")))
#endif

namespace {

constexpr int kDone = 0;
constexpr int kBadCount = 2;
constexpr int kNotIncreasing = 3;
constexpr int kBadBlock = 4;

// The segment [X[k], X[k+1]] that holds x: at a knot the one to its right, at the last
// knot the last; outside the table the end segment on that side.
int Segment(const double* X, int n, double x) {
    int k = 0;
    while (k < n - 2 && x >= X[k + 1]) {
        ++k;
    }
    return k;
}

} // namespace

extern "C" VARUDADURO_API void INTERP(int* /*callType*/, double* valuesIn, int* dimsIn,
                                      double* valuesOut, int* /*dimsOut*/, int* offsetsIn,
                                      int* offsetsOut, int* /*hostInt*/, double* /*hostReals*/,
                                      int* /*hostInt2*/, int* nonZeros, int* /*rows*/,
                                      int* /*cols*/, int* /*scratch*/, double* derivs, int* ifail) {
    // The first argument always starts the buffer: its offset is the base of all of them.
    const int base = offsetsIn[0];
    const int N = dimsIn[0];
    const int M = dimsIn[1];
    const double x = valuesIn[offsetsIn[0] - base];
    const double* X = valuesIn + (offsetsIn[1] - base);
    const double* Y = valuesIn + (offsetsIn[2] - base);
    int n = 0;
    std::memcpy(&n, valuesIn + (offsetsIn[3] - base), sizeof n);

    if (n < 2 || n > N || n > M) {
        *ifail = kBadCount;
        return;
    }
    for (int i = 0; i + 1 < n; ++i) {
        if (!(X[i] < X[i + 1])) {
            *ifail = kNotIncreasing;
            return;
        }
    }
    const int columns = N + M + 2;
    if (*nonZeros != 0 && (*nonZeros != columns || derivs == nullptr)) {
        *ifail = kBadBlock;
        return;
    }

    const int k = Segment(X, n, x);
    const double h = X[k + 1] - X[k];
    const double t = (x - X[k]) / h;
    const double slope = (Y[k + 1] - Y[k]) / h;
    valuesOut[*offsetsOut - base] = Y[k] + t * (Y[k + 1] - Y[k]);

    if (*nonZeros != 0) {
        for (int c = 0; c < columns; ++c) {
            derivs[c] = 0.0;
        }
        double* dX = derivs + 1;
        double* dY = derivs + 1 + N;
        derivs[0] = slope;
        dX[k] = -slope * (1.0 - t);
        dX[k + 1] = -slope * t;
        dY[k] = 1.0 - t;
        dY[k + 1] = t;
    }
    *ifail = kDone;
}
