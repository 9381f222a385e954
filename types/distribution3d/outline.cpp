#include "types/distribution3d/outline.h"

#include "types/distribution3d/arrays.h"
#include "types/distribution3d/statements.h"
#include "types/domain/methods.h"

namespace pellorin::dist3d {

namespace {

using namespace eqn;

// A composite integral integrates the one before it along its last direction: IDXDY is IDX
// along y, IDXDZ IDX along z, IDYDZ IDY along z, IDXDYDZ IDXDY along z. Each binding is
// named by its integral.
inline constexpr std::span<const std::string_view> kBindingNames =
    std::span(kIntegrals).subspan(kFirstComposite);
inline constexpr OutlineVocabulary kNames{kIntegrals, kBindingNames, 1, 418};

// The start values hold each integral on the first face of every direction it integrates
// along, each face once, in the natural order of the other two directions.
PELLORIN_OUTLINE(kStart, R"(
    if has(idx) or has(idxdy) or has(idxdz) or has(idxdydz) { for y { for z { 1 } } }
    if has(idy) or has(idydz) { along y { for x { for z { 2 } } } }
    if has(idz) { along z { for x { for y { 3 } } } }
    if has(idxdy) or has(idxdydz) { with idxdy {
        for y { for z { 4 } }
        along y { for x from 1 { for z { 5 } } } } }
    if has(idxdz) { with idxdz {
        for y { for z { 6 } }
        along z { for x from 1 { for y { 7 } } } } }
    if has(idydz) { with idydz {
        along y { for x { for z { 8 } } }
        along z { for x { for y from 1 { 9 } } } } }
    if has(idxdydz) { with idxdydz {
        for y { for z { 10 } }
        along y { for x from 1 { for z { 11 } } }
        along z { for x from 1 { for y from 1 { 12 } } } } })",
                 kNames);

// Every block has three parts. First derivatives: the other two directions' nodes outermost,
// in the order each (method, direction) gives. Second derivatives, section by section: over
// the other directions' bordered sets, then the joins (or, for collocation, the continuity
// statements) over the bordered sets of the directions before the own one and the full
// ranges of those after it, so that where joins of several directions meet only one extra
// equation is written. Integrals: the other directions outermost, composite integrals from
// node 1 along the directions they already cover.
PELLORIN_OUTLINE(kBfd1X, R"(
    if used>0 { for z { for y { for s {
        if s=1 { 13 } 14 [b + 1 : b + n] } } } }
    if used>1 { for s {
        for z bordered { for y bordered { 15 [b + 1 : b + n - 1] } }
        if not s=1 { for z { for y { 16 } } } } }
    if has(idx) or has(idxdy) or has(idxdz) or has(idxdydz) { for z { for y { for s { 17 [b : b + n - 1] } } } })",
                 kNames);
PELLORIN_OUTLINE(kBfd1Y, R"(
    if used>0 { for z { for x { for s {
        if s=1 { 18 } 19 [b + 1 : b + n] } } } }
    if used>1 { for s {
        for x bordered { for z bordered { 20 [b + 1 : b + n - 1] } }
        if not s=1 { for x bordered { for z { 21 } } } } }
    if has(idy) or has(idydz) { for z { for x { for s { 22 [b : b + n - 1] } } } }
    if has(idxdy) or has(idxdydz) { with idxdy { for z { for x from 1 { for s { 23 [b : b + n - 1] } } } } })",
                 kNames);
PELLORIN_OUTLINE(kBfd1Z, R"(
    if used>0 { for y { for x { for s {
        if s=1 { 24 } 25 [b + 1 : b + n] } } } }
    if used>1 { for s {
        for x bordered { for y bordered { 26 [b + 1 : b + n - 1] } }
        if not s=1 { for x bordered { for y bordered { 27 } } } } }
    if has(idz) { for y { for x { for s { 28 [b : b + n - 1] } } } }
    if has(idxdz) { with idxdz { for y { for x from 1 { for s { 29 [b : b + n - 1] } } } } }
    if has(idydz) { with idydz { for y from 1 { for x { for s { 30 [b : b + n - 1] } } } } }
    if has(idxdydz) { with idxdydz { for y from 1 { for x from 1 { for s { 31 [b : b + n - 1] } } } } })",
                 kNames);
