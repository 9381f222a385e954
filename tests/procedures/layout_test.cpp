// The procedure object as the host lays it out: the host provides its storage, so after its
// two bases it holds the listed members, in the listed order and of the listed types, and
// nothing else. Each member is found at its place by the value it holds.
#include <cstring>
#include <vector>

#include "procedure_fixture.h"

namespace proctest {
namespace {

struct Member {
    std::size_t size, align, count;
};
template <class T>
constexpr Member Of(std::size_t count = 1) {
    return {sizeof(T), alignof(T), count};
}

// The members in order.
enum Name {
    ArgElementCount,
    PendingDims,
    DimCursor,
    FirstOutputDim,
    DimSizes,
    ArgCursor,
    RunningOffset,
    ArgOffsets,
    SavedOutputs,
    Building,
    ByReference,
    ConstValues,
    RowIndices,
    ColIndices,
    DerivativesStale,
    kMembers
};
constexpr Member kList[kMembers] = {Of<int>(),     Of<int>(),  Of<int>(),   Of<int>(),
                                    Of<int>(3),    Of<int>(),  Of<int>(),   Of<int>(5),
                                    Of<double*>(), Of<bool>(), Of<bool>(5), Of<ConstProcValue>(5),
                                    Of<int*>(),    Of<int*>(), Of<bool>()};

constexpr std::size_t Align(std::size_t n, std::size_t a) {
    return (n + a - 1) / a * a;
}

// Where each member lies, and the object's size, when they follow the two bases in order.
struct Layout {
    std::size_t offset[kMembers];
    std::size_t size;
};
constexpr Layout Expected() {
    Layout layout{};
    std::size_t end = Align(sizeof(QV_ProcedureType_C), alignof(QV_DynamicProcExtensions)) +
                      sizeof(QV_DynamicProcExtensions);
    std::size_t align = alignof(QV_ProcedureType_C);
    for (int m = 0; m < kMembers; ++m) {
        layout.offset[m] = Align(end, kList[m].align);
        end = layout.offset[m] + kList[m].size * kList[m].count;
        align = kList[m].align > align ? kList[m].align : align;
    }
    layout.size = Align(end, align);
    return layout;
}

template <class T>
T At(const QVProc_INTERPOLATE& p, Name m, std::size_t k = 0) {
    T value;
    std::memcpy(&value,
                reinterpret_cast<const unsigned char*>(&p) + Expected().offset[m] + k * sizeof(T),
                sizeof value);
    return value;
}

using Layout_ = ProcedureTest;

TEST_F(Layout_, TheObjectIsItsTwoBasesAndTheListedMembersInOrder) {
    static_assert(sizeof(QVProc_INTERPOLATE) == Expected().size);
#if defined(_WIN32) && (defined(__i386__) || defined(_M_IX86))
    static_assert(sizeof(QVProc_INTERPOLATE) == 264);
#endif
    Binding arrays;
    arrays.X = {0, 1, 2};
    arrays.Y = {0, 10, 20, 30};
    arrays.count = 3;
    Build(arrays);
    const QVProc_INTERPOLATE& p = *procedure;
    EXPECT_EQ(At<int>(p, ArgElementCount), 4) << "the last array's elements";
    EXPECT_EQ(At<int>(p, PendingDims), 0);
    EXPECT_EQ(At<int>(p, DimCursor), 2);
    EXPECT_EQ(At<int>(p, FirstOutputDim), 2);
    EXPECT_EQ(At<int>(p, DimSizes, 0), 3);
    EXPECT_EQ(At<int>(p, DimSizes, 1), 4);
    EXPECT_EQ(At<int>(p, ArgCursor), 4) << "the storing pass stops at the output";
    EXPECT_EQ(At<int>(p, RunningOffset), 10) << "x, 3 + 4 elements, n and y: a slot each";
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(At<int>(p, ArgOffsets, std::size_t(k)), p.GetOffset(k)) << k;
        EXPECT_EQ(At<bool>(p, ByReference, std::size_t(k)), p.ByReference(k)) << k;
    }
    EXPECT_EQ(At<double*>(p, SavedOutputs), nullptr);
    EXPECT_FALSE(At<bool>(p, Building));
    const auto* constants = reinterpret_cast<const ConstProcValue*>(
        reinterpret_cast<const unsigned char*>(&p) + Expected().offset[ConstValues]);
    EXPECT_EQ(constants[3].Integer(), 3) << "n, bound as a constant";
    EXPECT_EQ(At<int*>(p, RowIndices), nullptr);
    EXPECT_EQ(At<int*>(p, ColIndices), nullptr);
    EXPECT_TRUE(At<bool>(p, DerivativesStale));

    double r = 0.0;
    ASSERT_EQ(Residual(r), 0);
    EXPECT_NE(At<int*>(p, RowIndices), nullptr) << "made by the first call";
    EXPECT_NE(At<int*>(p, ColIndices), nullptr);
    EXPECT_EQ(At<double*>(p, SavedOutputs), nullptr);
}

// Without a string array input, InitializeCStrings has nothing to do, whenever the host calls
// it: the object and its value buffer keep every byte, and the host is asked nothing.
TEST_F(Layout_, InitializeCStringsChangesNothingAndAsksTheHostNothing) {
    const auto bytes = [](const void* p, std::size_t n) {
        const auto* first = static_cast<const unsigned char*>(p);
        return std::vector<unsigned char>(first, first + n);
    };
    const auto unchanged = [&](const char* when) {
        const auto object = bytes(procedure.get(), sizeof(QVProc_INTERPOLATE));
        const auto buffer = bytes(vzt::ProcedureValues(*procedure),
                                  std::size_t(vzt::ProcedureValueSlots(*procedure)) * 8);
        const std::size_t logged = vzt::ProcedureLog().size();
        for (int call = 0; call < 2; ++call) {
            procedure->InitializeCStrings();
        }
        EXPECT_EQ(bytes(procedure.get(), sizeof(QVProc_INTERPOLATE)), object) << when;
        EXPECT_EQ(bytes(vzt::ProcedureValues(*procedure), buffer.size()), buffer) << when;
        EXPECT_EQ(vzt::ProcedureLog().size(), logged) << when;
    };
    Build(binding, false);
    unchanged("before the description");
    Build(binding);
    double r = 0.0;
    ASSERT_EQ(Residual(r), 0);
    unchanged("after a call");
}

} // namespace
} // namespace proctest
