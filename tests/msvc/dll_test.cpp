// The type library loaded as a host built in the Microsoft C++ ABI loads it: by file with
// LoadLibrary, its document found among its resources, every exported factory called and its
// object released through the COM slots, and an exception the host throws inside a library
// call unwinding through the library's frames to the caller, with every block given back.
// A plain program (no test framework: its runtime is this build's own), run under Wine; it
// prints one line per check and fails on any.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "module.h"
#include "procedures/interpolate/interpolate.h"
#include "standin/procedure_testing.h"
#include "standin/testing.h"

namespace {

using Module = void*;
using namespace msvctest;

int failures = 0;

void Check(bool ok, const char* what) {
    std::printf("%s  %s\n", ok ? "ok  " : "FAIL", what);
    failures += ok ? 0 : 1;
}

std::uint32_t Word(const unsigned char* at) {
    std::uint32_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}

// The exported names of the loaded module, from its export directory: the PE header's offset
// at 0x3c, the export directory's address at 0x78 into a PE32 header, the count of names and
// the table of their addresses at 0x18 and 0x20 into the directory.
template <class F>
void ForEachExport(Module module, F f) {
    const auto* base = static_cast<const unsigned char*>(module);
    const unsigned char* exports = base + Word(base + Word(base + 0x3c) + 0x78);
    const unsigned char* names = base + Word(exports + 0x20);
    for (std::uint32_t i = 0, n = Word(exports + 0x18); i < n; ++i) {
        f(reinterpret_cast<const char*>(base + Word(names + 4 * i)));
    }
}

bool EndsWith(const char* text, const char* end) {
    const std::size_t n = std::strlen(text), m = std::strlen(end);
    return n >= m && std::strcmp(text + n - m, end) == 0;
}

void ResourceIsTheDocument(Module library) {
    unsigned long size = 0;
    const char* bytes = LibraryResource(library, "CONTENT", "XML", 2057, size);
    Check(bytes != nullptr, "resource CONTENT/XML/2057 found");
    if (bytes == nullptr) {
        return;
    }
    static char document[1 << 20];
    std::size_t length = 0;
    if (std::FILE* file = std::fopen(PELLORIN_CONTENT_XML_PATH, "rb")) {
        length = std::fread(document, 1, sizeof document, file);
        std::fclose(file);
    }
    Check(length != 0 && length == size && std::memcmp(bytes, document, size) == 0,
          "resource bytes equal content.xml");
}

// Each factory's object, released through IUnknown::Release (the third slot), gives back
// every block.
void FactoriesMakeObjectsThatReleaseWhole(Module library) {
    using Release = unsigned long(__stdcall*)(void*);
    using Factory = void*(__cdecl*)();
    int made = 0, factories = 0;
    ForEachExport(library, [&](const char* name) {
        if (!EndsWith(name, "Factory")) {
            return;
        }
        ++factories;
        const std::size_t before = vzt::Allocator().liveBlocks;
        auto factory = reinterpret_cast<Factory>(LibraryFunction(library, name));
        void* object = factory();
        if (object == nullptr) {
            std::printf("FAIL  %s gave no object\n", name);
            return;
        }
        const auto release = (*static_cast<Release* const*>(object))[2];
        const unsigned long left = release(object);
        if (left != 0 || vzt::Allocator().liveBlocks != before) {
            std::printf("FAIL  %s: %lu references, %u blocks left after Release\n", name, left,
                        unsigned(vzt::Allocator().liveBlocks - before));
            return;
        }
        ++made;
    });
    char what[96];
    std::snprintf(what, sizeof what, "%d of %d factories made an object that Release freed", made,
                  factories);
    Check(factories > 0 && made == factories, what);
}

// SetMode throws std::runtime_error in the host while the procedure's constructor runs.
void HostExceptionUnwindsThroughTheLibrary() {
    const std::size_t before = vzt::Allocator().liveBlocks;
    vzt::Procedures().setModeThrows = true;
    bool caught = false;
    try {
        delete new QVProc_INTERPOLATE(true, 0);
    } catch (const std::runtime_error&) {
        caught = true;
    }
    vzt::Procedures().setModeThrows = false;
    Check(caught, "a host exception inside the library's constructor reaches the caller");
    Check(vzt::Allocator().liveBlocks == before, "and leaves no block allocated");
}

} // namespace

int main() {
    Module library = OpenLibrary(PELLORIN_LIBRARY_PATH);
    Check(library != nullptr, "LoadLibrary " PELLORIN_LIBRARY_PATH);
    if (library == nullptr) {
        return 1;
    }
    ResourceIsTheDocument(library);
    FactoriesMakeObjectsThatReleaseWhole(library);
    HostExceptionUnwindsThroughTheLibrary();
    Check(CloseLibrary(library), "FreeLibrary");
    return failures == 0 ? 0 : 1;
}
