#include "module.h"

#include <windows.h>

namespace msvctest {

void* OpenLibrary(const char* path) {
    return LoadLibraryA(path);
}

bool CloseLibrary(void* module) {
    return FreeLibrary(static_cast<HMODULE>(module)) != 0;
}

void* LibraryFunction(void* module, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
}

const char* LibraryResource(void* module, const char* type, const char* name,
                            unsigned short language, unsigned long& size) {
    const auto handle = static_cast<HMODULE>(module);
    HRSRC found = FindResourceExA(handle, type, name, language);
    if (found == nullptr) {
        return nullptr;
    }
    size = SizeofResource(handle, found);
    return static_cast<const char*>(LockResource(LoadResource(handle, found)));
}

} // namespace msvctest
