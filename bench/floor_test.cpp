// The floor writes every instance and equation once, window by window, each window within its
// budget unless one instance or equation alone passes it.
#include <gtest/gtest.h>

#include "bench/grid_model.h"

namespace {

using walkbench::Floor;
using walkbench::Window;

enum class Cut { One, Several, EachAlone };

// The windows cover the `count` instances or equations and their `items` entries or tokens
// in order, each exactly once.
void ExpectCover(const std::vector<Window>& windows, std::size_t count, std::size_t items,
                 std::size_t windowBytes, Cut cut) {
    std::size_t next = 0;
    std::size_t nextItem = 0;
    for (const Window& window : windows) {
        EXPECT_EQ(window.first, next);
        EXPECT_EQ(window.firstItem, nextItem);
        EXPECT_GT(window.last, window.first);
        EXPECT_TRUE(window.bytes <= windowBytes || window.last - window.first == 1);
        next = window.last;
        nextItem += window.items;
    }
    EXPECT_EQ(next, count);
    EXPECT_EQ(nextItem, items);
    const std::size_t expected[] = {1, 0, count};
    if (cut == Cut::Several) {
        EXPECT_GT(windows.size(), 1u);
        EXPECT_LT(windows.size(), count);
    } else {
        EXPECT_EQ(windows.size(), expected[int(cut)]);
    }
}

TEST(FloorTest, WindowsWriteEveryInstanceAndEquationOnceWithinTheirBudget) {
    vzt::Reset();
    vzt::EnableJournal(false);
    walkbench::Model2D model("CFD4", 13);
    model.Assign();
    walkbench::SetUp(model);
    const QV_EquationStore& store = vzt::Equations(model.distribution);
    std::vector<int> rows(store.IncidenceCount());
    std::vector<int> cols(store.IncidenceCount());
    walkbench::Jacobian(model, rows, cols);
    ASSERT_GT(store.EquationCount(), 100u);

    struct Case {
        std::size_t windowBytes;
        Cut cut;
    };
    // A page is less than any one instance's or equation's arrays; 64 KB holds some of them.
    for (const Case c : {Case{4096, Cut::EachAlone}, Case{std::size_t(64) << 10, Cut::Several},
                         Case{Floor::kWindowBytes, Cut::One}}) {
        SCOPED_TRACE(c.windowBytes);
        const Floor floor(store, c.windowBytes);
        ExpectCover(floor.InstanceWindows(), store.InstanceCount(), store.IncidenceCount(),
                    c.windowBytes, c.cut);
        ExpectCover(floor.EquationWindows(), store.EquationCount(), store.TokenCount(),
                    c.windowBytes, c.cut);
        EXPECT_GE(floor.WriteFresh(), 0.0);
        EXPECT_GE(floor.WriteAgain(), 0.0);
    }
}

TEST(FloorTest, NoEquationsMakeNoWindowAndWriteNothing) {
    const QV_EquationStore empty;
    const Floor floor(empty);
    EXPECT_TRUE(floor.InstanceWindows().empty());
    EXPECT_TRUE(floor.EquationWindows().empty());
    EXPECT_EQ(floor.WriteFresh(), 0.0);
    EXPECT_EQ(floor.WriteAgain(), 0.0);
}

} // namespace
