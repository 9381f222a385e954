// The layouts a domain's assignments compute: the worked examples and the tags every value
// carries.
#include <algorithm>
#include <cmath>
#include <tuple>

#include "domain/domain_fixture.h"
#include "types/domain/parameters.h"
#include "types/domain/rounding.h"

namespace {

using testsupport::Members;
using testsupport::Range;

class DomainTest : public testsupport::HostTest {
protected:
    // A domain with the user's settings, given as text as a user gives them: the parameter
    // types' valid values and lower bounds apply.
    static void Configure(QV_DOMAIN& d, const std::string& method, int sections, int hod = 0,
                          double length = 1.0) {
        const auto specify = [](QV_Containable& property, const std::string& text) {
            std::string error;
            EXPECT_TRUE(vzt::SpecifyFromText(property, text, error)) << error;
        };
        specify(d.DISCRETIZATIONMETHOD, method);
        specify(d.NUMSECTIONS, std::to_string(sections));
        if (hod > 0) {
            specify(d.HIGHESTORDERDERIVATIVE, std::to_string(hod));
        }
        specify(*pellorin::Linked(d.LENGTH), std::to_string(length));
    }

    static void Run(QV_DOMAIN& d, int a = 1, int b = 0) {
        d.SetDims();
        d.ExecuteAssignments(a, b);
    }
};

// A layout of one run of the assignments, every section alike, after a run with the method
// first named, if any. Positions are listed, or uniform when none are; -1 marks what the
// example does not fix.
struct WorkedExample {
    const char* method;
    int sections, hod;
    double length;
    int minNodeCount, nodeCount, numElements;
    double elementLength;
    int endNode;
    std::vector<double> positions;
    std::vector<int> interior;
    std::vector<double> polyPoints;
    const char* before = nullptr;
    friend void PrintTo(const WorkedExample& w, std::ostream* out) {
        *out << w.method << ' ' << w.sections << " sections, hod " << w.hod << ", length "
             << w.length;
        if (w.before != nullptr) {
            *out << " after " << w.before;
        }
    }
};

const std::vector<double> kOcfe3Positions = {0.0,      0.07044,  0.262893, 0.333333, 0.403773,
                                             0.596227, 0.666667, 0.737107, 0.92956,  1.0};
const std::vector<double> kOcfe4Positions = {0.0,     0.05635, 0.25,    0.44365, 0.5,
                                             0.55635, 0.75,    0.94365, 1.0};
const std::vector<double> kOcfe3Points = {0.21132, 0.78868};
const std::vector<double> kOcfe4Points = {0.1127, 0.5, 0.8873};
std::vector<int> WithoutNode(std::vector<int> nodes, int node) {
    nodes.erase(std::find(nodes.begin(), nodes.end(), node));
    return nodes;
}

class WorkedExamples : public DomainTest, public ::testing::WithParamInterface<WorkedExample> {};

TEST_P(WorkedExamples, OneRunGivesTheLayout) {
    const WorkedExample& w = GetParam();
    QV_DOMAIN d;
    if (w.before != nullptr) {
        Configure(d, w.before, w.sections, w.hod, w.length);
        Run(d);
    }
    Configure(d, w.method, w.sections, w.hod, w.length);
    Run(d);
    if (w.minNodeCount >= 0) {
        EXPECT_EQ(d.MINNODECOUNT.v(), w.minNodeCount);
    }
    ASSERT_EQ(Members(d.QV_POLYPOINT_SET1.v()), Range(1, int(w.polyPoints.size())));
    for (std::size_t p = 0; p < w.polyPoints.size(); ++p) {
        EXPECT_EQ(d.POLYPOINT.Get(int(p) + 1)->v(), w.polyPoints[p]);
    }
    ASSERT_EQ(d.NUMSECTIONS.v(), w.sections);
    for (int s = 1; s <= w.sections; ++s) {
        const QV_SECTIONDATAMODEL& S = *d.SECTION.get()->Get(s);
        EXPECT_EQ(S.NODECOUNT.v(), w.nodeCount) << s;
        EXPECT_EQ(S.NUMELEMENTS.v(), w.numElements) << s;
        EXPECT_NEAR(S.ELEMENTLENGTH.v(), w.elementLength, 1e-15) << s;
    }
    ASSERT_EQ(d.ENDNODE.v(), w.endNode);
    EXPECT_EQ(Members(d.QV_VALUE_SET1.v()), Range(0, w.endNode));
    for (int k = 0; k <= w.endNode; ++k) {
        const double expected = w.positions.empty() ? w.length * k / w.endNode : w.positions[k];
        EXPECT_NEAR(d.VALUE.get()->Get(k)->v(), expected, w.positions.empty() ? 1e-15 : 1e-6) << k;
    }
    EXPECT_EQ(Members(d.INTERIOR.v()), w.interior);
}

INSTANTIATE_TEST_SUITE_P(
    Domains, WorkedExamples,
    ::testing::Values(
        WorkedExample{"BFD1", 1, 0, 1, 2, 8, 8, 0.125, 8, {}, Range(1, 7), {}},
        WorkedExample{"BFD1", 1, 0, 1, 2, 8, 8, 0.125, 8, {}, Range(1, 7), {}, "OCFE3"},
        WorkedExample{"OCFE3", 1, 1, 1, 3, 9, 3, 1 / 3.0, 9, kOcfe3Positions, Range(1, 8),
                      kOcfe3Points},
        WorkedExample{"OCFE3",
                      1,
                      2,
                      1,
                      3,
                      9,
                      3,
                      1 / 3.0,
                      9,
                      kOcfe3Positions,
                      {1, 2, 4, 5, 7, 8},
                      kOcfe3Points},
        WorkedExample{"CFD4", 1, 0, 1, 4, 8, 2, 0.125, 8, {}, Range(1, 7), {0.25, 0.5, 0.75}},
        WorkedExample{"OCFE4", 1, 0, 1, -1, 8, 2, 0.5, 8, kOcfe4Positions, Range(1, 7),
                      kOcfe4Points},
        WorkedExample{"CFD2", 2, 1, 2.5, -1, 8, 4, 0.15625, 16, {}, Range(1, 15), {0.5}},
        WorkedExample{
            "CFD2", 2, 2, 1, -1, 8, 4, 0.0625, 16, {}, WithoutNode(Range(1, 15), 8), {0.5}}));

TEST_F(DomainTest, EveryValueCarriesItsStatementNumberAndTheLevelsArguments) {
    QV_DOMAIN domain;
    Configure(domain, "OCFE3", 1);
    Run(domain, 5, 7);
    EXPECT_EQ(vzt::Tag(vzt::LastAssignment(domain.ENDNODE)), (QV_ValueTag{7, 5, 43}));
    EXPECT_EQ(vzt::Tag(vzt::LastAssignment(domain.MINNODECOUNT)), (QV_ValueTag{7, 5, 7}));
    EXPECT_EQ(vzt::Tag(vzt::LastAssignment(domain.NUMPOLYPOINTS)), (QV_ValueTag{7, 5, 13}));
    EXPECT_EQ(vzt::Tag(vzt::LastAssignment(*domain.POLYPOINT.Get(2))), (QV_ValueTag{7, 5, 15}));
    EXPECT_EQ(vzt::Tag(vzt::LastAssignment(domain.SECTION.get()->Get(1)->NODECOUNT)),
              (QV_ValueTag{7, 5, 31}));
    EXPECT_EQ(vzt::Tag(vzt::LastAssignment(*domain.VALUE.get()->Get(9))), (QV_ValueTag{7, 5, 48}));
    EXPECT_EQ(vzt::Tag(vzt::LastAssignment(domain.QV_VALUE_SET1)), (QV_ValueTag{7, 5, 2}));
    EXPECT_EQ(EventsOf(vzt::EventKind::ContainerExecuteAssignments).back().a, 4);

    QV_LENGTHDOMAIN length;
    Configure(length, "BFD1", 1);
    vzt::ClearJournal();
    Run(length, 5, 7);
    EXPECT_EQ(vzt::Tag(vzt::LastAssignment(length.ENDNODE)), (QV_ValueTag{7, 4, 43}));
    EXPECT_EQ(vzt::Tag(vzt::LastAssignment(length.NUMPOLYPOINTS)), (QV_ValueTag{7, 4, 49}));
    EXPECT_EQ(EventsOf(vzt::EventKind::ContainerExecuteAssignments).back().a, 3);
}

TEST_F(DomainTest, DifferenceMethodsPlaceNodesByTheirOwnStatementsWhateverTheInteriorPoints) {
    QV_DOMAIN d;
    Configure(d, "CFD2", 1);
    vzt::Specify(d.NUMPOLYPOINTS, QV_Value(0, 0u));
    Run(d);
    for (int k = 1; k <= d.ENDNODE.v(); ++k) {
        EXPECT_EQ(vzt::Tag(vzt::LastAssignment(*d.VALUE.get()->Get(k))).n, 46) << k;
        EXPECT_DOUBLE_EQ(d.VALUE.get()->Get(k)->v(), 0.125 * k) << k;
    }
    EXPECT_EQ(vzt::Tag(vzt::LastAssignment(d.SECTION.get()->Get(1)->ELEMENTLENGTH)).n, 36);
}

TEST_F(DomainTest, UnknownMethodAssignsNoMethodConstants) {
    QV_DOMAIN d;
    vzt::Specify(d.DISCRETIZATIONMETHOD, QV_Value("SPLINE", 0u)); // past the host's own check
    Run(d);
    EXPECT_TRUE(vzt::LastAssignment(d.MINNODECOUNT).IsEmpty());
    EXPECT_TRUE(vzt::LastAssignment(d.NUMPOLYPOINTS).IsEmpty());
}

// A user's MINNODECOUNT above the count from the spacing (8 here) is raised to whole elements,
// so the last node lies at the domain's end and every node has an equation to hold it.
TEST_F(DomainTest, MinimumNodeCountIsRaisedToWholeElements) {
    struct Case {
        const char* method;
        int pointsPlusOne, minNodeCount, nodeCount;
    };
    for (const Case& c :
         {Case{"BFD1", 1, 11, 11}, Case{"FFD1", 1, 11, 11}, Case{"BFD2", 2, 11, 12},
          Case{"FFD2", 2, 11, 12}, Case{"CFD2", 2, 11, 12}, Case{"OCFE2", 2, 11, 12},
          Case{"OCFE3", 3, 10, 12}, Case{"OCFE3", 3, 13, 15}, Case{"OCFE4", 4, 9, 12},
          Case{"CFD4", 4, 13, 16}, Case{"UBFD4", 4, 15, 16}, Case{"CFD4", 4, 12, 12}}) {
        QV_DOMAIN d;
        Configure(d, c.method, 2);
        vzt::Specify(d.MINNODECOUNT, QV_Value(c.minNodeCount, 0u));
        Run(d);
        for (int s = 1; s <= 2; ++s) {
            const QV_SECTIONDATAMODEL& S = *d.SECTION.get()->Get(s);
            EXPECT_EQ(S.NODECOUNT.v(), c.nodeCount) << c.method << ' ' << c.minNodeCount;
            EXPECT_EQ(vzt::Tag(vzt::LastAssignment(S.NODECOUNT)).n, 30) << c.method;
            EXPECT_EQ(S.NUMELEMENTS.v() * c.pointsPlusOne, c.nodeCount) << c.method;
        }
        ASSERT_EQ(d.ENDNODE.v(), 2 * c.nodeCount) << c.method;
        EXPECT_NEAR(d.VALUE.get()->Get(d.ENDNODE.v())->v(), 1.0, 1e-12) << c.method;
    }
}

// A count from the spacing past 32 bits cannot be held: it stays past them (statement 31
// gives the smallest integer, as a MINNODECOUNT past them does), rather than falling to the
// minimum. A zero spacing, or a count that is no number, keeps the INT rule.
TEST_F(DomainTest, ASpacingTooFineForThirtyTwoBitsGivesALayoutThatCannotBeHeld) {
    struct Case {
        const char* spacing;
        const char* method;
        int nodeCount, statement;
    };
    for (const Case& c : {Case{"1e-300", "BFD1", INT_MIN, 31}, Case{"4e-10", "OCFE3", INT_MIN, 31},
                          Case{"5e-324", "CFD4", INT_MIN, 31}, Case{"0", "BFD1", 2, 30},
                          Case{"0", "OCFE3", 3, 30}}) {
        QV_DOMAIN d;
        Configure(d, c.method, 1);
        std::string error;
        ASSERT_TRUE(vzt::SpecifyFromText(d.SPACINGPREFERENCE, c.spacing, error)) << error;
        Run(d);
        const QV_SECTIONDATAMODEL& S = *d.SECTION.get()->Get(1);
        EXPECT_EQ(S.NODECOUNT.v(), c.nodeCount) << c.spacing << ' ' << c.method;
        EXPECT_EQ(vzt::Tag(vzt::LastAssignment(S.NODECOUNT)).n, c.statement) << c.spacing;
        if (c.nodeCount == INT_MIN) {
            EXPECT_EQ(d.ENDNODE.v(), INT_MIN) << c.spacing;
        }
    }
    EXPECT_EQ(pellorin::NodeCountOfSpacing(1.0, 4.6566128752e-10), INT_MAX); // the last that fits
    EXPECT_EQ(pellorin::NodeCountOfSpacing(1.0, 4.6566128730e-10), INT_MAX + 1LL);
    EXPECT_EQ(pellorin::NodeCountOfSpacing(-1.0, 1e-300), INT_MIN); // below any minimum
    EXPECT_EQ(pellorin::NodeCountOfSpacing(0.0, 0.0), INT_MIN);
}

// An element or value the host cannot make ends the assignments and fails the step: no later
// section or node is tried, so a domain too large for memory costs one failure, not one for
// every section or node.
TEST_F(DomainTest, AssignmentsStopAtTheFirstElementOrValueTheHostCannotMake) {
    struct Case {
        const char* where;
        int sections, minNodeCount;
        bool fromEnd; // whether the failure is counted from the end of the run
        std::size_t at;
    };
    // Every section and its location are made before any section is laid out; a node's
    // element and then its value come last.
    for (const Case& c :
         {Case{"sections", 1000, 2, false, 500}, Case{"nodes", 1, 1000, true, 500}}) {
        // The status of a run and the allocations it asked for, the k-th of them failing.
        const auto run = [&c](QV_DOMAIN& d, std::size_t k) {
            Configure(d, "BFD1", c.sections);
            vzt::Specify(d.MINNODECOUNT, QV_Value(c.minNodeCount, 0u));
            d.SetDims();
            const std::size_t before = vzt::Allocator().totalAllocations;
            vzt::FailAllocation(k);
            const long status = d.ExecuteAssignments(1, 0);
            return std::pair{status, vzt::Allocator().totalAllocations - before};
        };
        QV_DOMAIN whole;
        const auto [status, allocations] = run(whole, 0);
        ASSERT_GE(status, 0) << c.where;
        ASSERT_GT(allocations, 1000u) << c.where;
        // Both parts of a section or of a node.
        for (const std::size_t step : {0, 1}) {
            const std::size_t k = (c.fromEnd ? allocations - c.at : c.at) + step;
            QV_DOMAIN failing;
            vzt::ClearJournal();
            const std::size_t failed = vzt::Allocator().failedAllocations;
            EXPECT_EQ(run(failing, k), std::pair(long(pellorin::kStepFailed), k)) << c.where;
            EXPECT_EQ(vzt::Allocator().failedAllocations, failed + 1) << c.where;
            const std::size_t elements = CountOf(vzt::EventKind::AddElement);
            EXPECT_EQ(elements < std::size_t(c.sections), !c.fromEnd)
                << c.where << ": " << elements << " elements made";
        }
    }
}

TEST(DomainRounding, RoundsAndTruncatesToIntOrGivesTheSmallestInteger) {
    for (auto [x, rounded, truncated] : {std::tuple{2.5, 3, 2},
                                         {-2.5, -3, -2},
                                         {2.4999, 2, 2},
                                         {2.99, 3, 2},
                                         {2147483647.4, 2147483647, 2147483647},
                                         {2147483647.5, INT_MIN, 2147483647},
                                         {2147483648.0, INT_MIN, INT_MIN},
                                         {-2147483648.9, INT_MIN, INT_MIN},
                                         {-2147483649.0, INT_MIN, INT_MIN},
                                         {std::nan(""), INT_MIN, INT_MIN}}) {
        EXPECT_EQ(pellorin::RoundToInt(x), rounded) << x;
        EXPECT_EQ(pellorin::TruncateToInt(x), truncated) << x;
    }
    EXPECT_EQ(pellorin::ClampToInt(1LL << 40), INT_MIN);
    // A hardware conversion may give INT_MIN by itself; a constant expression shows the bounds.
    static_assert(pellorin::TruncateToInt(2147483648.0) == INT_MIN &&
                  pellorin::TruncateToInt(-2147483649.0) == INT_MIN);
}

// The physical quantities the host reads from the angle and length parameters: nothing else
// of the library shows them, so a slip in one would reach the host's units unnoticed.
TEST(Quantities, AnglesAreInRadiansAndLengthsInMetres) {
    QV_ANGLEPARAMETER angle;
    QV_LENGTHPARAMETER length;
    struct Case {
        const QV_REALPARAMETER& parameter;
        const char *quantity, *unit;
        int row;
    };
    for (const Case& c : {Case{angle, "Angle", "rad", 32}, Case{length, "Length", "m", 17}}) {
        EXPECT_STREQ(vzt::AsText(*c.parameter.QV_DefaultPHYSICALQUANTITY()), c.quantity);
        EXPECT_STREQ(vzt::AsText(*c.parameter.QV_DefaultBASEUOMNAME()), c.unit) << c.quantity;
        EXPECT_EQ(c.parameter.QV_PQRow(), c.row) << c.quantity;
        EXPECT_EQ(c.parameter.QV_PQCol(), 1) << c.quantity;
    }
}

} // namespace
