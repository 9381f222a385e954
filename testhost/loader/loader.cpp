#include "loader.h"

#include <filesystem>

#if defined(_WIN32)
// The platform's component object model stays out: the host interface declares its own.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace vzt {
namespace {

#if defined(_WIN32)
void* OpenLibrary(const std::string& path, std::string& error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        error = "cannot open " + path + " (error " + std::to_string(GetLastError()) + ")";
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
std::filesystem::path ProgramFile(const char* argv0) {
    char buffer[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer) {
        return std::filesystem::path(std::string(buffer, length));
    }
    std::error_code ec;
    return std::filesystem::absolute(argv0 != nullptr ? argv0 : ".", ec);
}
// DLLs lie beside the programs that load them.
std::filesystem::path LibraryBeside(const std::filesystem::path& program) {
    return program.parent_path() / "Pellorin360_1.dll";
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
std::filesystem::path ProgramFile(const char* argv0) {
    std::error_code ec;
    std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", ec);
    if (ec && argv0 != nullptr) {
        self = std::filesystem::absolute(argv0, ec);
    }
    return self;
}
// Shared libraries lie in lib/, beside the programs' bin/.
std::filesystem::path LibraryBeside(const std::filesystem::path& program) {
    return program.parent_path().parent_path() / "lib" / "Pellorin360_1.so";
}
#endif

} // namespace

const std::vector<std::string>& CreatableTypeNames() {
    static const std::vector<std::string> names = {
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

std::string DefaultLibraryPath(const char* argv0) {
    return LibraryBeside(ProgramFile(argv0)).string();
}

} // namespace vzt
