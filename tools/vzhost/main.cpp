// vzhost: loads the type library as the host does and drives its types.
//
//   vzhost types            the exported types with their identities
//   vzhost show TYPE        create one through its factory and list what it registered
//
// Options: --library PATH (default: ../lib/Pellorin360_1.so beside this program).
// Bad input gets a one-line error and exit status 2.
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "describe.h"
#include "loader.h"

namespace {

constexpr int kUsageError = 2;

int Fail(const std::string& message) {
    std::cerr << "vzhost: " << message << '\n';
    return kUsageError;
}

int ListTypes(const vzt::TypeLibrary& library) {
    for (const std::string& type : vzt::CreatableTypeNames()) {
        if (!library.HasType(type)) {
            continue;
        }
        QV_ModelType* object = library.Create(type);
        if (object == nullptr) {
            return Fail("the factory of " + type + " returned no object");
        }
        std::cout << type << "  " << vzhost::Printable(object->QV_DefaultDESCRIPTION()) << '\n';
        object->Release();
    }
    return 0;
}

int ShowType(const vzt::TypeLibrary& library, const std::string& type) {
    if (!library.HasType(type)) {
        return Fail("unknown type '" + type + "'");
    }
    QV_ModelType* object = library.Create(type);
    if (object == nullptr) {
        return Fail("the factory of " + type + " returned no object");
    }
    std::cout << vzhost::Printable(object->QV_DefaultDESCRIPTION()) << '\n';
    vzhost::DescribeProperties(std::cout, *object);
    object->Release();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words;
    std::string libraryPath = vzt::DefaultLibraryPath(argv[0]);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--library") == 0) {
            if (i + 1 >= argc) {
                return Fail("--library needs a path");
            }
            libraryPath = argv[++i];
        } else {
            words.emplace_back(argv[i]);
        }
    }
    if (words.empty()) {
        return Fail("no command; use 'types' or 'show TYPE'");
    }

    vzt::TypeLibrary library(libraryPath);
    if (!library.IsOpen()) {
        return Fail("cannot load the type library: " + library.Error());
    }

    const std::string& command = words[0];
    if (command == "types" && words.size() == 1) {
        return ListTypes(library);
    }
    if (command == "show" && words.size() == 2) {
        return ShowType(library, words[1]);
    }
    if (command == "types" || command == "show") {
        return Fail("usage: vzhost types | vzhost show TYPE");
    }
    return Fail("unknown command '" + command + "'");
}
