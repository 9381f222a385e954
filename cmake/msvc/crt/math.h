// <math.h> of the C runtime, with what its Wine version lacks and libc++'s <cmath> refers to:
// the C99 double functions the runtime exports but the header does not declare, and the long
// double functions, which on this target are the double ones (long double is double).
#pragma once
#include_next <math.h>

#ifdef __cplusplus
extern "C" {
double __cdecl erfc(double);
double __cdecl fma(double, double, double);
double __cdecl hypot(double, double);
int __cdecl ilogb(double);
long __cdecl lrint(double);
long long __cdecl llrint(double);
long __cdecl lround(double);
long long __cdecl llround(double);
double __cdecl nan(const char*);
double __cdecl nexttoward(double, long double);
float __cdecl erfcf(float);
float __cdecl fmaf(float, float, float);
float __cdecl hypotf(float, float);
int __cdecl ilogbf(float);
long __cdecl lrintf(float);
long long __cdecl llrintf(float);
long __cdecl lroundf(float);
long long __cdecl llroundf(float);
float __cdecl nanf(const char*);
float __cdecl nexttowardf(float, long double);
float __cdecl scalbnf(float, int);
float __cdecl scalblnf(float, long);
float __cdecl copysignf(float, float);
float __cdecl ldexpf(float, int);
float __cdecl tanhf(float);
}

#define PELLORIN_LONG_DOUBLE_1(name)                                                               \
    inline long double name##l(long double x) {                                                    \
        return name(double(x));                                                                    \
    }
#define PELLORIN_LONG_DOUBLE_2(name)                                                               \
    inline long double name##l(long double x, long double y) {                                     \
        return name(double(x), double(y));                                                         \
    }
#define PELLORIN_LONG_DOUBLE_TO(type, name)                                                        \
    inline type name##l(long double x) {                                                           \
        return name(double(x));                                                                    \
    }
PELLORIN_LONG_DOUBLE_1(acos)
PELLORIN_LONG_DOUBLE_1(acosh)
PELLORIN_LONG_DOUBLE_1(asin)
PELLORIN_LONG_DOUBLE_1(asinh)
PELLORIN_LONG_DOUBLE_1(atan)
PELLORIN_LONG_DOUBLE_1(atanh)
PELLORIN_LONG_DOUBLE_1(cbrt)
PELLORIN_LONG_DOUBLE_1(ceil)
PELLORIN_LONG_DOUBLE_1(cos)
PELLORIN_LONG_DOUBLE_1(cosh)
PELLORIN_LONG_DOUBLE_1(erf)
PELLORIN_LONG_DOUBLE_1(erfc)
PELLORIN_LONG_DOUBLE_1(exp)
PELLORIN_LONG_DOUBLE_1(exp2)
PELLORIN_LONG_DOUBLE_1(expm1)
PELLORIN_LONG_DOUBLE_1(fabs)
PELLORIN_LONG_DOUBLE_1(floor)
PELLORIN_LONG_DOUBLE_1(lgamma)
PELLORIN_LONG_DOUBLE_1(log)
PELLORIN_LONG_DOUBLE_1(log10)
PELLORIN_LONG_DOUBLE_1(log1p)
PELLORIN_LONG_DOUBLE_1(log2)
PELLORIN_LONG_DOUBLE_1(logb)
PELLORIN_LONG_DOUBLE_1(nearbyint)
PELLORIN_LONG_DOUBLE_1(rint)
PELLORIN_LONG_DOUBLE_1(round)
PELLORIN_LONG_DOUBLE_1(sin)
PELLORIN_LONG_DOUBLE_1(sinh)
PELLORIN_LONG_DOUBLE_1(sqrt)
PELLORIN_LONG_DOUBLE_1(tan)
PELLORIN_LONG_DOUBLE_1(tanh)
PELLORIN_LONG_DOUBLE_1(tgamma)
PELLORIN_LONG_DOUBLE_1(trunc)
PELLORIN_LONG_DOUBLE_2(atan2)
PELLORIN_LONG_DOUBLE_2(copysign)
PELLORIN_LONG_DOUBLE_2(fdim)
PELLORIN_LONG_DOUBLE_2(fmax)
PELLORIN_LONG_DOUBLE_2(fmin)
PELLORIN_LONG_DOUBLE_2(fmod)
PELLORIN_LONG_DOUBLE_2(hypot)
PELLORIN_LONG_DOUBLE_2(nextafter)
PELLORIN_LONG_DOUBLE_2(pow)
PELLORIN_LONG_DOUBLE_2(remainder)
PELLORIN_LONG_DOUBLE_TO(int, ilogb)
PELLORIN_LONG_DOUBLE_TO(long, lrint)
PELLORIN_LONG_DOUBLE_TO(long long, llrint)
PELLORIN_LONG_DOUBLE_TO(long, lround)
PELLORIN_LONG_DOUBLE_TO(long long, llround)
#undef PELLORIN_LONG_DOUBLE_1
#undef PELLORIN_LONG_DOUBLE_2
#undef PELLORIN_LONG_DOUBLE_TO
inline long double fmal(long double x, long double y, long double z) {
    return fma(double(x), double(y), double(z));
}
inline long double frexpl(long double x, int* e) {
    return frexp(double(x), e);
}
inline long double ldexpl(long double x, int e) {
    return ldexp(double(x), e);
}
inline long double modfl(long double x, long double* i) {
    double whole;
    const double fraction = modf(double(x), &whole);
    *i = whole;
    return fraction;
}
inline long double nanl(const char* tag) {
    return nan(tag);
}
inline long double nexttowardl(long double x, long double y) {
    return nexttoward(double(x), y);
}
inline long double remquol(long double x, long double y, int* q) {
    return remquo(double(x), double(y), q);
}
inline long double scalbnl(long double x, int e) {
    return scalbn(double(x), e);
}
inline long double scalblnl(long double x, long e) {
    return scalbln(double(x), e);
}
#endif
