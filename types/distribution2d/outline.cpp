#include "types/distribution2d/outline.h"

#include "types/distribution2d/arrays.h"
#include "types/distribution2d/statements.h"
#include "types/domain/methods.h"

namespace pellorin::dist2d {

namespace {

using namespace eqn;

// "idxdy" integrates IDX along y into IDXDY; its binding is named by its integral.
inline constexpr std::span<const std::string_view> kBindingNames =
    std::span(kIntegrals).subspan(kFirstComposite);
inline constexpr OutlineVocabulary kNames{kIntegrals, kBindingNames, 1, 233};

// The start values hold each integral at the first node of its direction of integration;
// IDXDY's two first lines meet at (0, 0), which the x line holds.
PELLORIN_OUTLINE(kStart, R"(
    if has(idx) or has(idxdy) { for y { 1 } }
    if has(idy) { along y { for x { 2 } } }
    if has(idxdy) { with idxdy { for y { 3 } along y { for x from 1 { 4 } } } })",
                 kNames);

// Every block has three parts: first derivatives with the other direction's nodes outermost;
// second derivatives and joins section by section; integrals with the other direction's
// nodes outermost. An x block writes its joins and continuity over all y nodes, testing the
// section inside; a y block tests first and writes them over {0} + INTERIORx + {ENDx}. A y
// block integrates VALUE into IDY, then IDX into IDXDY from x node 1.
PELLORIN_OUTLINE(kBfd1X, R"(
    if used>0 { for y { for s { if s=1 { 5 } 6 [b + 1 : b + n] } } }
    if used>1 { for s {
        for y bordered { 7 [b + 1 : b + n - 1] }
        for y { if not s=1 { 8 } } } }
    if has(idx) or has(idxdy) { for y { for s { 9 [b : b + n - 1] } } })",
                 kNames);
PELLORIN_OUTLINE(kBfd1Y, R"(
    if used>0 { for x { for s { if s=1 { 10 } 11 [b + 1 : b + n] } } }
    if used>1 { for s {
        for x bordered { 12 [b + 1 : b + n - 1] }
        if not s=1 { for x bordered { 13 } } } }
    if has(idy) { for x { for s { 14 [b : b + n - 1] } } }
    if has(idxdy) { with idxdy { for x from 1 { for s { 15 [b : b + n - 1] } } } })",
                 kNames);

PELLORIN_OUTLINE(kBfd2X, R"(
    if used>0 { for y { for s { if s=1 { 16 } 17 18 [b + 2 : b + n] } } }
    if used>1 { for s {
        for y bordered { 19 [b + 1 : b + n - 1] }
        for y { if not s=1 { 20 } } } }
    if has(idx) or has(idxdy) { for y { for s { for e { 21 22 } } } })",
                 kNames);
PELLORIN_OUTLINE(kBfd2Y, R"(
    if used>0 { for x { for s { if s=1 { 23 } 24 25 [b + 2 : b + n] } } }
    if used>1 { for s {
        for x bordered { 26 [b + 1 : b + n - 1] }
        if not s=1 { for x bordered { 27 } } } }
    if has(idy) { for x { for s { for e { 28 29 } } } }
    if has(idxdy) { with idxdy { for x from 1 { for s { for e { 30 31 } } } } })",
                 kNames);

PELLORIN_OUTLINE(kFfd1X, R"(
    if used>0 { for y { for s { 32 [b : b + n - 1] if s=ns { 33 } } } }
    if used>1 { for s {
        for y bordered { 34 [b + 1 : b + n - 1] }
        for y { if not s=ns { 35 } } } }
    if has(idx) or has(idxdy) { for y { for s { 36 [b : b + n - 1] } } })",
                 kNames);
PELLORIN_OUTLINE(kFfd1Y, R"(
    if used>0 { for x { for s { 37 [b : b + n - 1] if s=ns { 38 } } } }
    if used>1 { for s {
        for x bordered { 39 [b + 1 : b + n - 1] }
        if not s=ns { for x bordered { 40 } } } }
    if has(idy) { for x { for s { 41 [b : b + n - 1] } } }
    if has(idxdy) { with idxdy { for x from 1 { for s { 42 [b : b + n - 1] } } } })",
                 kNames);

PELLORIN_OUTLINE(kFfd2X, R"(
    if used>0 { for y { for s { 43 [b : b + n - 2] 44 if s=ns { 45 } } } }
    if used>1 { for s {
        for y bordered { 46 [b + 1 : b + n - 1] }
        for y { if not s=ns { 47 } } } }
    if has(idx) or has(idxdy) { for y { for s { for e { 48 49 } } } })",
                 kNames);
PELLORIN_OUTLINE(kFfd2Y, R"(
    if used>0 { for x { for s { 50 [b : b + n - 2] 51 if s=ns { 52 } } } }
    if used>1 { for s {
        for x bordered { 53 [b + 1 : b + n - 1] }
        if not s=ns { for x bordered { 54 } } } }
    if has(idy) { for x { for s { for e { 55 56 } } } }
    if has(idxdy) { with idxdy { for x from 1 { for s { for e { 57 58 } } } } })",
                 kNames);

