// The type library as a Windows host opens it: by file with LoadLibrary, its document found
// among the DLL's resources.
// The platform's component object model stays out: the host interface declares its own.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

TEST(WindowsLibrary, LoadLibraryFindsTheDocumentResourceByteForByte) {
    HMODULE library = LoadLibraryA(PELLORIN_LIBRARY_PATH);
    ASSERT_NE(library, nullptr) << GetLastError();
    std::ifstream file(PELLORIN_CONTENT_XML_PATH, std::ios::binary);
    const std::string document((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    ASSERT_FALSE(document.empty());

    HRSRC found = FindResourceExA(library, "CONTENT", "XML", 2057);
    ASSERT_NE(found, nullptr) << GetLastError();
    HGLOBAL loaded = LoadResource(library, found);
    ASSERT_NE(loaded, nullptr);
    const auto* bytes = static_cast<const char*>(LockResource(loaded));
    EXPECT_EQ(std::string(bytes, SizeofResource(library, found)), document);
    // Another language of the same name is not there.
    EXPECT_EQ(FindResourceExA(library, "CONTENT", "XML", 1033), nullptr);
    EXPECT_TRUE(FreeLibrary(library));
}

} // namespace
