// The layouts a domain's assignments compute: the worked examples, invariants over every
// method, and the tags every value carries.
#include <algorithm>
#include <cmath>
#include <limits>
#include <tuple>

#include "domain/domain_fixture.h"
#include "types/domain/parameters.h"
#include "types/domain/rounding.h"

namespace {

using testsupport::DomainLayout;
using testsupport::DomainTest;
using testsupport::Range;

// A layout of one run of the assignments, every section alike. Positions are listed, or
// uniform when none are; -1 marks what the example does not fix.
struct WorkedExample {
    const char* method;
    int sections, hod;
    int minNodeCount, nodeCount, numElements;
    double elementLength;
    int endNode;
    std::vector<double> positions;
    std::vector<int> interior;
    std::vector<double> polyPoints;
    friend void PrintTo(const WorkedExample& w, std::ostream* out) {
        *out << w.method << ' ' << w.sections << " sections, hod " << w.hod;
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
    Configure(d, w.method, w.sections, w.hod);
    Run(d);
    const DomainLayout L = Read(d);
    if (w.minNodeCount >= 0) {
        EXPECT_EQ(L.minNodeCount, w.minNodeCount);
    }
    EXPECT_EQ(L.polyPoints, w.polyPoints);
    ASSERT_EQ(L.sections.size(), std::size_t(w.sections));
    for (const testsupport::SectionLayout& S : L.sections) {
        EXPECT_EQ(S.nodeCount, w.nodeCount);
        EXPECT_EQ(S.numElements, w.numElements);
        EXPECT_NEAR(S.elementLength, w.elementLength, 1e-15);
    }
    ASSERT_EQ(L.endNode, w.endNode);
    for (int k = 0; k <= w.endNode; ++k) {
        const double expected = w.positions.empty() ? double(k) / w.endNode : w.positions[k];
        EXPECT_NEAR(L.positions[k], expected, w.positions.empty() ? 1e-15 : 1e-6) << k;
    }
    EXPECT_EQ(L.interior, w.interior);
}

INSTANTIATE_TEST_SUITE_P(
    Domains, WorkedExamples,
    ::testing::Values(
        WorkedExample{"BFD1", 1, 0, 2, 8, 8, 0.125, 8, {}, Range(1, 7), {}},
        WorkedExample{"OCFE3", 1, 1, 3, 9, 3, 1 / 3.0, 9, kOcfe3Positions, Range(1, 8),
                      kOcfe3Points},
        WorkedExample{
            "OCFE3", 1, 2, 3, 9, 3, 1 / 3.0, 9, kOcfe3Positions, {1, 2, 4, 5, 7, 8}, kOcfe3Points},
        WorkedExample{"CFD4", 1, 0, 4, 8, 2, 0.125, 8, {}, Range(1, 7), {0.25, 0.5, 0.75}},
        WorkedExample{"OCFE4", 1, 0, -1, 8, 2, 0.5, 8, kOcfe4Positions, Range(1, 7), kOcfe4Points},
        WorkedExample{"CFD2", 2, 1, -1, 8, 4, 0.0625, 16, {}, Range(1, 15), {0.5}},
        WorkedExample{
            "CFD2", 2, 2, -1, 8, 4, 0.0625, 16, {}, WithoutNode(Range(1, 15), 8), {0.5}}));

struct Configuration {
    std::string method;
    int sections;
    int hod;
    double length;
    friend void PrintTo(const Configuration& c, std::ostream* out) {
        *out << c.method << ' ' << c.sections << " sections, hod " << c.hod << ", length "
             << c.length;
    }
};

class DomainInvariants : public DomainTest, public ::testing::WithParamInterface<Configuration> {};

TEST_P(DomainInvariants, LayoutIsConsistent) {
    const Configuration& c = GetParam();
    QV_DOMAIN d;
    Configure(d, c.method, c.sections, c.hod, c.length);
    Run(d);
    const DomainLayout L = Read(d);
    const bool collocation = c.method.rfind("OCFE", 0) == 0;
    const int stride = L.numPolyPoints + 1;

    int expectedBase = 0;
    std::vector<int> domainInterior;
    for (int s = 0; s < c.sections; ++s) {
        SCOPED_TRACE(s + 1);
        const testsupport::SectionLayout& S = L.sections[s];
        EXPECT_EQ(S.base, expectedBase);
        EXPECT_GE(S.nodeCount, L.minNodeCount);
        EXPECT_EQ(S.nodeCount % stride, 0);
        EXPECT_EQ(S.numElements * stride, S.nodeCount);
        EXPECT_NEAR(S.location, c.length * s / c.sections, 1e-12);
        EXPECT_NEAR(S.spacingUsed * S.nodeCount, S.length, 1e-12);
        EXPECT_DOUBLE_EQ(S.elementLength, collocation ? stride * S.spacingUsed : S.spacingUsed);

        std::vector<int> interior;
        for (int k = S.base + 1; k < S.base + S.nodeCount; ++k) {
            const bool elementBoundary = (k - S.base) % stride == 0;
            if (c.hod < 2 || !collocation || !elementBoundary) {
                interior.push_back(k);
            }
        }
        EXPECT_EQ(S.interior, interior);
        domainInterior.insert(domainInterior.end(), interior.begin(), interior.end());
        expectedBase += S.nodeCount;
    }
    EXPECT_EQ(L.endNode, expectedBase);
    EXPECT_EQ(testsupport::Members(d.QV_VALUE_SET1.v()), Range(0, L.endNode));
    EXPECT_EQ(testsupport::Members(d.QV_POLYPOINT_SET1.v()), Range(1, L.numPolyPoints));
    EXPECT_EQ(L.interior, c.hod < 2 ? Range(1, L.endNode - 1) : domainInterior);
    EXPECT_DOUBLE_EQ(L.positions.front(), 0.0);
    EXPECT_NEAR(L.positions.back(), c.length, 1e-12);
    for (int k = 1; k <= L.endNode; ++k) {
        EXPECT_LT(L.positions[k - 1], L.positions[k]) << k;
    }
}

std::vector<Configuration> AllConfigurations() {
    std::vector<Configuration> configurations;
    for (const char* method :
         {"BFD1", "BFD2", "CFD2", "CFD4", "FFD1", "FFD2", "OCFE2", "OCFE3", "OCFE4", "UBFD4"}) {
        for (int sections = 1; sections <= 4; ++sections) {
            for (int hod : {1, 2}) {
                for (double length : {1.0, 2.5, 0.3}) {
                    configurations.push_back({method, sections, hod, length});
                }
            }
        }
    }
    return configurations;
}

INSTANTIATE_TEST_SUITE_P(EveryMethod, DomainInvariants, ::testing::ValuesIn(AllConfigurations()));

TEST_F(DomainTest, EveryValueCarriesItsStatementNumberAndTheLevelsArguments) {
    QV_DOMAIN domain;
    Configure(domain, "OCFE3", 1);
    Run(domain, 5, 7);
    EXPECT_EQ(domain.ENDNODE.LastAssignment().tag(), (QV_ValueTag{7, 5, 43}));
    EXPECT_EQ(domain.MINNODECOUNT.LastAssignment().tag(), (QV_ValueTag{7, 5, 7}));
    EXPECT_EQ(domain.NUMPOLYPOINTS.LastAssignment().tag(), (QV_ValueTag{7, 5, 13}));
    EXPECT_EQ(domain.POLYPOINT.Get(2)->LastAssignment().tag(), (QV_ValueTag{7, 5, 15}));
    EXPECT_EQ(domain.SECTION.get()->Get(1)->NODECOUNT.LastAssignment().tag(),
              (QV_ValueTag{7, 5, 31}));
    EXPECT_EQ(domain.VALUE.get()->Get(9)->LastAssignment().tag(), (QV_ValueTag{7, 5, 48}));
    EXPECT_EQ(domain.QV_VALUE_SET1.LastAssignment().tag(), (QV_ValueTag{7, 5, 2}));
    EXPECT_EQ(EventsOf(vzt::EventKind::ContainerExecuteAssignments).back().a, 4);

    QV_LENGTHDOMAIN length;
    Configure(length, "BFD1", 1);
    vzt::ClearJournal();
    Run(length, 5, 7);
    EXPECT_EQ(length.ENDNODE.LastAssignment().tag(), (QV_ValueTag{7, 4, 43}));
    EXPECT_EQ(length.NUMPOLYPOINTS.LastAssignment().tag(), (QV_ValueTag{7, 4, 49}));
    EXPECT_EQ(EventsOf(vzt::EventKind::ContainerExecuteAssignments).back().a, 3);
}

TEST_F(DomainTest, DifferenceMethodsPlaceNodesByTheirOwnStatementsWhateverTheInteriorPoints) {
    QV_DOMAIN d;
    Configure(d, "CFD2", 1);
    d.NUMPOLYPOINTS.Specify(QV_Value(0, 0u));
    Run(d);
    for (int k = 1; k <= d.ENDNODE.v(); ++k) {
        EXPECT_EQ(d.VALUE.get()->Get(k)->LastAssignment().tag().n, 46) << k;
        EXPECT_DOUBLE_EQ(d.VALUE.get()->Get(k)->v(), 0.125 * k) << k;
    }
    EXPECT_EQ(d.SECTION.get()->Get(1)->ELEMENTLENGTH.LastAssignment().tag().n, 36);
}

TEST_F(DomainTest, ChangingFromCollocationToBfd1GivesTheLayoutOfAFreshDomain) {
    QV_DOMAIN changed;
    Configure(changed, "OCFE3", 1);
    Run(changed);
    Configure(changed, "BFD1", 1);
    Run(changed);
    QV_DOMAIN fresh;
    Configure(fresh, "BFD1", 1);
    Run(fresh);
    EXPECT_EQ(Read(changed), Read(fresh));
    EXPECT_TRUE(changed.QV_POLYPOINT_SET1.v().IsEmpty());
}

TEST_F(DomainTest, UnknownMethodAssignsNoMethodConstants) {
    QV_DOMAIN d;
    d.DISCRETIZATIONMETHOD.Specify(QV_Value("SPLINE", 0u)); // past the host's own check
    Run(d);
    EXPECT_TRUE(d.MINNODECOUNT.LastAssignment().IsEmpty());
    EXPECT_TRUE(d.NUMPOLYPOINTS.LastAssignment().IsEmpty());
}

TEST(DomainRounding, RoundsAndTruncatesToIntOrGivesTheSmallestInteger) {
    const double inf = std::numeric_limits<double>::infinity();
    for (auto [x, rounded, truncated] : {std::tuple{2.5, 3, 2},
                                         {-2.5, -3, -2},
                                         {2.4999, 2, 2},
                                         {2.99, 3, 2},
                                         {2147483647.4, 2147483647, 2147483647},
                                         {2147483647.5, INT_MIN, 2147483647},
                                         {2147483648.0, INT_MIN, INT_MIN},
                                         {-2147483648.9, INT_MIN, INT_MIN},
                                         {-2147483649.0, INT_MIN, INT_MIN},
                                         {std::nan(""), INT_MIN, INT_MIN},
                                         {inf, INT_MIN, INT_MIN},
                                         {-inf, INT_MIN, INT_MIN},
                                         {1e300, INT_MIN, INT_MIN}}) {
        EXPECT_EQ(pellorin::RoundToInt(x), rounded) << x;
        EXPECT_EQ(pellorin::TruncateToInt(x), truncated) << x;
    }
    EXPECT_EQ(pellorin::ClampToInt(1LL << 40), INT_MIN);
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
        EXPECT_STREQ(c.parameter.QV_DefaultPHYSICALQUANTITY()->AsText(), c.quantity);
        EXPECT_STREQ(c.parameter.QV_DefaultBASEUOMNAME()->AsText(), c.unit) << c.quantity;
        EXPECT_EQ(c.parameter.QV_PQRow(), c.row) << c.quantity;
        EXPECT_EQ(c.parameter.QV_PQCol(), 1) << c.quantity;
    }
}

} // namespace
