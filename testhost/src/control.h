// Internal state of the stand-in host that several of its parts share.
#pragma once

#include <cstdint>

#include "vuzizev/testing.h"

namespace vzt::detail {

bool JournalOn();
void Record(Event event);
// A handle of 31 bits (never 0) for an 8-aligned address inside a small block the allocator
// handed out, which stays good while that block's slab lives; 0 for any other address.
std::uint32_t BlockHandle(const void* p);
const void* BlockAt(std::uint32_t handle);
// Starts the count of foreign frees afresh.
void ForgetForeignFrees();

} // namespace vzt::detail
