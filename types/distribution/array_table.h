// A distribution's arrays as one table: a row per array gives its name, its member, the
// declared index set of each dimension, its description, what its first dimension follows
// and the number of each set's assignment. Registration, dimensioning, the walk's lookups
// and the index-set assignments are all derived from the rows; a set's name is derived from
// its array's ("QV_DDX_SET2" for DDX's second dimension).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

#include <vuzizev/vuzizev.h>

#include "framework/references.h"

namespace pellorin::eqn {

// What the first (x) dimension's set of an array follows: every node, the nodes of a first
// or a second derivative along `direction`, or the integrals that switch the array on.
enum class Extent : std::uint8_t { Nodes, FirstDerivative, SecondDerivative, Integral };

// An array member of Type: the distributed variable (a reference the host resolves), another
// variable, or a partial derivative.
template <class Type>
using ArrayMember =
    std::variant<QV_Virtual<typename Type::Variables> Type::*, typename Type::Variables Type::*,
                 typename Type::Derivatives Type::*>;

template <class Type, int Rank>
struct ArrayRow {
    std::string_view name;
    ArrayMember<Type> member;
    // Null where the dimension is its direction's domain's INTERIOR.
    std::array<QV_INTEGERSET Type::*, Rank> sets;
    std::string_view description;
    Extent extent = Extent::Nodes;
    int direction = 0;               // of the derivative
    unsigned integrals = 0;          // Extent::Integral: one bit per integral that switches it on
    std::array<int, Rank> numbers{}; // each declared set's assignment number
};

// Called only when a table is malformed: not a constant expression, so the build stops here.
inline void MalformedArrayTable(const char* /*why*/) {}

// The bits of the integrals named (separated by blanks) in the distribution's list.
consteval unsigned IntegralSwitch(std::span<const std::string_view> integrals,
                                  std::string_view names) {
    unsigned bits = 0;
    while (!names.empty()) {
        const std::size_t blank = names.find(' ');
        const std::string_view name = names.substr(0, blank);
        bool found = false;
        for (std::size_t k = 0; k < integrals.size(); ++k) {
            if (integrals[k] == name) {
                bits |= 1u << k;
                found = true;
            }
        }
        if (!found) {
            MalformedArrayTable("an integral switch names an integral not in the list");
        }
        names = blank == std::string_view::npos ? std::string_view{} : names.substr(blank + 1);
    }
    return bits;
}

// A name or description built at compile time, null-terminated.
template <std::size_t N>
struct FixedText {
    std::array<char, N> text{};
    std::size_t size = 0;
    constexpr void Append(std::string_view part) {
        for (char c : part) {
            if (size + 1 >= N) {
                MalformedArrayTable("text too long");
                return;
            }
            text[size++] = c;
        }
    }
    constexpr const char* c_str() const { return text.data(); }
};

// The position of the array named `name` in a table, as the outline's bindings name it; a
// name not in the table stops the build (at run time it reads as the first array).
template <class Table>
constexpr std::uint8_t ArrayId(const Table& table, std::string_view name) {
    for (std::size_t k = 0; k < std::size(table); ++k) {
        if (table[k].name == name) {
            return std::uint8_t(k);
        }
    }
    MalformedArrayTable("no array of that name");
    return 0;
}

// The positions of the arrays named (separated by blanks), one per role.
template <std::size_t Roles, class Table>
constexpr std::array<std::uint8_t, Roles> ArrayIds(const Table& table, std::string_view names) {
    std::array<std::uint8_t, Roles> ids{};
    for (std::size_t role = 0; role < Roles; ++role) {
        const std::size_t blank = names.find(' ');
        ids[role] = ArrayId(table, names.substr(0, blank));
        names = blank == std::string_view::npos ? std::string_view{} : names.substr(blank + 1);
    }
    if (!names.empty()) {
        MalformedArrayTable("more arrays than roles");
    }
    return ids;
}

// "QV_<array>_SET<d>" for every dimension of every row, in the table's order.
template <auto& Table>
inline constexpr auto kSetNames = [] {
    constexpr std::size_t rank = std::tuple_size_v<decltype(Table[0].sets)>;
    std::array<std::array<FixedText<32>, rank>, std::size(Table)> names{};
    for (std::size_t a = 0; a < std::size(Table); ++a) {
        for (std::size_t d = 0; d < rank; ++d) {
            names[a][d].Append("QV_");
            names[a][d].Append(Table[a].name);
            names[a][d].Append("_SET");
            names[a][d].Append(std::string_view("123").substr(d, 1));
        }
    }
    return names;
}();

// The description of INTEGRALS: "Integrals to be calculated. Valid value: idx", or
// "... Valid values: idx, idy, idxdy".
template <auto& Integrals>
inline constexpr auto kIntegralsDescription = [] {
    FixedText<128> text;
    text.Append(std::size(Integrals) > 1 ? "Integrals to be calculated. Valid values: "
                                         : "Integrals to be calculated. Valid value: ");
    for (std::size_t k = 0; k < std::size(Integrals); ++k) {
        text.Append(k > 0 ? ", " : "");
        text.Append(Integrals[k]);
    }
    return text;
}();

} // namespace pellorin::eqn