PELLORIN_OUTLINE(kBfd2X, R"(
    if used>0 { for z { for y { for s {
        if s=1 { 32 } 33 34 [b + 2 : b + n] } } } }
    if used>1 { for s {
        for y bordered { for z bordered { 35 [b + 1 : b + n - 1] } }
        if not s=1 { for y { for z { 36 } } } } }
    if has(idx) or has(idxdy) or has(idxdz) or has(idxdydz) { for z { for y { for s { for e { 37 38 } } } } })",
                 kNames);
PELLORIN_OUTLINE(kBfd2Y, R"(
    if used>0 { for z { for x { for s {
        if s=1 { 39 } 40 41 [b + 2 : b + n] } } } }
    if used>1 { for s {
        for x bordered { for z bordered { 42 [b + 1 : b + n - 1] } }
        if not s=1 { for x bordered { for z { 43 } } } } }
    if has(idy) or has(idydz) { for z { for x { for s { for e { 44 45 } } } } }
    if has(idxdy) or has(idxdydz) { with idxdy { for z { for x from 1 { for s { for e { 46 47 } } } } } })",
                 kNames);
PELLORIN_OUTLINE(kBfd2Z, R"(
    if used>0 { for y { for x { for s {
        if s=1 { 48 } 49 50 [b + 2 : b + n] } } } }
    if used>1 { for s {
        for x bordered { for y bordered { 51 [b + 1 : b + n - 1] } }
        if not s=1 { for x bordered { for y bordered { 52 } } } } }
    if has(idz) { for y { for x { for s { for e { 53 54 } } } } }
    if has(idxdz) { with idxdz { for y { for x from 1 { for s { for e { 55 56 } } } } } }
    if has(idydz) { with idydz { for y from 1 { for x { for s { for e { 57 58 } } } } } }
    if has(idxdydz) { with idxdydz { for y from 1 { for x from 1 { for s { for e { 59 60 } } } } } })",
                 kNames);
PELLORIN_OUTLINE(kFfd1X, R"(
    if used>0 { for z { for y { for s {
        61 [b : b + n - 1] if s=ns { 62 } } } } }
    if used>1 { for s {
        for z bordered { for y bordered { 63 [b + 1 : b + n - 1] } }
        if not s=ns { for z { for y { 64 } } } } }
    if has(idx) or has(idxdy) or has(idxdz) or has(idxdydz) { for z { for y { for s { 65 [b : b + n - 1] } } } })",
                 kNames);
PELLORIN_OUTLINE(kFfd1Y, R"(
    if used>0 { for z { for x { for s {
        66 [b : b + n - 1] if s=ns { 67 } } } } }
    if used>1 { for s {
        for x bordered { for z bordered { 68 [b + 1 : b + n - 1] } }
        if not s=ns { for x bordered { for z { 69 } } } } }
    if has(idy) or has(idydz) { for z { for x { for s { 70 [b : b + n - 1] } } } }
    if has(idxdy) or has(idxdydz) { with idxdy { for z { for x from 1 { for s { 71 [b : b + n - 1] } } } } })",
                 kNames);
PELLORIN_OUTLINE(kFfd1Z, R"(
    if used>0 { for y { for x { for s {
        72 [b : b + n - 1] if s=ns { 73 } } } } }
    if used>1 { for s {
        for x bordered { for y bordered { 74 [b + 1 : b + n - 1] } }
        if not s=ns { for x bordered { for y bordered { 75 } } } } }
    if has(idz) { for y { for x { for s { 76 [b : b + n - 1] } } } }
    if has(idxdz) { with idxdz { for y { for x from 1 { for s { 77 [b : b + n - 1] } } } } }
    if has(idydz) { with idydz { for y from 1 { for x { for s { 78 [b : b + n - 1] } } } } }
    if has(idxdydz) { with idxdydz { for y from 1 { for x from 1 { for s { 79 [b : b + n - 1] } } } } })",
                 kNames);
