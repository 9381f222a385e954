// Dereferencing what may be missing: an unlinked reference, an element that could not be made.
#pragma once

#include "framework/defaults.h"

namespace pellorin {

// A T that stands for a missing one: made once, in storage of its own, and never part of a
// model; what is written to it is lost.
template <class T>
T& Spare() {
    alignas(T) static unsigned char storage[sizeof(T)];
    static T* spare = nullptr;
    if (spare == nullptr) {
        spare = ConstructDefault<T>(storage);
    }
    return *spare;
}

// The object p points to. A missing object is noted and the spare stands for it: nothing is
// thrown, no null reference is formed, and the step in which it happened fails.
template <class T>
T& Deref(T* p) {
    if (p != nullptr) {
        return *p;
    }
    missingObjectNoted = true;
    return Spare<T>();
}

} // namespace pellorin
