// Block outlines: which statements a distribution writes, under which conditions, over which
// sections, elements and nodes, and in which order. Outlines are constant data; the walker
// runs them.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "types/distribution/statement_table.h"

namespace pellorin::eqn {

// The conditions a guard tests. A guard evaluates them in this order and stops at the first
// that decides it, so a neighbour's spacing is read only once s has been tested.
enum Atom : std::uint16_t {
    kFirstSection = 1 << 0,      // s = 1
    kLastSection = 1 << 1,       // s = NUMSECTIONS
    kUsedAbove0 = 1 << 2,        // USED > 0
    kUsedAbove1 = 1 << 3,        // USED > 1
    kIntegrals = 1 << 4,         // the integral is requested
    kBackward = 1 << 5,          // element boundary condition "Backward", ignoring case
    kForward = 1 << 6,           // element boundary condition "Forward", ignoring case
    kDeclaredOrder2 = 1 << 7,    // the declared highest derivative order is 2
    kAtFirstNode = 1 << 8,       // the instance stands at node 0
    kAtLastNode = 1 << 9,        // the instance stands at the domain's last node
    kPrevSpacingEqual = 1 << 10, // h(s-1) = h exactly (NaN never equal)
    kNextSpacingEqual = 1 << 11, // h(s+1) = h exactly
};

inline constexpr unsigned kEveryAtom = (1u << 12) - 1;

// Holds when one of `any` holds (or `any` is empty), all of `all` hold and none of `none`.
struct Guard {
    std::uint16_t any = 0;
    std::uint16_t all = 0;
    std::uint16_t none = 0;
};
// The atoms as a guard field; a bit that names no atom stops the build.
constexpr std::uint16_t Atoms(unsigned atoms) {
    if ((atoms & ~kEveryAtom) != 0) {
        detail::MalformedStatementTable("a guard names no such condition", 0);
    }
    return std::uint16_t(atoms);
}
constexpr Guard When(unsigned atoms) {
    return {0, Atoms(atoms), 0};
}
constexpr Guard Unless(unsigned atoms) {
    return {0, 0, Atoms(atoms)};
}
constexpr Guard EitherOf(unsigned atoms) {
    return {Atoms(atoms), 0, 0};
}
constexpr Guard operator&(Guard a, Guard b) {
    return {std::uint16_t(a.any | b.any), std::uint16_t(a.all | b.all),
            std::uint16_t(a.none | b.none)};
}

// One statement in an outline: a single instance at its anchor, or one per node i of a range.
struct Item {
    int statement = 0;
    Guard guard{};
    bool ranged = false;
    IndexExpr lo{};
    IndexExpr hi{};
};

consteval Item At(int statement, Guard guard = {}) {
    return {statement, guard};
}

// One instance per node i in [lo : hi], e.g. Over(3, "b + 1 : b + n").
consteval Item Over(int statement, std::string_view range, Guard guard = {}) {
    Item item{statement, guard, true};
    if (!CompileRange(range, item.lo, item.hi)) {
        detail::MalformedStatementTable("malformed node range", statement);
    }
    if ((guard.any | guard.all | guard.none) & (kAtFirstNode | kAtLastNode)) {
        detail::MalformedStatementTable("a node range has no single anchor", statement);
    }
    return item;
}

// A part of a block: its condition, the statements written once per section, then those
// written once per element of the section (with k its first node).
struct Part {
    Guard when{};
    std::span<const Item> perSection{};
    std::span<const Item> perElement{};
};

enum class Order : std::uint8_t {
    PartsOutside,    // each part runs its own loop over the sections
    SectionsOutside, // one loop over the sections runs every part
};

struct Block {
    std::string_view method; // taken when the domain's method equals this, ignoring case
    Order order = Order::PartsOutside;
    std::span<const Part> parts{};
};

struct Outline {
    StatementView statements;
    std::span<const Item> start; // written before any block, outside the section loops
    std::span<const Block> blocks;
};

} // namespace pellorin::eqn