PELLORIN_OUTLINE(kFfd2X, R"(
    if used>0 { for z { for y { for s {
        80 [b : b + n - 2] 81 if s=ns { 82 } } } } }
    if used>1 { for s {
        for y bordered { for z bordered { 83 [b + 1 : b + n - 1] } }
        if not s=ns { for y { for z { 84 } } } } }
    if has(idx) or has(idxdy) or has(idxdz) or has(idxdydz) { for z { for y { for s { for e { 85 86 } } } } })",
                 kNames);
PELLORIN_OUTLINE(kFfd2Y, R"(
    if used>0 { for z { for x { for s {
        87 [b : b + n - 2] 88 if s=ns { 89 } } } } }
    if used>1 { for s {
        for x bordered { for z bordered { 90 [b + 1 : b + n - 1] } }
        if not s=ns { for x bordered { for z { 91 } } } } }
    if has(idy) or has(idydz) { for z { for x { for s { for e { 92 93 } } } } }
    if has(idxdy) or has(idxdydz) { with idxdy { for z { for x from 1 { for s { for e { 94 95 } } } } } })",
                 kNames);
PELLORIN_OUTLINE(kFfd2Z, R"(
    if used>0 { for y { for x { for s {
        96 [b : b + n - 2] 97 if s=ns { 98 } } } } }
    if used>1 { for s {
        for x bordered { for y bordered { 99 [b + 1 : b + n - 1] } }
        if not s=ns { for x bordered { for y bordered { 100 } } } } }
    if has(idz) { for y { for x { for s { for e { 101 102 } } } } }
    if has(idxdz) { with idxdz { for y { for x from 1 { for s { for e { 103 104 } } } } } }
    if has(idydz) { with idydz { for y from 1 { for x { for s { for e { 105 106 } } } } } }
    if has(idxdydz) { with idxdydz { for y from 1 { for x from 1 { for s { for e { 107 108 } } } } } })",
                 kNames);
PELLORIN_OUTLINE(kCfd2X, R"(
    if used>0 { for z { for y { for s {
        if s=1 { 109 } 110 [b + 1 : b + n - 1] if s=ns or used>1 { 111 } else { 112 } } } } }
    if used>1 { for s {
        for y bordered { for z bordered { 113 [b + 1 : b + n - 1] } }
        if not s=1 { for y { for z { 114 } } } } }
    if has(idx) or has(idxdy) or has(idxdz) or has(idxdydz) { for z { for y { for s { for e { 115 116 } } } } })",
                 kNames);
PELLORIN_OUTLINE(kCfd2Y, R"(
    if used>0 { for z { for x { for s {
        if s=1 { 117 } 118 [b + 1 : b + n - 1] if s=ns or used>1 { 119 } else { 120 } } } } }
    if used>1 { for s {
        for x bordered { for z bordered { 121 [b + 1 : b + n - 1] } }
        if not s=1 { for x bordered { for z { 122 } } } } }
    if has(idy) or has(idydz) { for z { for x { for s { for e { 123 124 } } } } }
    if has(idxdy) or has(idxdydz) { with idxdy { for z { for x from 1 { for s { for e { 125 126 } } } } } })",
                 kNames);
PELLORIN_OUTLINE(kCfd2Z, R"(
    if used>0 { for y { for x { for s {
        if s=1 { 127 } 128 [b + 1 : b + n - 1] if s=ns or used>1 { 129 } else { 130 } } } } }
    if used>1 { for s {
        for x bordered { for y bordered { 131 [b + 1 : b + n - 1] } }
        if not s=1 { for x bordered { for y bordered { 132 } } } } }
    if has(idz) { for y { for x { for s { for e { 133 134 } } } } }
    if has(idxdz) { with idxdz { for y { for x from 1 { for s { for e { 135 136 } } } } } }
    if has(idydz) { with idydz { for y from 1 { for x { for s { for e { 137 138 } } } } } }
    if has(idxdydz) { with idxdydz { for y from 1 { for x from 1 { for s { for e { 139 140 } } } } } })",
                 kNames);
