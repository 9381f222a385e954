// The library's global allocation and release functions: every block the library makes comes
// from the host's allocator and goes back to it. They are the library's own: a DLL's are its
// own anyway, and on Linux own_allocation.map keeps them out of the dynamic symbol table, so
// they replace allocation for this library alone and not for the whole process.
//
// Every form hands back what the host's allocator gives, null when it has no memory: nothing
// is thrown. The library writes each of its new-expressions `new (std::nothrow)`, which
// answers null without constructing anything; the compiler is also told to test the result
// of the other forms (-fcheck-new, where it has it).
#include <cstddef>
#include <new>

#include <vuzizev/alloc.h>

void* operator new(std::size_t size) {
    return MyAllocate(size);
}
void* operator new[](std::size_t size) {
    return MyAllocate(size);
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
