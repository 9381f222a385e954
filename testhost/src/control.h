// Internal state of the stand-in host that several of its parts share.
#pragma once

#include "vuzizev/testing.h"

namespace vzt::detail {

// The characters a string index is read into, its terminating zero included.
inline constexpr std::size_t kIndexBufferSize = 128;

bool JournalOn();
void Record(Event event);

} // namespace vzt::detail