PELLORIN_OUTLINE(kCfd4X, R"(
    if used>0 { for z { for y { for s {
        if s=1 or used>1 { if s=1 { 141 } 142 }
        else if not h(s-1)=h { 143 } else { 144 }
        145 [b + 2 : b + n - 2]
        if s=ns or used>1 { 146 147 }
        else if not h(s+1)=h { 148 149 } else { 150 [b + n - 1 : b + n] } } } } }
    if used>1 { for s {
        for y bordered { for z bordered { 151 152 [b + 2 : b + n - 2] 153 } }
        if not s=1 { for y { for z { 154 } } } } }
    if has(idx) or has(idxdy) or has(idxdz) or has(idxdydz) { for z { for y { for s { for e { 155 156 157 158 } } } } })",
                 kNames);
PELLORIN_OUTLINE(kCfd4Y, R"(
    if used>0 { for z { for x { for s {
        if s=1 or used>1 { if s=1 { 159 } 160 }
        else if not h(s-1)=h { 161 } else { 162 }
        163 [b + 2 : b + n - 2]
        if s=ns or used>1 { 164 165 }
        else if not h(s+1)=h { 166 167 } else { 168 [b + n - 1 : b + n] } } } } }
    if used>1 { for s {
        for x bordered { for z bordered { 169 170 [b + 2 : b + n - 2] 171 } }
        if not s=1 { for x bordered { for z { 172 } } } } }
    if has(idy) or has(idydz) { for z { for x { for s { for e { 173 174 175 176 } } } } }
    if has(idxdy) or has(idxdydz) { with idxdy { for z { for x from 1 { for s { for e { 177 178 179 180 } } } } } })",
                 kNames);
PELLORIN_OUTLINE(kCfd4Z, R"(
    if used>0 { for y { for x { for s {
        if s=1 or used>1 { if s=1 { 181 } 182 }
        else if not h(s-1)=h { 183 } else { 184 }
        185 [b + 2 : b + n - 2]
        if s=ns or used>1 { 186 187 }
        else if not h(s+1)=h { 188 189 } else { 190 [b + n - 1 : b + n] } } } } }
    if used>1 { for s {
        for x bordered { for y bordered { 191 192 [b + 2 : b + n - 2] 193 } }
        if not s=1 { for x bordered { for y bordered { 194 } } } } }
    if has(idz) { for y { for x { for s { for e { 195 196 197 198 } } } } }
    if has(idxdz) { with idxdz { for y { for x from 1 { for s { for e { 199 200 201 202 } } } } } }
    if has(idydz) { with idydz { for y from 1 { for x { for s { for e { 203 204 205 206 } } } } } }
    if has(idxdydz) { with idxdydz { for y from 1 { for x from 1 { for s { for e { 207 208 209 210 } } } } } })",
                 kNames);
PELLORIN_OUTLINE(kUbfd4X, R"(
    if used>0 { for y { for z { for s {
        if s=1 { 211 } 212 213 214 [b + 3 : b + n - 1] 215 } } } }
    if used>1 { for s {
        for y bordered { for z bordered { 216 217 218 [b + 3 : b + n - 1] } }
        if not s=1 { for y { for z { 219 } } } } }
    if has(idx) or has(idxdy) or has(idxdz) or has(idxdydz) { for z { for y { for s { for e { 220 221 222 223 } } } } })",
                 kNames);
PELLORIN_OUTLINE(kUbfd4Y, R"(
    if used>0 { for x { for z { for s {
        if s=1 { 224 } 225 226 227 [b + 3 : b + n - 1] 228 } } } }
    if used>1 { for s {
        for x bordered { for z bordered { 229 230 231 [b + 3 : b + n - 1] } }
        if not s=1 { for x bordered { for z { 232 } } } } }
    if has(idy) or has(idydz) { for z { for x { for s { for e { 233 234 235 236 } } } } }
    if has(idxdy) or has(idxdydz) { with idxdy { for z { for x from 1 { for s { for e { 237 238 239 240 } } } } } })",
                 kNames);
