#include "framework/identity.h"

namespace pellorin {
namespace {

constexpr unsigned char FoldAsciiLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

} // namespace

bool IdentityEquals(const char* own, const char* id) {
    if (own == nullptr || id == nullptr) {
        return false;
    }
    const auto* p = reinterpret_cast<const unsigned char*>(own);
    const auto* q = reinterpret_cast<const unsigned char*>(id);
    for (; *p != 0 && *q != 0; ++p, ++q) {
        if (FoldAsciiLetter(*p) != FoldAsciiLetter(*q)) {
            return false;
        }
    }
    return *p == *q;
}

} // namespace pellorin
