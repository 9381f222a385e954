// The host's allocator. Every object of the host and library classes comes from here.
#pragma once

#include <cstddef>

#include "vuzizev/api.h"

extern "C" {
// Returns size bytes of memory, or null when the host cannot supply them.
VZ_API void* MyAllocate(std::size_t size);
// Returns memory obtained from MyAllocate; null is ignored.
VZ_API void MyFree(void* p);
}