PELLORIN_OUTLINE(kUbfd4Z, R"(
    if used>0 { for y { for x { for s {
        if s=1 { 241 } 242 243 244 [b + 3 : b + n - 1] 245 } } } }
    if used>1 { for s {
        for x bordered { for y bordered { 246 247 248 [b + 3 : b + n - 1] } }
        if not s=1 { for x bordered { for y bordered { 249 } } } } }
    if has(idz) { for y { for x { for s { for e { 250 251 252 253 } } } } }
    if has(idxdz) { with idxdz { for y { for x from 1 { for s { for e { 254 255 256 257 } } } } } }
    if has(idydz) { with idydz { for y from 1 { for x { for s { for e { 258 259 260 261 } } } } } }
    if has(idxdydz) { with idxdydz { for y from 1 { for x from 1 { for s { for e { 262 263 264 265 } } } } } })",
                 kNames);
PELLORIN_OUTLINE(kOcfe2X, R"(
    if used>0 { for z { for y { for s {
        if s=1 and backward { 266 } else if s=ns and forward { 267 }
        for e { 268 if backward { 269 } else { 270 } } } } } }
    if used>1 { for s { for e {
        for y bordered { for z bordered { 271 } }
        if ho=2 { for y { for z { if not k=0 and backward { 272 } else if forward and not k+p=end { 273 } } } } } } }
    if has(idx) or has(idxdy) or has(idxdz) or has(idxdydz) { for z { for y { for s { for e { 274 275 } } } } })",
                 kNames);
PELLORIN_OUTLINE(kOcfe2Y, R"(
    if used>0 { for x { for z { for s {
        if s=1 and backward { 276 } else if s=ns and forward { 277 }
        for e { 278 if backward { 279 } else { 280 } } } } } }
    if used>1 { for s { for e {
        for x bordered { for z bordered { 281 } }
        if ho=2 { for x bordered { for z { if not k=0 and backward { 282 } else if forward and not k+p=end { 283 } } } } } } }
    if has(idy) or has(idydz) { for z { for x { for s { for e { 284 285 } } } } }
    if has(idxdy) or has(idxdydz) { with idxdy { for z { for x from 1 { for s { for e { 286 287 } } } } } })",
                 kNames);
PELLORIN_OUTLINE(kOcfe2Z, R"(
    if used>0 { for x { for y { for s {
        if s=1 and backward { 288 } else if s=ns and forward { 289 }
        for e { 290 if backward { 291 } else { 292 } } } } } }
    if used>1 { for s { for e {
        for x bordered { for y bordered { 293 } }
        if ho=2 { for x bordered { for y bordered { if not k=0 and backward { 294 } else if forward and not k+p=end { 295 } } } } } } }
    if has(idz) { for y { for x { for s { for e { 296 297 } } } } }
    if has(idxdz) { with idxdz { for y { for x from 1 { for s { for e { 298 299 } } } } } }
    if has(idydz) { with idydz { for y from 1 { for x { for s { for e { 300 301 } } } } } }
    if has(idxdydz) { with idxdydz { for y from 1 { for x from 1 { for s { for e { 302 303 } } } } } })",
                 kNames);
PELLORIN_OUTLINE(kOcfe3X, R"(
    if used>0 { for y { for z { for s {
        if s=1 and backward { 304 } else if s=ns and forward { 305 }
        for e { 306 307 if backward { 308 } else { 309 } } } } } }
    if used>1 { for s { for e {
        for y bordered { for z bordered { 310 311 } }
        if ho=2 { for y { for z { if not k=0 and backward { 312 } else if not k+p=end and forward { 313 } } } } } } }
    if has(idx) or has(idxdy) or has(idxdz) or has(idxdydz) { for z { for y { for s { for e { 314 315 316 } } } } })",
                 kNames);
