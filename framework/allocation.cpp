// The library's global allocation and release functions: every block the library makes comes
// from the host's allocator and goes back to it. They are the library's own: a DLL's are its
// own anyway, and on Linux own_allocation.map keeps them out of the dynamic symbol table, so
// they replace allocation for this library alone and not for the whole process.
//
// An allocation that the library expects may fail is written `new (std::nothrow)`, which
// answers null when the host has no memory. The throwing forms cannot answer null, so they
// report the failure as std::bad_alloc instead.
#include <cstddef>
#include <new>

#include <vuzizev/alloc.h>

namespace {

void* AllocateOrThrow(std::size_t size) {
    void* block = MyAllocate(size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    return block;
}

} // namespace

void* operator new(std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return MyAllocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return MyAllocate(size);
}

void operator delete(void* block) noexcept {
    MyFree(block);
}
void operator delete[](void* block) noexcept {
    MyFree(block);
}
void operator delete(void* block, std::size_t) noexcept {
    MyFree(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    MyFree(block);
}
void operator delete(void* block, const std::nothrow_t&) noexcept {
    MyFree(block);
}
void operator delete[](void* block, const std::nothrow_t&) noexcept {
    MyFree(block);
}
