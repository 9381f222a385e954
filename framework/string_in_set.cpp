#include "framework/string_in_set.h"

int StringInSet(const char* s, const SUValue& set) {
    return s != nullptr && set >= s ? 1 : 0;
}