PELLORIN_OUTLINE(kOcfe3Y, R"(
    if used>0 { for x { for z { for s {
        if s=1 and backward { 317 } else if s=ns and forward { 318 }
        for e { 319 320 if backward { 321 } else { 322 } } } } } }
    if used>1 { for s { for e {
        for x bordered { for z bordered { 323 324 } }
        if ho=2 { for x bordered { for z { if not k=0 and backward { 325 } else if not k+p=end and forward { 326 } } } } } } }
    if has(idy) or has(idydz) { for z { for x { for s { for e { 327 328 329 } } } } }
    if has(idxdy) or has(idxdydz) { with idxdy { for z { for x from 1 { for s { for e { 330 331 332 } } } } } })",
                 kNames);
PELLORIN_OUTLINE(kOcfe3Z, R"(
    if used>0 { for x { for y { for s {
        if s=1 and backward { 333 } else if s=ns and forward { 334 }
        for e { 335 336 if backward { 337 } else { 338 } } } } } }
    if used>1 { for s { for e {
        for x bordered { for y bordered { 339 340 } }
        if ho=2 { for x bordered { for y bordered { if not k=0 and backward { 341 } else if not k+p=end and forward { 342 } } } } } } }
    if has(idz) { for y { for x { for s { for e { 343 344 345 } } } } }
    if has(idxdz) { with idxdz { for y { for x from 1 { for s { for e { 346 347 348 } } } } } }
    if has(idydz) { with idydz { for y from 1 { for x { for s { for e { 349 350 351 } } } } } }
    if has(idxdydz) { with idxdydz { for y from 1 { for x from 1 { for s { for e { 352 353 354 } } } } } })",
                 kNames);
PELLORIN_OUTLINE(kOcfe4X, R"(
    if used>0 { for y { for z { for s {
        if s=1 and backward { 355 } else if s=ns and forward { 356 }
        for e { 357 358 359 if backward { 360 } else { 361 } } } } } }
    if used>1 { for s { for e {
        for y bordered { for z bordered { 362 363 364 } }
        if ho=2 { for y { for z { if not k=0 and backward { 365 } else if not k+p=end and forward { 366 } } } } } } }
    if has(idx) or has(idxdy) or has(idxdz) or has(idxdydz) { for z { for y { for s { for e { 367 368 369 370 } } } } })",
                 kNames);
PELLORIN_OUTLINE(kOcfe4Y, R"(
    if used>0 { for x { for z { for s {
        if s=1 and backward { 371 } else if s=ns and forward { 372 }
        for e { 373 374 375 if backward { 376 } else { 377 } } } } } }
    if used>1 { for s { for e {
        for x bordered { for z bordered { 378 379 380 } }
        if ho=2 { for x bordered { for z { if not k=0 and backward { 381 } else if not k+p=end and forward { 382 } } } } } } }
    if has(idy) or has(idydz) { for z { for x { for s { for e { 383 384 385 386 } } } } }
    if has(idxdy) or has(idxdydz) { with idxdy { for z { for x from 1 { for s { for e { 387 388 389 390 } } } } } })",
                 kNames);
PELLORIN_OUTLINE(kOcfe4Z, R"(
    if used>0 { for x { for y { for s {
        if s=1 and backward { 391 } else if s=ns and forward { 392 }
        for e { 393 394 395 if backward { 396 } else { 397 } } } } } }
    if used>1 { for s { for e {
        for x bordered { for y bordered { 398 399 400 } }
        if ho=2 { for x bordered { for y bordered { if not k=0 and backward { 401 } else if not k+p=end and forward { 402 } } } } } } }
    if has(idz) { for y { for x { for s { for e { 403 404 405 406 } } } } }
    if has(idxdz) { with idxdz { for y { for x from 1 { for s { for e { 407 408 409 410 } } } } } }
    if has(idydz) { with idydz { for y from 1 { for x { for s { for e { 411 412 413 414 } } } } } }
    if has(idxdydz) { with idxdydz { for y from 1 { for x from 1 { for s { for e { 415 416 417 418 } } } } } })",
                 kNames);

