// Blocks that an object keeps outside its own storage, found by the object's address: for an
// object whose size the host fixes, what it keeps beyond its listed members. Each block comes
// from the host's allocator and belongs to its object, which releases it when it goes.
// Exported with the procedures whose members reach them, which a program may instantiate.
#pragma once

#include <cstddef>

#include "framework/api.h"

namespace pellorin::side {

// The block of owner; null when it has none.
PELLORIN_API void* Find(const void* owner);
// Gives owner a zeroed block of the given size in place of any it had; null, with nothing
// kept, when memory runs out.
PELLORIN_API void* Make(const void* owner, std::size_t bytes);
// Releases owner's block, if it has one.
PELLORIN_API void Release(const void* owner);

} // namespace pellorin::side
