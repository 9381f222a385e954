#include "loader.h"

#include <dlfcn.h>

#include <filesystem>

namespace vzt {

const std::vector<std::string>& CreatableTypeNames() {
    static const std::vector<std::string> names = {
        "SECTIONDATAMODEL", "LENGTHDOMAIN",         "GENERICSTRUCTURE",  "GENERICSTREAM",
        "GENERICMODEL",     "GENERICCONTROLSIGNAL", "GENERICCONNECTION", "DOMAIN",
        "DISTRIBUTION3D",   "DISTRIBUTION2D",       "DISTRIBUTION1D",    "CONTROLSIGNAL",
        "CONNECTION",       "ANGLEDOMAIN"};
    return names;
}

TypeLibrary::TypeLibrary(const std::string& path) {
    m_handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (m_handle == nullptr) {
        const char* why = dlerror();
        m_error = why != nullptr ? why : "cannot open " + path;
    }
}

TypeLibrary::~TypeLibrary() {
    if (m_handle != nullptr) {
        dlclose(m_handle);
    }
}

void* TypeLibrary::Symbol(const std::string& name) const {
    return m_handle != nullptr ? dlsym(m_handle, name.c_str()) : nullptr;
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
    std::error_code ec;
    std::filesystem::path self = std::filesystem::canonical("/proc/self/exe", ec);
    if (ec && argv0 != nullptr) {
        self = std::filesystem::absolute(argv0, ec);
    }
    return (self.parent_path().parent_path() / "lib" / "Pellorin360_1.so").string();
}

} // namespace vzt