constexpr int kX = 0;
constexpr int kY = 1;
constexpr int kZ = 2;

constexpr std::array<Block, 31> kBlocks = {{
    {kAnyMethod, kX, kStart.View()},
    {methods::MethodId("BFD1"), kX, kBfd1X.View()},
    {methods::MethodId("BFD1"), kY, kBfd1Y.View()},
    {methods::MethodId("BFD1"), kZ, kBfd1Z.View()},
    {methods::MethodId("BFD2"), kX, kBfd2X.View()},
    {methods::MethodId("BFD2"), kY, kBfd2Y.View()},
    {methods::MethodId("BFD2"), kZ, kBfd2Z.View()},
    {methods::MethodId("FFD1"), kX, kFfd1X.View()},
    {methods::MethodId("FFD1"), kY, kFfd1Y.View()},
    {methods::MethodId("FFD1"), kZ, kFfd1Z.View()},
    {methods::MethodId("FFD2"), kX, kFfd2X.View()},
    {methods::MethodId("FFD2"), kY, kFfd2Y.View()},
    {methods::MethodId("FFD2"), kZ, kFfd2Z.View()},
    {methods::MethodId("CFD2"), kX, kCfd2X.View()},
    {methods::MethodId("CFD2"), kY, kCfd2Y.View()},
    {methods::MethodId("CFD2"), kZ, kCfd2Z.View()},
    {methods::MethodId("CFD4"), kX, kCfd4X.View()},
    {methods::MethodId("CFD4"), kY, kCfd4Y.View()},
    {methods::MethodId("CFD4"), kZ, kCfd4Z.View()},
    {methods::MethodId("UBFD4"), kX, kUbfd4X.View()},
    {methods::MethodId("UBFD4"), kY, kUbfd4Y.View()},
    {methods::MethodId("UBFD4"), kZ, kUbfd4Z.View()},
    {methods::MethodId("OCFE2"), kX, kOcfe2X.View()},
    {methods::MethodId("OCFE2"), kY, kOcfe2Y.View()},
    {methods::MethodId("OCFE2"), kZ, kOcfe2Z.View()},
    {methods::MethodId("OCFE3"), kX, kOcfe3X.View()},
    {methods::MethodId("OCFE3"), kY, kOcfe3Y.View()},
    {methods::MethodId("OCFE3"), kZ, kOcfe3Z.View()},
    {methods::MethodId("OCFE4"), kX, kOcfe4X.View()},
    {methods::MethodId("OCFE4"), kY, kOcfe4Y.View()},
    {methods::MethodId("OCFE4"), kZ, kOcfe4Z.View()},
}};

constexpr RoleMap Roles(std::string_view arrays) {
    return ArrayIds<kRoleCount>(kArrays, arrays);
}

// Roles per direction: F, D1, D2, I; then the composite integrals, each integrating the
// integral it extends.
constexpr Binding Integrating(std::string_view integrand, std::string_view integral) {
    const std::uint8_t f = ArrayId(kArrays, integrand);
    const std::uint8_t i = ArrayId(kArrays, integral);
    Binding binding = {
        {Roles("VALUE DDX D2DX2 IDX"), Roles("VALUE DDY D2DY2 IDY"), Roles("VALUE DDZ D2DZ2 IDZ")}};
    for (RoleMap& roles : binding) {
        roles[kF] = f;
        roles[kI] = i;
    }
    return binding;
}
constexpr std::array<Binding, 5> kBindings = {{
    {{Roles("VALUE DDX D2DX2 IDX"), Roles("VALUE DDY D2DY2 IDY"), Roles("VALUE DDZ D2DZ2 IDZ")}},
    Integrating("IDX", "IDXDY"),
    Integrating("IDX", "IDXDZ"),
    Integrating("IDY", "IDYDZ"),
    Integrating("IDXDY", "IDXDYDZ"),
}};

} // namespace

const eqn::Outline& EquationOutline() {
    static const eqn::Outline outline{Statements(), kBlocks, 3, kBindings};
    return outline;
}

} // namespace pellorin::dist3d
