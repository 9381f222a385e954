// The host's release functions: whatever the host destroys goes back through MyFree, whichever
// library made it, so the allocator's books stay true. The test programs release the same
// way. They stay inside the library or program that has them (own_release.map, and
// tests/support), so that they do not take over the process's.
#include <cstddef>
#include <new>

#include "standin/testing.h"
#include "vuzizev/alloc.h"

void operator delete(void* block) noexcept {
    MyFree(block);
}
void operator delete[](void* block) noexcept {
    vzt::ReleaseArray(block);
}
void operator delete(void* block, std::size_t) noexcept {
    MyFree(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    vzt::ReleaseArray(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    MyFree(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    vzt::ReleaseArray(block);
}
