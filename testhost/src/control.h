// Internal state of the stand-in host that several of its parts share.
#pragma once

#include "standin/testing.h"

class QV_Unknown;

namespace vzt::detail {

// The characters a string index is read into, its terminating zero included.
inline constexpr std::size_t kIndexBufferSize = 128;

bool JournalOn();

// Destroys an object that the host owns and returns its memory to MyFree. Every object handed
// to the host to own (an array's element, an equation, a default object) lives in memory from
// MyAllocate, whichever library made it.
void Destroy(QV_Unknown* object);
void Record(Event event);

} // namespace vzt::detail
