#include "types/distribution/walker.h"

namespace pellorin::eqn {

bool EqualsIgnoringCase(std::string_view literal, const char* value) {
    if (value == nullptr) {
        return false;
    }
    auto fold = [](char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; };
    std::size_t k = 0;
    for (; k < literal.size(); ++k) {
        if (value[k] == '\0' || fold(value[k]) != fold(literal[k])) {
            return false;
        }
    }
    return value[k] == '\0';
}

} // namespace pellorin::eqn
