#include "types/distribution1d/statements.h"

namespace pellorin::dist1d {

namespace {

using eqn::StatementText;

// The one-dimensional distribution's statements: number, own group, residual.
// clang-format off
constexpr std::array<StatementText, 102> kTexts = {{
    // start value
    {1, 1, "op1(IDX(0))"},
    // BFD1
    {2, 2, "((DDX(b) * h) + (VALUE(b) - VALUE(b + 1)))"},
    {3, 2, "((DDX(i) * h) + (VALUE(i - 1) - VALUE(i)))"},
    {4, 2, "((D2DX2(i) * sq(h)) - ((VALUE(i - 1) - (2 * VALUE(i))) + VALUE(i + 1)))"},
    {5, 2, "((DDX(b) * h) + (VALUE(b) - VALUE(b + 1)))"},
    {6, 2, "(IDX(i + 1) - (h * ((0.5 * VALUE(i)) + (0.5 * VALUE(i + 1)))))"},
    // BFD2
    {7, 3, "((2 * (DDX(b) * h)) + (VALUE(b + 2) - ((-3 * VALUE(b)) + (4 * VALUE(b + 1)))))"},
    {8, 3, "((2 * (DDX(b + 1) * h)) + (VALUE(b) - VALUE(b + 2)))"},
    {9, 3, "((2 * (DDX(i) * h)) - ((VALUE(i - 2) - (4 * VALUE(i - 1))) + (3 * VALUE(i))))"},
    {10, 3, "((D2DX2(i) * sq(h)) - ((VALUE(i - 1) - (2 * VALUE(i))) + VALUE(i + 1)))"},
    {11, 3, "((2 * (DDX(b) * h)) + (VALUE(b + 2) - ((-3 * VALUE(b)) + (4 * VALUE(b + 1)))))"},
    {12, 3, "((IDX(k + 1) / (0.08333333333333333 * h)) + (VALUE(k + 2) - ((5 * VALUE(k)) + (8 * VALUE(k + 1)))))"},
    {13, 3, "((IDX(k + 2) / (0.08333333333333333 * h)) - (((8 * VALUE(k + 1)) - VALUE(k)) + (5 * VALUE(k + 2))))"},
    // FFD1
    {14, 4, "((DDX(i) * h) + (VALUE(i) - VALUE(i + 1)))"},
    {15, 4, "((DDX(b + n) * h) + (VALUE(b + n - 1) - VALUE(b + n)))"},
    {16, 4, "((D2DX2(i) * sq(h)) - ((VALUE(i - 1) - (2 * VALUE(i))) + VALUE(i + 1)))"},
    {17, 4, "((DDX(b + n) * h) + (VALUE(b + n - 1) - VALUE(b + n)))"},
    {18, 4, "(IDX(i + 1) - (h * ((0.5 * VALUE(i)) + (0.5 * VALUE(i + 1)))))"},
    // FFD2
    {19, 5, "((2 * (DDX(i) * h)) + (VALUE(i + 2) - ((-3 * VALUE(i)) + (4 * VALUE(i + 1)))))"},
    {20, 5, "((2 * (DDX(b + n - 1) * h)) + (VALUE(b + n - 2) - VALUE(b + n)))"},
    {21, 5, "((2 * (DDX(b + n) * h)) - ((VALUE(b + n - 2) - (4 * VALUE(b + n - 1))) + (3 * VALUE(b + n))))"},
    {22, 5, "((D2DX2(i) * sq(h)) - ((VALUE(i - 1) - (2 * VALUE(i))) + VALUE(i + 1)))"},
    {23, 5, "((2 * (DDX(b + n) * h)) - ((VALUE(b + n - 2) - (4 * VALUE(b + n - 1))) + (3 * VALUE(b + n))))"},
    {24, 5, "((IDX(k + 1) / (0.08333333333333333 * h)) + (VALUE(k + 2) - ((5 * VALUE(k)) + (8 * VALUE(k + 1)))))"},
    {25, 5, "((IDX(k + 2) / (0.08333333333333333 * h)) - (((8 * VALUE(k + 1)) - VALUE(k)) + (5 * VALUE(k + 2))))"},
    // CFD2
    {26, 6, "((2 * (DDX(b) * h)) + (VALUE(b + 2) - ((-3 * VALUE(b)) + (4 * VALUE(b + 1)))))"},
    {27, 6, "((2 * (DDX(i) * h)) + (VALUE(i - 1) - VALUE(i + 1)))"},
    {28, 6, "((2 * (DDX(b + n) * h)) - ((VALUE(b + n - 2) - (4 * VALUE(b + n - 1))) + (3 * VALUE(b + n))))"},
    {29, 6, "((DDX(b + n) * (h(s+1) + h)) + (VALUE(b + n - 1) - VALUE(b + n + 1)))"},
    {30, 6, "((D2DX2(i) * sq(h)) - ((VALUE(i - 1) - (2 * VALUE(i))) + VALUE(i + 1)))"},
    {31, 6, "((2 * (DDX(b) * h)) + (VALUE(b + 2) - ((-3 * VALUE(b)) + (4 * VALUE(b + 1)))))"},
    {32, 6, "((IDX(k + 1) / (0.08333333333333333 * h)) + (VALUE(k + 2) - ((5 * VALUE(k)) + (8 * VALUE(k + 1)))))"},
    {33, 6, "((IDX(k + 2) / (0.08333333333333333 * h)) - (((8 * VALUE(k + 1)) - VALUE(k)) + (5 * VALUE(k + 2))))"},
    // CFD4
    {34, 7, "((24 * (DDX(b) * h)) + ((6 * VALUE(b + 4)) - ((((-50 * VALUE(b)) + (96 * VALUE(b + 1))) - (72 * VALUE(b + 2))) + (32 * VALUE(b + 3)))))"},
    {35, 7, "((24 * (DDX(b + 1) * h)) - (((((-6 * VALUE(b)) - (20 * VALUE(b + 1))) + (36 * VALUE(b + 2))) - (12 * VALUE(b + 3))) + (2 * VALUE(b + 4))))"},
    {36, 7, "((2 * (DDX(b + 1) * h)) + (VALUE(b) - VALUE(b + 2)))"},
    {37, 7, "((24 * (DDX(b + 1) * h)) + ((2 * VALUE(b + 3)) - (((2 * VALUE(b - 1)) - (16 * VALUE(b))) + (16 * VALUE(b + 2)))))"},
    {38, 7, "((24 * (DDX(i) * h)) + ((2 * VALUE(i + 2)) - (((2 * VALUE(i - 2)) - (16 * VALUE(i - 1))) + (16 * VALUE(i + 1)))))"},
    {39, 7, "((24 * (DDX(b + n) * h)) - (((((6 * VALUE(b + n - 4)) - (32 * VALUE(b + n - 3))) + (72 * VALUE(b + n - 2))) - (96 * VALUE(b + n - 1))) + (50 * VALUE(b + n))))"},
    {40, 7, "((24 * (DDX(b + n - 1) * h)) - (((((-2 * VALUE(b + n - 4)) + (12 * VALUE(b + n - 3))) - (36 * VALUE(b + n - 2))) + (20 * VALUE(b + n - 1))) + (6 * VALUE(b + n))))"},
    {41, 7, "((DDX(b + n) * (h(s+1) + h)) + (VALUE(b + n - 1) - VALUE(b + n + 1)))"},
    {42, 7, "((2 * (DDX(b + n - 1) * h)) + (VALUE(b + n - 2) - VALUE(b + n)))"},
    {43, 7, "((24 * (DDX(i) * h)) + ((2 * VALUE(i + 2)) - (((2 * VALUE(i - 2)) - (16 * VALUE(i - 1))) + (16 * VALUE(i + 1)))))"},
    {44, 7, "((12 * (D2DX2(b + 1) * sq(h))) + (VALUE(b + 4) - ((((11 * VALUE(b)) - (20 * VALUE(b + 1))) + (6 * VALUE(b + 2))) + (4 * VALUE(b + 3)))))"},
    {45, 7, "((12 * (D2DX2(i) * sq(h))) + (VALUE(i + 2) - ((((16 * VALUE(i - 1)) - VALUE(i - 2)) - (30 * VALUE(i))) + (16 * VALUE(i + 1)))))"},
    {46, 7, "((12 * (D2DX2(b + n - 1) * sq(h))) - (((((4 * VALUE(b + n - 3)) - VALUE(b + n - 4)) + (6 * VALUE(b + n - 2))) - (20 * VALUE(b + n - 1))) + (11 * VALUE(b + n))))"},
    {47, 7, "(IDX(k + 1) - (0.001388888888888889 * (h * (((((251 * VALUE(k)) + (646 * VALUE(k + 1))) - (264 * VALUE(k + 2))) + (106 * VALUE(k + 3))) - (19 * VALUE(k + 4))))))"},
    {48, 7, "(IDX(k + 2) - (0.001388888888888889 * (h * (((((-19 * VALUE(k)) + (346 * VALUE(k + 1))) + (456 * VALUE(k + 2))) - (74 * VALUE(k + 3))) + (11 * VALUE(k + 4))))))"},
    {49, 7, "(IDX(k + 3) - (0.001388888888888889 * (h * (((((11 * VALUE(k)) - (74 * VALUE(k + 1))) + (456 * VALUE(k + 2))) + (346 * VALUE(k + 3))) - (19 * VALUE(k + 4))))))"},
    {50, 7, "(IDX(k + 4) - (0.001388888888888889 * (h * (((((-19 * VALUE(k)) + (106 * VALUE(k + 1))) - (264 * VALUE(k + 2))) + (646 * VALUE(k + 3))) + (251 * VALUE(k + 4))))))"},
    // UBFD4
    {51, 8, "((24 * (DDX(b) * h)) + ((6 * VALUE(b + 4)) - ((((-50 * VALUE(b)) + (96 * VALUE(b + 1))) - (72 * VALUE(b + 2))) + (32 * VALUE(b + 3)))))"},
    {52, 8, "((24 * (DDX(b + 1) * h)) - (((((-6 * VALUE(b)) - (20 * VALUE(b + 1))) + (36 * VALUE(b + 2))) - (12 * VALUE(b + 3))) + (2 * VALUE(b + 4))))"},
    {53, 8, "((24 * (DDX(b + 2) * h)) + ((2 * VALUE(b + 4)) - (((2 * VALUE(b)) - (16 * VALUE(b + 1))) + (16 * VALUE(b + 3)))))"},
    {54, 8, "((24 * (DDX(i) * h)) - (((((-2 * VALUE(i - 3)) + (12 * VALUE(i - 2))) - (36 * VALUE(i - 1))) + (20 * VALUE(i))) + (6 * VALUE(i + 1))))"},
    {55, 8, "((24 * (DDX(b + n) * h)) - (((((6 * VALUE(b + n - 4)) - (32 * VALUE(b + n - 3))) + (72 * VALUE(b + n - 2))) - (96 * VALUE(b + n - 1))) + (50 * VALUE(b + n))))"},
    {56, 8, "((12 * (D2DX2(b + 1) * sq(h))) + (VALUE(b + 4) - ((((11 * VALUE(b)) - (20 * VALUE(b + 1))) + (6 * VALUE(b + 2))) + (4 * VALUE(b + 3)))))"},
    {57, 8, "((12 * (D2DX2(b + 2) * sq(h))) + (VALUE(b + 4) - ((((16 * VALUE(b + 1)) - VALUE(b)) - (30 * VALUE(b + 2))) + (16 * VALUE(b + 3)))))"},
    {58, 8, "((12 * (D2DX2(i) * sq(h))) - (((((4 * VALUE(i - 2)) - VALUE(i - 3)) + (6 * VALUE(i - 1))) - (20 * VALUE(i))) + (11 * VALUE(i + 1))))"},
    {59, 8, "((24 * (DDX(b) * h)) + ((6 * VALUE(b + 4)) - ((((-50 * VALUE(b)) + (96 * VALUE(b + 1))) - (72 * VALUE(b + 2))) + (32 * VALUE(b + 3)))))"},
    {60, 8, "(IDX(k + 1) - (0.001388888888888889 * (h * (((((251 * VALUE(k)) + (646 * VALUE(k + 1))) - (264 * VALUE(k + 2))) + (106 * VALUE(k + 3))) - (19 * VALUE(k + 4))))))"},
    {61, 8, "(IDX(k + 2) - (0.001388888888888889 * (h * (((((-19 * VALUE(k)) + (346 * VALUE(k + 1))) + (456 * VALUE(k + 2))) - (74 * VALUE(k + 3))) + (11 * VALUE(k + 4))))))"},
    {62, 8, "(IDX(k + 3) - (0.001388888888888889 * (h * (((((11 * VALUE(k)) - (74 * VALUE(k + 1))) + (456 * VALUE(k + 2))) + (346 * VALUE(k + 3))) - (19 * VALUE(k + 4))))))"},
    {63, 8, "(IDX(k + 4) - (0.001388888888888889 * (h * (((((-19 * VALUE(k)) + (106 * VALUE(k + 1))) - (264 * VALUE(k + 2))) + (646 * VALUE(k + 3))) + (251 * VALUE(k + 4))))))"},
    // OCFE2
    {64, 9, "((DDX(b) * h) + (VALUE(b + 2) - ((-3.0 * VALUE(b)) + (4.0 * VALUE(b + 1)))))"},
    {65, 9, "((DDX(b + n) * h) - (((3.0 * VALUE(b + n)) - (4.0 * VALUE(b + n - 1))) + VALUE(b + n - 2)))"},
    {66, 9, "((DDX(k + 1) * h) + (VALUE(k) - VALUE(k + 2)))"},
    {67, 9, "((DDX(k + 2) * h) - ((VALUE(k) - (4.0 * VALUE(k + 1))) + (3.0 * VALUE(k + 2))))"},
    {68, 9, "((DDX(k) * h) + ((3.0 * VALUE(k)) + (VALUE(k + 2) - (4.0 * VALUE(k + 1)))))"},
    {69, 9, "((DDX(k) * h) + (VALUE(k + 2) - ((-3.0 * VALUE(k)) + (4.0 * VALUE(k + 1)))))"},
    {70, 9, "((DDX(k + 2) * h) - (((3.0 * VALUE(k + 2)) - (4.0 * VALUE(k + 1))) + VALUE(k)))"},
    {71, 9, "((D2DX2(k + 1) * sq(h)) - (((4.0 * VALUE(k)) - (8.0 * VALUE(k + 1))) + (4.0 * VALUE(k + 2))))"},
    {72, 9, "(IDX(k + 1) - (h * (((0.20833 * VALUE(k)) + (0.33333 * VALUE(k + 1))) - (0.04166 * VALUE(k + 2)))))"},
    {73, 9, "(IDX(k + 2) - (h * (((-0.04166 * VALUE(k)) + (0.33333 * VALUE(k + 1))) + (0.20833 * VALUE(k + 2)))))"},
    // OCFE3
    {74, 10, "((DDX(b) * h) - ((((-7.0 * VALUE(b)) + (8.19615 * VALUE(b + 1))) - (2.19615 * VALUE(b + 2))) + VALUE(b + 3)))"},
    {75, 10, "((DDX(b + n) * h) + (VALUE(b + n - 3) - (((7.0 * VALUE(b + n)) - (8.19615 * VALUE(b + n - 1))) + (2.19615 * VALUE(b + n - 2)))))"},
    {76, 10, "((DDX(k + 1) * h) + ((0.73205 * VALUE(k + 3)) - (((-2.73205 * VALUE(k)) + (1.73205 * VALUE(k + 1))) + (1.73205 * VALUE(k + 2)))))"},
    {77, 10, "((DDX(k + 2) * h) - ((((0.73205 * VALUE(k)) - (1.73205 * VALUE(k + 1))) - (1.73205 * VALUE(k + 2))) + (2.73205 * VALUE(k + 3))))"},
    {78, 10, "((DDX(k + 3) * h) - ((((2.19615 * VALUE(k + 1)) - VALUE(k)) - (8.19615 * VALUE(k + 2))) + (7.0 * VALUE(k + 3))))"},
    {79, 10, "((DDX(k) * h) + ((7.0 * VALUE(k)) - ((VALUE(k + 3) - (2.19615 * VALUE(k + 2))) + (8.19615 * VALUE(k + 1)))))"},
    {80, 10, "((DDX(k) * h) - ((((-7.0 * VALUE(k)) + (8.19615 * VALUE(k + 1))) - (2.19615 * VALUE(k + 2))) + VALUE(k + 3)))"},
    {81, 10, "((DDX(k + 3) * h) + (VALUE(k) - (((7.0 * VALUE(k + 3)) - (8.19615 * VALUE(k + 2))) + (2.19615 * VALUE(k + 1)))))"},
    {82, 10, "((D2DX2(k + 1) * sq(h)) + ((4.3923 * VALUE(k + 3)) - (((16.3923 * VALUE(k)) - (24.0 * VALUE(k + 1))) + (12.0 * VALUE(k + 2)))))"},
    {83, 10, "((D2DX2(k + 2) * sq(h)) - ((((-4.3923 * VALUE(k)) + (12.0 * VALUE(k + 1))) - (24.0 * VALUE(k + 2))) + (16.3923 * VALUE(k + 3))))"},
    {84, 10, "(IDX(k + 1) - (h * ((((0.08978 * VALUE(k)) + (0.12972 * VALUE(k + 1))) - (0.01462 * VALUE(k + 2))) + (0.00645 * VALUE(k + 3)))))"},
    {85, 10, "(IDX(k + 2) - (h * ((((-0.09623 * VALUE(k)) + (0.3849 * VALUE(k + 1))) + (0.3849 * VALUE(k + 2))) - (0.09623 * VALUE(k + 3)))))"},
    {86, 10, "(IDX(k + 3) - (h * ((((0.00645 * VALUE(k)) - (0.01462 * VALUE(k + 1))) + (0.12972 * VALUE(k + 2))) + (0.08978 * VALUE(k + 3)))))"},
    // OCFE4
    {87, 11, "((DDX(b) * h) + (VALUE(b + 4) - ((((-13.0 * VALUE(b)) + (14.78831 * VALUE(b + 1))) - (2.66667 * VALUE(b + 2))) + (1.87836 * VALUE(b + 3)))))"},
    {88, 11, "((DDX(b + n) * h) - ((((VALUE(b + n - 4) - (1.87836 * VALUE(b + n - 3))) + (2.66667 * VALUE(b + n - 2))) - (14.78831 * VALUE(b + n - 1))) + (13.0 * VALUE(b + n))))"},
    {89, 11, "((DDX(k + 1) * h) - (((((-5.32379 * VALUE(k)) + (3.87298 * VALUE(k + 1))) + (2.06559 * VALUE(k + 2))) - (1.29099 * VALUE(k + 3))) + (0.67621 * VALUE(k + 4))))"},
    {90, 11, "((DDX(k + 2) * h) + ((1.5 * VALUE(k + 4)) - (((1.5 * VALUE(k)) - (3.22749 * VALUE(k + 1))) + (3.22749 * VALUE(k + 3)))))"},
    {91, 11, "((DDX(k + 3) * h) - (((((-0.67621 * VALUE(k)) + (1.29099 * VALUE(k + 1))) - (2.06559 * VALUE(k + 2))) - (3.87298 * VALUE(k + 3))) + (5.32379 * VALUE(k + 4))))"},
    {92, 11, "((DDX(k + 4) * h) - ((((VALUE(k) - (1.87836 * VALUE(k + 1))) + (2.66667 * VALUE(k + 2))) - (14.78831 * VALUE(k + 3))) + (13.0 * VALUE(k + 4))))"},
    {93, 11, "((DDX(k) * h) + ((13.0 * VALUE(k)) - ((((1.87836 * VALUE(k + 3)) - VALUE(k + 4)) - (2.66667 * VALUE(k + 2))) + (14.78831 * VALUE(k + 1)))))"},
    {94, 11, "((DDX(k) * h) + (VALUE(k + 4) - ((((-13.0 * VALUE(k)) + (14.78831 * VALUE(k + 1))) - (2.66667 * VALUE(k + 2))) + (1.87836 * VALUE(k + 3)))))"},
    {95, 11, "((DDX(k + 4) * h) - (((((13.0 * VALUE(k + 4)) - (14.78831 * VALUE(k + 3))) + (2.66667 * VALUE(k + 2))) - (1.87836 * VALUE(k + 1))) + VALUE(k)))"},
    {96, 11, "((D2DX2(k + 1) * sq(h)) - (((((53.2379 * VALUE(k)) - (73.33333 * VALUE(k + 1))) + (26.66666 * VALUE(k + 2))) - (13.33333 * VALUE(k + 3))) + (6.7621 * VALUE(k + 4))))"},
    {97, 11, "((D2DX2(k + 2) * sq(h)) + ((6.0 * VALUE(k + 4)) - ((((-6.0 * VALUE(k)) + (16.66667 * VALUE(k + 1))) - (21.33334 * VALUE(k + 2))) + (16.66667 * VALUE(k + 3)))))"},
    {98, 11, "((D2DX2(k + 3) * sq(h)) - (((((6.7621 * VALUE(k)) - (13.33333 * VALUE(k + 1))) + (26.66666 * VALUE(k + 2))) - (73.33333 * VALUE(k + 3))) + (53.2379 * VALUE(k + 4))))"},
    {99, 11, "(IDX(k + 1) - (h * (((((0.04824 * VALUE(k)) + (0.06788 * VALUE(k + 1))) - (0.00499 * VALUE(k + 2))) + (0.00333 * VALUE(k + 3))) - (0.00176 * VALUE(k + 4)))))"},
    {100, 11, "(IDX(k + 2) - (h * (((((-0.07949 * VALUE(k)) + (0.27272 * VALUE(k + 1))) + (0.22722 * VALUE(k + 2))) - (0.06616 * VALUE(k + 3))) + (0.03301 * VALUE(k + 4)))))"},
    {101, 11, "(IDX(k + 3) - (h * (((((0.03301 * VALUE(k)) - (0.06616 * VALUE(k + 1))) + (0.22722 * VALUE(k + 2))) + (0.27272 * VALUE(k + 3))) - (0.07949 * VALUE(k + 4)))))"},
    {102, 11, "(IDX(k + 4) - (h * (((((-0.00176 * VALUE(k)) + (0.00333 * VALUE(k + 1))) - (0.00499 * VALUE(k + 2))) + (0.06788 * VALUE(k + 3))) + (0.04824 * VALUE(k + 4)))))"},
}};
// clang-format on

constexpr std::size_t kTemplateCount = eqn::CountTemplates(kTexts, kVocabulary);
constexpr auto kTable = eqn::BuildTable<kTemplateCount>(kTexts, kVocabulary);

} // namespace

eqn::StatementView Statements() {
    return kTable.View();
}

std::span<const eqn::StatementText> StatementTexts() {
    return kTexts;
}

} // namespace pellorin::dist1d
