// The library as the host loads it: by file, through its unmangled exports.
#include <dlfcn.h>
#include <link.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "loader.h"
#include "support/host_fixture.h"

namespace {

class LibraryExports : public testsupport::HostTest {
protected:
    static std::size_t SymbolSize(void* address) {
        Dl_info info{};
        ElfW(Sym)* symbol = nullptr;
        if (dladdr1(address, &info, reinterpret_cast<void**>(&symbol), RTLD_DL_SYMENT) == 0 ||
            symbol == nullptr) {
            return 0;
        }
        return symbol->st_size;
    }

    vzt::TypeLibrary library{PELLORIN_LIBRARY_PATH};
};

TEST_F(LibraryExports, EveryCreatableTypeHasItsFourExports) {
    ASSERT_TRUE(library.IsOpen()) << library.Error();
    // Which types are built is the driver's test (vzhost types), what their factories make the
    // type frame's; ports have no factory.
    for (const char* port : {"GENERICPORT", "CONTROLPORT", "CONNECTIONPORT"}) {
        EXPECT_FALSE(library.HasType(port)) << port;
    }
    std::set<std::uint32_t*> words;
    std::size_t built = 0;
    for (const std::string type : vzt::CreatableTypeNames()) {
        if (!library.HasType(type)) {
            continue;
        }
        ++built;
        SCOPED_TRACE(type);
        using Info = std::uint32_t* (*)();
        auto info = reinterpret_cast<Info>(library.Symbol(type + "PropertyInfo"));
        ASSERT_NE(info, nullptr);
        std::uint32_t* word = info();
        ASSERT_NE(word, nullptr);
        EXPECT_EQ(*word, 0u);
        EXPECT_EQ(info(), word);
        words.insert(word);

        auto* compatibility = static_cast<unsigned char*>(library.Symbol("_Compatibility" + type));
        ASSERT_NE(compatibility, nullptr);
        EXPECT_EQ(SymbolSize(compatibility), 8u);
        const unsigned char six[8] = {6, 0, 0, 0, 0, 0, 0, 0};
        EXPECT_EQ(std::memcmp(compatibility, six, 8), 0);

        void* jacData = library.Symbol("_JacData" + type);
        ASSERT_NE(jacData, nullptr);
        EXPECT_EQ(SymbolSize(jacData), 220u);
    }
    EXPECT_EQ(words.size(), built);
    EXPECT_TRUE(AllocatorBalanced());
}

TEST_F(LibraryExports, EmbeddedXmlIsTheDocumentByteForByte) {
    ASSERT_TRUE(library.IsOpen()) << library.Error();
    std::ifstream file(PELLORIN_CONTENT_XML_PATH, std::ios::binary);
    const std::string document((std::istreambuf_iterator<char>(file)),
                               std::istreambuf_iterator<char>());
    ASSERT_FALSE(document.empty());

    const auto* bytes = static_cast<const char*>(library.Symbol("PELLORIN_RESOURCE_CONTENT_XML"));
    const auto* size =
        static_cast<const std::size_t*>(library.Symbol("PELLORIN_RESOURCE_CONTENT_XML_SIZE"));
    ASSERT_NE(bytes, nullptr);
    ASSERT_NE(size, nullptr);
    EXPECT_EQ(std::string(bytes, *size), document);
}

} // namespace
