// Comparison of type identities.
#pragma once

#include "framework/api.h"

namespace pellorin {

// True when both identities are equal byte by byte, folding only the ASCII letters A to Z
// to lower case; false when either is null.
PELLORIN_API bool IdentityEquals(const char* own, const char* id);

} // namespace pellorin
