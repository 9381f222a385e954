// Internal state of the stand-in host that several of its parts share.
#pragma once

#include <cstdint>

#include "standin/testing.h"

class QV_PtrVectorObject;

namespace vzt::detail {

// The characters a string index is read into, its terminating zero included.
inline constexpr std::size_t kIndexBufferSize = 128;

bool JournalOn();
// Whether only blanks are left at cursor, as after the last index of a complete index string.
bool AtEndOfIndex(const char* cursor);

// Destroys an object that the host owns and returns its memory to MyFree. Every object handed
// to the host to own (an array's element, an equation, a default object) lives in memory from
// MyAllocate, whichever library made it.
void Destroy(QV_PtrVectorObject* object);
void Record(Event event);
// A handle of 31 bits (never 0) for an 8-aligned address inside a small block the allocator
// handed out, which stays good while that block's slab lives; 0 for any other address.
std::uint32_t BlockHandle(const void* p);
const void* BlockAt(std::uint32_t handle);
// Starts the count of foreign frees afresh.
void ForgetForeignFrees();
// Counts an allocation that failed outside MyAllocate (a set too large to hold, a table that
// cannot grow) among the failed allocations. The host reports such a failure by the status
// of the call that needed it; nothing is thrown, since an exception cannot always cross from
// the host into the library that called it.
void CountFailedAllocation();
// The type code of a set value that could not be held (more members than an int counts, or no
// memory for them): it is empty, and no set property takes it, so that the assignment or
// index set that was to receive it fails.
inline constexpr int kSetNotHeld = -1;

} // namespace vzt::detail
