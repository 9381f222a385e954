// Dereferencing what may be missing: an unlinked reference, an element that could not be made.
#pragma once

#include <stdexcept>

namespace pellorin {

// The object p points to. A missing object is a clear failure (std::logic_error naming
// what is missing), never a null reference.
template <class T>
T& Deref(T* p, const char* what) {
    if (p == nullptr) {
        throw std::logic_error(what);
    }
    return *p;
}

} // namespace pellorin