// CFD2 closes a section on its own (one-sided) at the domain's end or when USED > 1, and
// otherwise with a central difference across the join.
PELLORIN_OUTLINE(kCfd2X, R"(
    if used>0 { for y { for s {
        if s=1 { 59 }
        60 [b + 1 : b + n - 1]
        if s=ns or used>1 { 61 } else { 62 } } } }
    if used>1 { for s {
        for y bordered { 63 [b + 1 : b + n - 1] }
        for y { if not s=1 { 64 } } } }
    if has(idx) or has(idxdy) { for y { for s { for e { 65 66 } } } })",
                 kNames);
PELLORIN_OUTLINE(kCfd2Y, R"(
    if used>0 { for x { for s {
        if s=1 { 67 }
        68 [b + 1 : b + n - 1]
        if s=ns or used>1 { 69 } else { 70 } } } }
    if used>1 { for s {
        for x bordered { 71 [b + 1 : b + n - 1] }
        if not s=1 { for x bordered { 72 } } } }
    if has(idy) { for x { for s { for e { 73 74 } } } }
    if has(idxdy) { with idxdy { for x from 1 { for s { for e { 75 76 } } } } })",
                 kNames);

// CFD4 compares the spacings of neighbouring sections where USED <= 1: equal spacings take
// the five-point stencil across the join, unequal ones second-order stencils.
PELLORIN_OUTLINE(kCfd4X, R"(
    if used>0 { for y { for s {
        if s=1 or used>1 { if s=1 { 77 } 78 }
        else if not h(s-1)=h { 79 } else { 80 }
        81 [b + 2 : b + n - 2]
        if s=ns or used>1 { 82 83 }
        else if not h(s+1)=h { 84 85 } else { 86 [b + n - 1 : b + n] } } } }
    if used>1 { for s {
        for y bordered { 87 88 [b + 2 : b + n - 2] 89 }
        for y { if not s=1 { 90 } } } }
    if has(idx) or has(idxdy) { for y { for s { for e { 91 92 93 94 } } } })",
                 kNames);
PELLORIN_OUTLINE(kCfd4Y, R"(
    if used>0 { for x { for s {
        if s=1 or used>1 { if s=1 { 95 } 96 }
        else if not h(s-1)=h { 97 } else { 98 }
        99 [b + 2 : b + n - 2]
        if s=ns or used>1 { 100 101 }
        else if not h(s+1)=h { 102 103 } else { 104 [b + n - 1 : b + n] } } } }
    if used>1 { for s {
        for x bordered { 105 106 [b + 2 : b + n - 2] 107 }
        if not s=1 { for x bordered { 108 } } } }
    if has(idy) { for x { for s { for e { 109 110 111 112 } } } }
    if has(idxdy) { with idxdy { for x from 1 { for s { for e { 113 114 115 116 } } } } })",
                 kNames);

PELLORIN_OUTLINE(kUbfd4X, R"(
    if used>0 { for y { for s { if s=1 { 117 } 118 119 120 [b + 3 : b + n - 1] 121 } } }
    if used>1 { for s {
        for y bordered { 122 123 124 [b + 3 : b + n - 1] }
        for y { if not s=1 { 125 } } } }
    if has(idx) or has(idxdy) { for y { for s { for e { 126 127 128 129 } } } })",
                 kNames);
PELLORIN_OUTLINE(kUbfd4Y, R"(
    if used>0 { for x { for s { if s=1 { 130 } 131 132 133 [b + 3 : b + n - 1] 134 } } }
    if used>1 { for s {
        for x bordered { 135 136 137 [b + 3 : b + n - 1] }
        if not s=1 { for x bordered { 138 } } } }
    if has(idy) { for x { for s { for e { 139 140 141 142 } } } }
    if has(idxdy) { with idxdy { for x from 1 { for s { for e { 143 144 145 146 } } } } })",
                 kNames);

// Collocation blocks: the domain's end nodes get their derivative from their only element;
// every other element boundary from the element that the boundary condition names, and,
// when the declared order is exactly 2, a continuity statement from the other element,
// except at the domain's first node under "Backward" and its last node under "Forward".
// Within an element the x and y blocks write continuity and second derivatives in the
// orders below.
PELLORIN_OUTLINE(kOcfe2X, R"(
    if used>0 { for y { for s {
        if s=1 and backward { 147 } else if s=ns and forward { 148 }
        for e { 149 if backward { 150 } else { 151 } } } } }
    if used>1 { for s { for e {
        for y bordered { 152 }
        for y { if ho=2 {
            if backward and not k=0 { 153 } else if forward and not k+p=end { 154 } } } } } }
    if has(idx) or has(idxdy) { for y { for s { for e { 155 156 } } } })",
                 kNames);
PELLORIN_OUTLINE(kOcfe2Y, R"(
    if used>0 { for x { for s {
        if s=1 and backward { 157 } else if s=ns and forward { 158 }
        for e { 159 if backward { 160 } else { 161 } } } } }
    if used>1 { for s { for e {
        for x bordered { if ho=2 {
            if backward and not k=0 { 162 } else if forward and not k+p=end { 163 } } }
        for x bordered { 164 } } } }
    if has(idy) { for x { for s { for e { 165 166 } } } }
    if has(idxdy) { with idxdy { for x from 1 { for s { for e { 167 168 } } } } })",
                 kNames);

