#include "types/distribution1d/outline.h"

#include "types/distribution1d/arrays.h"
#include "types/distribution1d/statements.h"
#include "types/domain/methods.h"

namespace pellorin::dist1d {

namespace {

using namespace eqn;

inline constexpr OutlineVocabulary kNames{kIntegrals, {}, 1, 102};

// The start value fixes the integral at node 0.
PELLORIN_OUTLINE(kStart, "if has(idx) { 1 }", kNames);

// Finite-difference blocks: each part loops over the sections on its own, so all first-
// derivative instances come before all second-derivative ones, and those before the
// integrals.
PELLORIN_OUTLINE(kBfd1, R"(
    if used>0 { for s { if s=1 { 2 } 3 [b + 1 : b + n] } }
    if used>1 { for s { 4 [b + 1 : b + n - 1] if not s=1 { 5 } } }
    if has(idx) { for s { 6 [b : b + n - 1] } })",
                 kNames);
PELLORIN_OUTLINE(kBfd2, R"(
    if used>0 { for s { if s=1 { 7 } 8 9 [b + 2 : b + n] } }
    if used>1 { for s { 10 [b + 1 : b + n - 1] if not s=1 { 11 } } }
    if has(idx) { for s { for e { 12 13 } } })",
                 kNames);
PELLORIN_OUTLINE(kFfd1, R"(
    if used>0 { for s { 14 [b : b + n - 1] if s=ns { 15 } } }
    if used>1 { for s { 16 [b + 1 : b + n - 1] if not s=ns { 17 } } }
    if has(idx) { for s { 18 [b : b + n - 1] } })",
                 kNames);
PELLORIN_OUTLINE(kFfd2, R"(
    if used>0 { for s { 19 [b : b + n - 2] 20 if s=ns { 21 } } }
    if used>1 { for s { 22 [b + 1 : b + n - 1] if not s=ns { 23 } } }
    if has(idx) { for s { for e { 24 25 } } })",
                 kNames);
PELLORIN_OUTLINE(kCfd2, R"(
    if used>0 { for s {
        if s=1 { 26 }
        27 [b + 1 : b + n - 1]
        if s=ns or used>1 { 28 }
        if not s=ns and not used>1 { 29 } } }
    if used>1 { for s { 30 [b + 1 : b + n - 1] if not s=1 { 31 } } }
    if has(idx) { for s { for e { 32 33 } } })",
                 kNames);

// CFD4 compares the spacings of neighbouring sections where USED <= 1: equal spacings take
// the five-point stencil across the join, unequal ones three-point stencils.
PELLORIN_OUTLINE(kCfd4, R"(
    if used>0 { for s {
        if s=1 or used>1 { 34 }
        if s=1 or used>1 { 35 }
        if not s=1 and not used>1 and not h(s-1)=h { 36 }
        if not s=1 and not used>1 and h(s-1)=h { 37 }
        38 [b + 2 : b + n - 2]
        if s=ns or used>1 { 39 }
        if s=ns or used>1 { 40 }
        if not s=ns and not used>1 and not h(s+1)=h { 41 }
        if not s=ns and not used>1 and not h(s+1)=h { 42 }
        if not s=ns and not used>1 and h(s+1)=h { 43 [b + n - 1 : b + n] } } }
    if used>1 { for s { 44 45 [b + 2 : b + n - 2] 46 } }
    if has(idx) { for s { for e { 47 48 49 50 } } })",
                 kNames);
PELLORIN_OUTLINE(kUbfd4, R"(
    if used>0 { for s { if s=1 { 51 } 52 53 54 [b + 3 : b + n - 1] 55 } }
    if used>1 { for s { 56 57 58 [b + 3 : b + n - 1] if not s=1 { 59 } } }
    if has(idx) { for s { for e { 60 61 62 63 } } })",
                 kNames);

// Collocation blocks: one loop over the sections runs all three parts, each over the
// section's elements. The domain's end nodes get their derivative from their only element;
// every other element boundary from the element that the boundary condition names, and,
// when the declared order is 2, a continuity statement from the other element (except at
// the domain's first node under "Backward" and its last node under "Forward").
PELLORIN_OUTLINE(kOcfe2, R"(
    for s {
        if used>0 {
            if s=1 and backward { 64 }
            if s=ns and forward { 65 }
            for e { 66 if backward { 67 } if not backward { 68 } } }
        if used>1 { for e {
            if backward and ho=2 and not k=0 { 69 }
            if forward and ho=2 and not k+p=end { 70 }
            71 } }
        if has(idx) { for e { 72 73 } } })",
                 kNames);
PELLORIN_OUTLINE(kOcfe3, R"(
    for s {
        if used>0 {
            if s=1 and backward { 74 }
            if s=ns and forward { 75 }
            for e { 76 77 if backward { 78 } if not backward { 79 } } }
        if used>1 { for e {
            if backward and ho=2 and not k=0 { 80 }
            if forward and ho=2 and not k+p=end { 81 }
            82 83 } }
        if has(idx) { for e { 84 85 86 } } })",
                 kNames);
PELLORIN_OUTLINE(kOcfe4, R"(
    for s {
        if used>0 {
            if s=1 and backward { 87 }
            if s=ns and forward { 88 }
            for e { 89 90 91 if backward { 92 } if not backward { 93 } } }
        if used>1 { for e {
            if backward and ho=2 and not k=0 { 94 }
            if forward and ho=2 and not k+p=end { 95 }
            96 97 98 } }
        if has(idx) { for e { 99 100 101 102 } } })",
                 kNames);

constexpr std::array<Block, 11> kBlocks = {{
    {kAnyMethod, 0, kStart.View()},
    {methods::MethodId("BFD1"), 0, kBfd1.View()},
    {methods::MethodId("BFD2"), 0, kBfd2.View()},
    {methods::MethodId("FFD1"), 0, kFfd1.View()},
    {methods::MethodId("FFD2"), 0, kFfd2.View()},
    {methods::MethodId("CFD2"), 0, kCfd2.View()},
    {methods::MethodId("CFD4"), 0, kCfd4.View()},
    {methods::MethodId("UBFD4"), 0, kUbfd4.View()},
    {methods::MethodId("OCFE2"), 0, kOcfe2.View()},
    {methods::MethodId("OCFE3"), 0, kOcfe3.View()},
    {methods::MethodId("OCFE4"), 0, kOcfe4.View()},
}};

constexpr std::array<Binding, 1> kBindings = {
    {{{ArrayIds<kRoleCount>(kArrays, "VALUE DDX D2DX2 IDX")}}}};

} // namespace

const eqn::Outline& EquationOutline() {
    static const eqn::Outline outline{Statements(), kBlocks, 1, kBindings};
    return outline;
}

} // namespace pellorin::dist1d
