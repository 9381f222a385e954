// A model of a real domain and distribution is square once it adds the equations the balance
// rule names, whatever the method, the sections, the element boundary condition and the
// highest derivative.
#include "distribution1d/real_model.h"
#include "support/host_fixture.h"

namespace testsupport {
namespace {

using ModelBalance = HostTest;

TEST_F(ModelBalance, EveryMethodIsSquareThroughRealDomainObjects) {
    vzt::EnableJournal(false);
    for (const Configuration& c : EveryMethod(4, true)) {
        SCOPED_TRACE(::testing::PrintToString(c));
        RealModel model(c);
        model.Drive();
        const pellorin::testing::BalanceCount count = model.Count();
        ASSERT_EQ(count.used, c.hod);
        EXPECT_EQ(count.distributionEquations + pellorin::testing::EquationsTheModelAdds(count),
                  count.unknowns);
    }
}

} // namespace
} // namespace testsupport
