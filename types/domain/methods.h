// The discretisation methods a domain knows, one row each: its name, what it fixes in the
// domain's assignments, and where its interior points lie. The domain's valid values, its
// layout and every distribution's blocks are derived from these rows.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include <vuzizev/sets.h>

namespace pellorin::methods {

// Where a method's interior points lie: none, on the uniform node grid of a difference
// method, or at the collocation points of an element.
enum class Interior : unsigned char { None, Grid, Collocation };

struct Method {
    std::string_view name;
    Interior interior;
    int minNodeCount;
    int minNodeCountStatement;
    int interiorPoints;
    int interiorPointsStatement;
    int firstPointStatement;
    std::array<double, 3> points; // the first interiorPoints are used
};

inline constexpr int kResetInteriorPointsStatement = 49;

// In the order of the valid values.
inline constexpr std::array<Method, 10> kMethods = {{
    {"BFD1", Interior::None, 2, 6, 0, kResetInteriorPointsStatement, 0, {}},
    {"BFD2", Interior::Grid, 2, 6, 1, 11, 12, {0.5}},
    {"CFD2", Interior::Grid, 2, 6, 1, 11, 12, {0.5}},
    {"CFD4", Interior::Grid, 4, 8, 3, 20, 21, {0.25, 0.5, 0.75}},
    {"FFD1", Interior::None, 2, 6, 0, kResetInteriorPointsStatement, 0, {}},
    {"FFD2", Interior::Grid, 2, 6, 1, 11, 12, {0.5}},
    {"OCFE2", Interior::Collocation, 2, 6, 1, 9, 10, {0.5}},
    {"OCFE3", Interior::Collocation, 3, 7, 2, 13, 14, {0.21132, 0.78868}},
    {"OCFE4", Interior::Collocation, 4, 8, 3, 16, 17, {0.1127, 0.5, 0.8873}},
    {"UBFD4", Interior::Grid, 4, 8, 3, 20, 21, {0.25, 0.5, 0.75}},
}};

inline constexpr int kNoMethod = -1;

// Called only when a name is not in the table: not a constant expression, so the build
// stops here.
inline void UnknownMethod() {}

// The row of a name written in the library itself; an unknown one stops the build.
consteval int MethodId(std::string_view name) {
    for (std::size_t k = 0; k < kMethods.size(); ++k) {
        if (kMethods[k].name == name) {
            return int(k);
        }
    }
    UnknownMethod();
    return kNoMethod;
}

// The row of a user's value, compared as the host compares names; kNoMethod when none.
inline int FindMethod(const char* name) {
    for (std::size_t k = 0; k < kMethods.size(); ++k) {
        if (SUValue::CompareCI(kMethods[k].name.data(), name) == 0) {
            return int(k);
        }
    }
    return kNoMethod;
}

inline const Method* FindMethodRow(const char* name) {
    const int id = FindMethod(name);
    return id == kNoMethod ? nullptr : &kMethods[std::size_t(id)];
}

// The valid values as the host reads them: every name followed by one double quote.
inline constexpr auto kValidText = [] {
    constexpr std::size_t size = [] {
        std::size_t n = 1;
        for (const Method& m : kMethods) {
            n += m.name.size() + 1;
        }
        return n;
    }();
    std::array<char, size> text{};
    std::size_t at = 0;
    for (const Method& m : kMethods) {
        for (char c : m.name) {
            text[at++] = c;
        }
        text[at++] = '"';
    }
    return text;
}();

} // namespace pellorin::methods