PELLORIN_OUTLINE(kOcfe3X, R"(
    if used>0 { for y { for s {
        if s=1 and backward { 169 } else if s=ns and forward { 170 }
        for e { 171 172 if backward { 173 } else { 174 } } } } }
    if used>1 { for s { for e {
        for y { if ho=2 {
            if not k=0 and backward { 175 } else if not k+p=end and forward { 176 } } }
        for y bordered { 177 178 } } } }
    if has(idx) or has(idxdy) { for y { for s { for e { 179 180 181 } } } })",
                 kNames);
PELLORIN_OUTLINE(kOcfe3Y, R"(
    if used>0 { for x { for s {
        if s=1 and backward { 182 } else if s=ns and forward { 183 }
        for e { 184 185 if backward { 186 } else { 187 } } } } }
    if used>1 { for s { for e {
        for x bordered { 188 189 }
        for x bordered { if ho=2 {
            if not k=0 and backward { 190 } else if not k+p=end and forward { 191 } } } } } }
    if has(idy) { for x { for s { for e { 192 193 194 } } } }
    if has(idxdy) { with idxdy { for x from 1 { for s { for e { 195 196 197 } } } } })",
                 kNames);

PELLORIN_OUTLINE(kOcfe4X, R"(
    if used>0 { for y { for s {
        if s=1 and backward { 198 } else if s=ns and forward { 199 }
        for e { 200 201 202 if backward { 203 } else { 204 } } } } }
    if used>1 { for s { for e {
        for y { if ho=2 {
            if not k=0 and backward { 205 } else if not k+p=end and forward { 206 } } }
        for y bordered { 207 208 209 } } } }
    if has(idx) or has(idxdy) { for y { for s { for e { 210 211 212 213 } } } })",
                 kNames);
PELLORIN_OUTLINE(kOcfe4Y, R"(
    if used>0 { for x { for s {
        if s=1 and backward { 214 } else if s=ns and forward { 215 }
        for e { 216 217 218 if backward { 219 } else { 220 } } } } }
    if used>1 { for s { for e {
        for x bordered { 221 222 223 }
        for x bordered { if ho=2 {
            if not k=0 and backward { 224 } else if not k+p=end and forward { 225 } } } } } }
    if has(idy) { for x { for s { for e { 226 227 228 229 } } } }
    if has(idxdy) { with idxdy { for x from 1 { for s { for e { 230 231 232 233 } } } } })",
                 kNames);

constexpr int kX = 0;
constexpr int kY = 1;

constexpr std::array<Block, 21> kBlocks = {{
    {kAnyMethod, kX, kStart.View()},
    {methods::MethodId("BFD1"), kX, kBfd1X.View()},
    {methods::MethodId("BFD1"), kY, kBfd1Y.View()},
    {methods::MethodId("BFD2"), kX, kBfd2X.View()},
    {methods::MethodId("BFD2"), kY, kBfd2Y.View()},
    {methods::MethodId("FFD1"), kX, kFfd1X.View()},
    {methods::MethodId("FFD1"), kY, kFfd1Y.View()},
    {methods::MethodId("FFD2"), kX, kFfd2X.View()},
    {methods::MethodId("FFD2"), kY, kFfd2Y.View()},
    {methods::MethodId("CFD2"), kX, kCfd2X.View()},
    {methods::MethodId("CFD2"), kY, kCfd2Y.View()},
    {methods::MethodId("CFD4"), kX, kCfd4X.View()},
    {methods::MethodId("CFD4"), kY, kCfd4Y.View()},
    {methods::MethodId("UBFD4"), kX, kUbfd4X.View()},
    {methods::MethodId("UBFD4"), kY, kUbfd4Y.View()},
    {methods::MethodId("OCFE2"), kX, kOcfe2X.View()},
    {methods::MethodId("OCFE2"), kY, kOcfe2Y.View()},
    {methods::MethodId("OCFE3"), kX, kOcfe3X.View()},
    {methods::MethodId("OCFE3"), kY, kOcfe3Y.View()},
    {methods::MethodId("OCFE4"), kX, kOcfe4X.View()},
    {methods::MethodId("OCFE4"), kY, kOcfe4Y.View()},
}};

constexpr RoleMap Roles(std::string_view arrays) {
    return ArrayIds<kRoleCount>(kArrays, arrays);
}

// Roles per direction: F, D1, D2, I.
constexpr std::array<Binding, 2> kBindings = {{
    {{Roles("VALUE DDX D2DX2 IDX"), Roles("VALUE DDY D2DY2 IDY")}},
    {{Roles("IDX DDX D2DX2 IDXDY"), Roles("IDX DDY D2DY2 IDXDY")}},
}};

} // namespace

const eqn::Outline& EquationOutline() {
    static const eqn::Outline outline{Statements(), kBlocks, 2, kBindings};
    return outline;
}

} // namespace pellorin::dist2d
