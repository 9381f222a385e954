// The two conversions of the domain's arithmetic from a real to a 32-bit integer. A value that
// is not a number or lies outside the 32-bit range gives the smallest 32-bit integer.
#pragma once

#include <climits>
#include <cmath>

#include "framework/api.h"

namespace pellorin {

// Truncation toward zero: 2.99 gives 2, -2.5 gives -2.
constexpr int TruncateToInt(double x) {
    if (!(x > -2147483649.0 && x < 2147483648.0)) { // also false for NaN
        return INT_MIN;
    }
    return static_cast<int>(x);
}

// Half away from zero: 2.5 gives 3, -2.5 gives -3, 2.4999 gives 2.
constexpr int RoundToInt(double x) {
    return TruncateToInt(x >= 0.0 ? x + 0.5 : x - 0.5);
}

// ROUND(length / spacing) as a section's node count. A count past 32 bits from a spacing that
// is not zero is kept past them (INT_MAX + 1), so that whole elements of it are past them too
// and the layout reads as one that cannot be held, as a MINNODECOUNT past 32 bits does; the
// INT rule would make it the smallest integer and let MINNODECOUNT take over. A zero spacing
// or a quotient that is not a number follows the INT rule.
constexpr long long NodeCountOfSpacing(double length, double spacing) {
    const double n = length / spacing;
    if (spacing != 0.0 && n >= 2147483647.5) { // rounds past INT_MAX; also +infinity
        return (long long)INT_MAX + 1;
    }
    return RoundToInt(n);
}

// An integer that may lie outside 32 bits, taken as TruncateToInt takes a real.
constexpr int ClampToInt(long long x) {
    return (x < INT_MIN || x > INT_MAX) ? INT_MIN : static_cast<int>(x);
}

} // namespace pellorin
