// The string-in-set test by which the distributions read their INTEGRALS selection.
#pragma once

#include <vuzizev/vuzizev.h>

#include "framework/api.h"

// 1 when set holds s, else 0 (also for a null s); callers use it in arithmetic too.
PELLORIN_API int StringInSet(const char* s, const SUValue& set);
