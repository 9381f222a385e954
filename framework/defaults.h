// How the library makes the objects that references and arrays stand for, and which identity
// names each kind of object to the host.
#pragma once

#include <new>
#include <type_traits>

#include <vuzizev/vuzizev.h>

#include "framework/frame.h"

namespace pellorin {

// A default T in block: a type of the library with construction switched on and no parent,
// a host class (or parameter type) by its construct-flag constructor, an array or a
// multiport empty.
template <class T>
T* ConstructDefault(void* block) {
    if constexpr (LibraryType<T>) {
        return ::new (block) T(true, nullptr);
    } else if constexpr (std::is_constructible_v<T, bool>) {
        return ::new (block) T(true);
    } else {
        return ::new (block) T();
    }
}

// A new default T in a block from the host's allocator; null, with nothing constructed, when
// the allocator fails. The block is taken from the host directly, so that wherever this is
// instantiated the object lives in the host's heap.
template <class T>
T* MakeDefault() {
    void* block = MyAllocate(sizeof(T));
    if (block == nullptr) {
        return nullptr;
    }
    try {
        return ConstructDefault<T>(block);
    } catch (...) {
        MyFree(block);
        throw;
    }
}

// The identity a reference to T reports: that of the host class for a parameter type, of
// the matrix base for an array, of the multiport base for a multiport, T's own otherwise.
template <class T>
const char* ReferenceIdentity() {
    if constexpr (std::is_base_of_v<QV_Matrix, T>) {
        return QV_Matrix::QV_ContainerId();
    } else if constexpr (std::is_base_of_v<QV_MULTIPORT_BaseType, T>) {
        return QV_MULTIPORT_BaseType::QV_ContainerId();
    } else if constexpr (std::is_base_of_v<QV_REALPARAMETER, T>) {
        return QV_REALPARAMETER::QV_ContainerId();
    } else if constexpr (std::is_base_of_v<QV_INTEGERPARAMETER, T>) {
        return QV_INTEGERPARAMETER::QV_ContainerId();
    } else if constexpr (std::is_base_of_v<QV_STRINGPARAMETER, T>) {
        return QV_STRINGPARAMETER::QV_ContainerId();
    } else {
        return T::QV_ContainerId();
    }
}

} // namespace pellorin
