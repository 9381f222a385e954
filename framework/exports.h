// The exported entry points of a creatable type.
#pragma once

#include <cstdint>
#include <new>

#include "framework/api.h"

namespace pellorin {

// Allocates a type object through the host, constructs it with construction switched on and
// no parent, and takes one reference. Null, with nothing constructed, when allocation fails.
template <class T>
T* CreateType() {
    T* object = new (std::nothrow) T(true, nullptr);
    if (object == nullptr) {
        return nullptr;
    }
    object->AddRef();
    return object;
}

} // namespace pellorin

// <TYPE>Factory, <TYPE>PropertyInfo, _Compatibility<TYPE> and _JacData<TYPE>, unmangled.
// The property-information word and the data blocks are the host's; the library never
// reads or writes them.
#define PELLORIN_TYPE_EXPORTS(TYPE)                                                                \
    extern "C" {                                                                                   \
    PELLORIN_API QV_##TYPE* TYPE##Factory() {                                                      \
        return pellorin::CreateType<QV_##TYPE>();                                                  \
    }                                                                                              \
    PELLORIN_API std::uint32_t* TYPE##PropertyInfo() {                                             \
        static std::uint32_t propertyInfo = 0;                                                     \
        return &propertyInfo;                                                                      \
    }                                                                                              \
    PELLORIN_API unsigned char _Compatibility##TYPE[8] = {6, 0, 0, 0, 0, 0, 0, 0}; /* NOLINT */    \
    PELLORIN_API unsigned char _JacData##TYPE[220] = {};                           /* NOLINT */    \
    }                                                                                              \
    static_assert(sizeof(_Compatibility##TYPE) == 8 && sizeof(_JacData##TYPE) == 220)
