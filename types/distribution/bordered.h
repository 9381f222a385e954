// The node set {0} + INTERIOR + {END} of a direction, over which second derivatives and joins
// run, built as the host's set algebra builds it: a copy of the interior, the end added to
// it, then the copy added to the one-element set {0}.
#pragma once

#include <climits>

#include <vuzizev/sets.h>

namespace pellorin::eqn {

inline QV_IntSetValue Bordered(const QV_SetValue& interior, int end) {
    QV_SetValue rest(interior);
    rest += end;
    QV_IntSetValue bordered(0, INT_MIN);
    bordered += rest;
    return bordered;
}

} // namespace pellorin::eqn
