#include "types/distribution1d/outline.h"

#include "types/distribution1d/statements.h"

namespace pellorin::dist1d {

namespace {

using namespace eqn;

constexpr Guard kFirst = When(kFirstSection);
constexpr Guard kNotFirst = Unless(kFirstSection);
constexpr Guard kLast = When(kLastSection);
constexpr Guard kNotLast = Unless(kLastSection);

// Finite-difference blocks: each part loops over the sections on its own, so all first-
// derivative instances come before all second-derivative ones, and those before the integrals.
template <std::size_t First, std::size_t Second, std::size_t Elements>
struct FdBlock {
    std::array<Item, First> first;
    std::array<Item, Second> second;
    std::array<Item, Elements> perElement; // the integral part; empty when it runs over nodes
};

constexpr Item kTrapezoidBfd1 = Over(6, "b : b + n - 1");
constexpr Item kTrapezoidFfd1 = Over(18, "b : b + n - 1");

constexpr FdBlock<2, 2, 0> kBfd1{{At(2, kFirst), Over(3, "b + 1 : b + n")},
                                 {Over(4, "b + 1 : b + n - 1"), At(5, kNotFirst)},
                                 {}};
constexpr FdBlock<3, 2, 2> kBfd2{{At(7, kFirst), At(8), Over(9, "b + 2 : b + n")},
                                 {Over(10, "b + 1 : b + n - 1"), At(11, kNotFirst)},
                                 {At(12), At(13)}};
constexpr FdBlock<2, 2, 0> kFfd1{{Over(14, "b : b + n - 1"), At(15, kLast)},
                                 {Over(16, "b + 1 : b + n - 1"), At(17, kNotLast)},
                                 {}};
constexpr FdBlock<3, 2, 2> kFfd2{{Over(19, "b : b + n - 2"), At(20), At(21, kLast)},
                                 {Over(22, "b + 1 : b + n - 1"), At(23, kNotLast)},
                                 {At(24), At(25)}};
constexpr FdBlock<4, 2, 2> kCfd2{{At(26, kFirst), Over(27, "b + 1 : b + n - 1"),
                                  At(28, EitherOf(kLastSection | kUsedAbove1)),
                                  At(29, Unless(kLastSection | kUsedAbove1))},
                                 {Over(30, "b + 1 : b + n - 1"), At(31, kNotFirst)},
                                 {At(32), At(33)}};

// CFD4 compares the spacings of neighbouring sections where USED <= 1: equal spacings take
// the five-point stencil across the join, unequal ones three-point stencils.
constexpr Guard kCfd4Start = EitherOf(kFirstSection | kUsedAbove1);
constexpr Guard kCfd4JoinBefore = Unless(kFirstSection | kUsedAbove1);
constexpr Guard kCfd4End = EitherOf(kLastSection | kUsedAbove1);
constexpr Guard kCfd4JoinAfter = Unless(kLastSection | kUsedAbove1);
constexpr FdBlock<10, 3, 4> kCfd4{
    {At(34, kCfd4Start), At(35, kCfd4Start), At(36, kCfd4JoinBefore& Unless(kPrevSpacingEqual)),
     At(37, kCfd4JoinBefore& When(kPrevSpacingEqual)), Over(38, "b + 2 : b + n - 2"),
     At(39, kCfd4End), At(40, kCfd4End), At(41, kCfd4JoinAfter& Unless(kNextSpacingEqual)),
     At(42, kCfd4JoinAfter& Unless(kNextSpacingEqual)),
     Over(43, "b + n - 1 : b + n", kCfd4JoinAfter& When(kNextSpacingEqual))},
    {At(44), Over(45, "b + 2 : b + n - 2"), At(46)},
    {At(47), At(48), At(49), At(50)}};
constexpr FdBlock<5, 4, 4> kUbfd4{
    {At(51, kFirst), At(52), At(53), Over(54, "b + 3 : b + n - 1"), At(55)},
    {At(56), At(57), Over(58, "b + 3 : b + n - 1"), At(59, kNotFirst)},
    {At(60), At(61), At(62), At(63)}};

template <std::size_t First, std::size_t Second, std::size_t Elements>
constexpr std::array<Part, 3> FdParts(const FdBlock<First, Second, Elements>& block,
                                      std::span<const Item> integralPerSection) {
    return {{{When(kUsedAbove0), block.first, {}},
             {When(kUsedAbove1), block.second, {}},
             {When(kIntegrals), integralPerSection, block.perElement}}};
}

// Collocation blocks: one loop over the sections runs all three parts, each over the
// section's elements. The domain's end nodes get their derivative from their only element;
// every other element boundary from the element that the boundary condition names, and,
// when the declared order is 2, a continuity statement from the other element (except at
// the domain's first node under "Backward" and its last node under "Forward").
template <std::size_t Collocation, std::size_t Second, std::size_t Integral>
struct OcfeBlock {
    std::array<Item, 2> ends;                   // domain start, domain end
    std::array<Item, Collocation + 2> elements; // collocation points, element boundary
    std::array<Item, Second> second;            // continuity, second derivatives
    std::array<Item, Integral> integral;
};

consteval std::array<Item, 2> OcfeEnds(int start) {
    return {At(start, When(kFirstSection | kBackward)),
            At(start + 1, When(kLastSection | kForward))};
}
constexpr Guard kContinuityBackward = When(kDeclaredOrder2 | kBackward) & Unless(kAtFirstNode);
constexpr Guard kContinuityForward = When(kDeclaredOrder2 | kForward) & Unless(kAtLastNode);

constexpr OcfeBlock<1, 3, 2> kOcfe2{
    OcfeEnds(64),
    {At(66), At(67, When(kBackward)), At(68, Unless(kBackward))},
    {At(69, kContinuityBackward), At(70, kContinuityForward), At(71)},
    {At(72), At(73)}};
constexpr OcfeBlock<2, 4, 3> kOcfe3{
    OcfeEnds(74),
    {At(76), At(77), At(78, When(kBackward)), At(79, Unless(kBackward))},
    {At(80, kContinuityBackward), At(81, kContinuityForward), At(82), At(83)},
    {At(84), At(85), At(86)}};
constexpr OcfeBlock<3, 5, 4> kOcfe4{
    OcfeEnds(87),
    {At(89), At(90), At(91), At(92, When(kBackward)), At(93, Unless(kBackward))},
    {At(94, kContinuityBackward), At(95, kContinuityForward), At(96), At(97), At(98)},
    {At(99), At(100), At(101), At(102)}};

template <std::size_t Collocation, std::size_t Second, std::size_t Integral>
constexpr std::array<Part, 3> OcfeParts(const OcfeBlock<Collocation, Second, Integral>& block) {
    return {{{When(kUsedAbove0), block.ends, block.elements},
             {When(kUsedAbove1), {}, block.second},
             {When(kIntegrals), {}, block.integral}}};
}

constexpr auto kBfd1Parts = FdParts(kBfd1, std::span(&kTrapezoidBfd1, 1));
constexpr auto kBfd2Parts = FdParts(kBfd2, {});
constexpr auto kFfd1Parts = FdParts(kFfd1, std::span(&kTrapezoidFfd1, 1));
constexpr auto kFfd2Parts = FdParts(kFfd2, {});
constexpr auto kCfd2Parts = FdParts(kCfd2, {});
constexpr auto kCfd4Parts = FdParts(kCfd4, {});
constexpr auto kUbfd4Parts = FdParts(kUbfd4, {});
constexpr auto kOcfe2Parts = OcfeParts(kOcfe2);
constexpr auto kOcfe3Parts = OcfeParts(kOcfe3);
constexpr auto kOcfe4Parts = OcfeParts(kOcfe4);

constexpr std::array<Block, 10> kBlocks = {{
    {"BFD1", Order::PartsOutside, kBfd1Parts},
    {"BFD2", Order::PartsOutside, kBfd2Parts},
    {"FFD1", Order::PartsOutside, kFfd1Parts},
    {"FFD2", Order::PartsOutside, kFfd2Parts},
    {"CFD2", Order::PartsOutside, kCfd2Parts},
    {"CFD4", Order::PartsOutside, kCfd4Parts},
    {"UBFD4", Order::PartsOutside, kUbfd4Parts},
    {"OCFE2", Order::SectionsOutside, kOcfe2Parts},
    {"OCFE3", Order::SectionsOutside, kOcfe3Parts},
    {"OCFE4", Order::SectionsOutside, kOcfe4Parts},
}};

// The start value fixes the integral at node 0.
constexpr Item kStart = At(1, When(kIntegrals));

} // namespace

const eqn::Outline& EquationOutline() {
    static const eqn::Outline outline{Statements(), std::span(&kStart, 1), kBlocks};
    return outline;
}

} // namespace pellorin::dist1d
