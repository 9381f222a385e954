#include "loader.h"

#include "numbers.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <limits.h>
#include <unistd.h>
#endif

namespace vzt {
namespace {

#if defined(_WIN32)
void* OpenLibrary(const std::string& path, std::string& error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        error = "cannot open " + path + " (error " + IntegerText(GetLastError()) + ")";
    }
    return reinterpret_cast<void*>(module);
}
void CloseLibrary(void* handle) {
    FreeLibrary(static_cast<HMODULE>(handle));
}
void* FindSymbol(void* handle, const std::string& name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name.c_str()));
}
// The running program's own file.
std::string ProgramFile(const char* argv0) {
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer) {
        return std::string(buffer, length);
    }
    return argv0 != nullptr ? argv0 : ".";
}
// DLLs lie beside the programs that load them.
std::string LibraryBeside(const std::string& program) {
    return FolderOf(program) + "\\Pellorin360_1.dll";
}
#else
void* OpenLibrary(const std::string& path, std::string& error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        error = why != nullptr ? why : "cannot open " + path;
    }
    return handle;
}
void CloseLibrary(void* handle) {
    dlclose(handle);
}
void* FindSymbol(void* handle, const std::string& name) {
    return dlsym(handle, name.c_str());
}
std::string ProgramFile(const char* argv0) {
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length > 0 && std::size_t(length) < sizeof buffer) {
        return std::string(buffer, std::size_t(length));
    }
    const std::string given = argv0 != nullptr ? argv0 : "";
    if (!given.empty() && given[0] != '/' && getcwd(buffer, sizeof buffer) != nullptr) {
        return std::string(buffer) + "/" + given;
    }
    return given;
}
// Shared libraries lie in lib/, beside the programs' bin/.
std::string LibraryBeside(const std::string& program) {
    return FolderOf(FolderOf(program)) + "/lib/Pellorin360_1.so";
}
#endif

} // namespace

std::span<const char* const> CreatableTypeNames() {
    static constexpr const char* names[] = {
        "SECTIONDATAMODEL", "LENGTHDOMAIN",         "GENERICSTRUCTURE",  "GENERICSTREAM",
        "GENERICMODEL",     "GENERICCONTROLSIGNAL", "GENERICCONNECTION", "DOMAIN",
        "DISTRIBUTION3D",   "DISTRIBUTION2D",       "DISTRIBUTION1D",    "CONTROLSIGNAL",
        "CONNECTION",       "ANGLEDOMAIN"};
    return names;
}

TypeLibrary::TypeLibrary(const std::string& path) {
    m_handle = OpenLibrary(path, m_error);
}

TypeLibrary::~TypeLibrary() {
    if (m_handle != nullptr) {
        CloseLibrary(m_handle);
    }
}

void* TypeLibrary::Symbol(const std::string& name) const {
    return m_handle != nullptr ? FindSymbol(m_handle, name) : nullptr;
}

bool TypeLibrary::HasType(const std::string& type) const {
    return Symbol(type + "Factory") != nullptr;
}

QV_ModelType* TypeLibrary::Create(const std::string& type) const {
    using Factory = QV_ModelType* (*)();
    void* symbol = Symbol(type + "Factory");
    if (symbol == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Factory>(symbol)();
}

std::string FolderOf(const std::string& path) {
#if defined(_WIN32)
    const char* separators = "/\\";
#else
    const char* separators = "/";
#endif
    const std::size_t last = path.find_last_of(separators);
    if (last == std::string::npos) {
        return "";
    }
    const std::size_t end = path.find_last_not_of(separators, last);
    return end == std::string::npos ? path.substr(0, 1) : path.substr(0, end + 1);
}

std::string DefaultLibraryPath(const char* argv0) {
    return LibraryBeside(ProgramFile(argv0));
}

} // namespace vzt
