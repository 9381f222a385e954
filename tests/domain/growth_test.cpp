// The domain's assignments do work in proportion to its nodes, whatever the method, the
// highest derivative and the number of sections: counted as the entries the host's set
// operations copy, which a union that copied the set it grows would make quadratic.
#include <string>

#include "domain/domain_fixture.h"

namespace {

struct Layout {
    const char* method;
    int sections, hod, minNodeCount;
    friend void PrintTo(const Layout& l, std::ostream* out) {
        *out << l.method << ' ' << l.sections << " sections, hod " << l.hod << ", "
             << l.minNodeCount << " nodes a section";
    }
};

class AssignmentGrowth : public testsupport::HostTest,
                         public ::testing::WithParamInterface<Layout> {};

TEST_P(AssignmentGrowth, SetsCopyAFixedMultipleOfTheNodes) {
    const Layout& l = GetParam();
    QV_DOMAIN d;
    for (const auto& [property, text] :
         {std::pair<QV_Containable*, std::string>{&d.DISCRETIZATIONMETHOD, l.method},
          {&d.NUMSECTIONS, std::to_string(l.sections)},
          {&d.HIGHESTORDERDERIVATIVE, std::to_string(l.hod)},
          {&d.MINNODECOUNT, std::to_string(l.minNodeCount)}}) {
        std::string error;
        ASSERT_TRUE(vzt::SpecifyFromText(*property, text, error)) << error;
    }
    const std::size_t before = vzt::SetEntriesCopied();
    d.SetDims();
    d.ExecuteAssignments(1, 0);
    const std::size_t copied = vzt::SetEntriesCopied() - before;
    const auto nodes = std::size_t(d.ENDNODE.v()) + 1;
    ASSERT_GE(nodes, std::size_t(l.sections) * std::size_t(l.minNodeCount));
    EXPECT_LE(copied, 4 * nodes) << copied << " entries copied for " << nodes << " nodes";
}

// 10^5 elements of one, two and three collocation points (a run of their own each), or 10^4
// sections (an interior run each).
INSTANTIATE_TEST_SUITE_P(
    Domains, AssignmentGrowth,
    ::testing::Values(Layout{"OCFE2", 1, 2, 200000}, Layout{"OCFE3", 1, 2, 300000},
                      Layout{"OCFE4", 4, 2, 100000}, Layout{"OCFE4", 10000, 1, 12},
                      Layout{"BFD1", 10000, 1, 8}, Layout{"CFD4", 10000, 2, 8}));

} // namespace
