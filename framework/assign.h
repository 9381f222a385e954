// Values handed to the host: it takes each by address, so each is made for its call.
#pragma once

#include <vuzizev/vuzizev.h>

namespace pellorin {

// A default assignment of value to target; the host's status is passed on.
inline QV_AssignStatus Assign(QV_VarParamProp& target, QV_Value value) {
    return target.Assign(&value);
}

// Gives owner's internal index set its value for the pass.
inline long InitialiseIndexSet(QV_Container& owner, QV_Set& set, QV_Value value, int pass) {
    return owner.InitialiseInternalIndexSet(set, &value, pass);
}

} // namespace pellorin
