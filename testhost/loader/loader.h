// Loads the type library as the host does: by file (dlopen, or LoadLibrary on Windows), through
// its exported factories.
#pragma once

#include <span>
#include <string>
#include <vector>

#include <vuzizev/vuzizev.h>

namespace vzt {

// The creatable types, in the order the library exports them.
std::span<const char* const> CreatableTypeNames();

class TypeLibrary {
public:
    // Opens the library at path; IsOpen() tells whether that worked, Error() why not.
    explicit TypeLibrary(const std::string& path);
    ~TypeLibrary();
    TypeLibrary(const TypeLibrary&) = delete;
    TypeLibrary& operator=(const TypeLibrary&) = delete;

    bool IsOpen() const { return m_handle != nullptr; }
    const std::string& Error() const { return m_error; }

    // The address of an exported symbol, or null.
    void* Symbol(const std::string& name) const;
    // Whether the library exports a factory for this type name.
    bool HasType(const std::string& type) const;
    // A new object from <type>Factory (one reference taken), or null.
    QV_ModelType* Create(const std::string& type) const;

private:
    void* m_handle = nullptr;
    std::string m_error;
};

// The folder a file lies in: the path up to its last separator, without the separators
// ("/" for a file at the root, "" for a path with no folder).
std::string FolderOf(const std::string& path);

// The library beside the running program: <bin>/../lib/Pellorin360_1.so, or on Windows
// <bin>/Pellorin360_1.dll.
std::string DefaultLibraryPath(const char* argv0);

} // namespace vzt
