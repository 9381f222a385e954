// The pieces a distribution's index sets are built from, shared by one, two and three
// directions.
#pragma once

#include <climits>

#include <vuzizev/sets.h>

#include "types/domain/rounding.h"

namespace pellorin::eqn {

// The node set {0} + INTERIOR + {END} of a direction, over which second derivatives and joins
// run, built as the host's set algebra builds it: a copy of the interior, the end added to
// it, then the copy added to the one-element set {0}. The end is taken by the 32-bit rule.
inline QV_IntSetValue Bordered(const QV_SetValue& interior, long long end) {
    QV_SetValue rest(interior);
    rest += pellorin::ClampToInt(end);
    QV_IntSetValue bordered(0, INT_MIN);
    bordered += rest;
    return bordered;
}

// [0 : end · factor] by the 32-bit rule: a factor of 0 or -1 switches the set off.
inline QV_IntSetValue UpTo(long long end, long long factor) {
    return QV_IntSetValue(0, pellorin::ClampToInt(end * factor));
}

} // namespace pellorin::eqn
