// The host's interfaces that the library's objects carry keep their operations in the host's
// order: a library built against them calls the slot the host fills. The slots are read from
// member pointers as the Itanium C++ ABI encodes a virtual one (its byte offset plus one).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include <vuzizev/vuzizev.h>

namespace {

template <class F>
std::size_t Slot(F member) {
    static_assert(sizeof(F) == 2 * sizeof(std::uintptr_t));
    std::uintptr_t words[2];
    std::memcpy(words, &member, sizeof words);
    return (words[0] - 1) / sizeof(void*);
}

using X = QV_ModelExtensions;
using TermOf = void (X::*)(QV_VarParam&, int*&, int*&, int);

// Each interface's operations, in the order of their slots.
TEST(InterfaceSlots, ExpressionDiscontinuityAndSecondExtensionOperationsStandInTheHostsOrder) {
    const std::vector<std::size_t> expressions = {
        Slot(&X::Compatibility),
        Slot(&X::ResetExpressions),
        Slot(&X::AddOp),
        Slot(static_cast<void (X::*)(const QV_StrSetValue&, int)>(&X::AddTerm)),
        Slot(static_cast<void (X::*)(const QV_IntSetValue&, int)>(&X::AddTerm)),
        Slot(static_cast<void (X::*)(const QV_SetValue&, int)>(&X::AddTerm)),
        Slot(static_cast<void (X::*)(const QV_SpecType&, int)>(&X::AddTerm)),
        Slot(static_cast<void (X::*)(const char*, int)>(&X::AddTerm)),
        Slot(static_cast<void (X::*)(double, int)>(&X::AddTerm)),
        Slot(static_cast<void (X::*)(int, int)>(&X::AddTerm)),
        Slot(static_cast<TermOf>(&X::AddTerm)),
        Slot(static_cast<void (X::*)(QV_IntegerSetIter&, int*&, int*&, int)>(&X::AddTerm)),
        Slot(static_cast<void (X::*)(QV_StringSetIter&, int*&, int*&, int)>(&X::AddTerm)),
        Slot(&X::AddCondExpress),
        Slot(&X::EndCondExpress),
        Slot(&X::Linearity),
        Slot(&X::Evaluate),
        Slot(&X::ConcatLists),
        Slot(&X::AddProcExpression),
        Slot(&X::GroupVars),
        Slot(&X::ActivityPattern),
        Slot(&X::JacEx),
    };
    const std::vector<std::size_t> discontinuity = {
        Slot(&QV_ModelDiscontinuity::HasDiscontinuity), Slot(&QV_ModelDiscontinuity::EventReset),
        Slot(&QV_ModelDiscontinuity::Changed), Slot(&QV_ModelDiscontinuity::Tripped)};
    const std::vector<std::size_t> second = {Slot(&QV_ModelExtensions2::Evaluate2),
                                             Slot(&QV_ModelExtensions2::JacEx2)};
    // The host's compiler gathers the ten AddTerm overloads with the last declared first, so
    // the header declares them last first; in this ABI they stand in declaration order.
    const auto hostSlot = [](std::size_t k) { return k >= 3 && k <= 12 ? 15 - k : k; };
    for (const auto* slots : {&expressions, &discontinuity, &second}) {
        for (std::size_t k = 0; k < slots->size(); ++k) {
            EXPECT_EQ((*slots)[k], slots == &expressions ? hostSlot(k) : k)
                << "operation " << k << " of an interface of " << slots->size();
        }
    }
}

// The type protocol's steps stand one after the other in the host's order, declared by the
// container; a model overrides them in place.
TEST(InterfaceSlots, TypeStepsStandTogetherInTheHostsOrder) {
    using C = QV_Container;
    const std::vector<std::size_t> steps = {Slot(&C::ComponentList),
                                            Slot(&C::IsConnected),
                                            Slot(&C::SetDims),
                                            Slot(&C::QV_DefaultDESCRIPTION),
                                            Slot(&C::ContainerDerivesFrom),
                                            Slot(&C::JacPattern),
                                            Slot(&C::Jacobian),
                                            Slot(&C::Residuals),
                                            Slot(&C::ExecuteAssignments),
                                            Slot(&C::SetUpEquations)};
    for (std::size_t k = 1; k < steps.size(); ++k) {
        EXPECT_EQ(steps[k], steps[0] + k) << "step " << k;
    }
    EXPECT_EQ(Slot(&QV_ModelType::SetUpEquations), Slot(&C::SetUpEquations));
}

// Every host object begins with the component object model's two interfaces.
TEST(InterfaceSlots, RootInterfacesComeFirst) {
    const std::vector<std::size_t> root = {
        Slot(static_cast<HRESULT (STDMETHODCALLTYPE IUnknown::*)(REFIID, void**)>(
            &IUnknown::QueryInterface)),
        Slot(&IUnknown::AddRef),
        Slot(&IUnknown::Release),
        Slot(&IDispatch::GetTypeInfoCount),
        Slot(&IDispatch::GetTypeInfo),
        Slot(&IDispatch::GetIDsOfNames),
        Slot(&IDispatch::Invoke)};
    for (std::size_t k = 0; k < root.size(); ++k) {
        EXPECT_EQ(root[k], k);
    }
    EXPECT_EQ(Slot(&QV_ModelType::AddRef), Slot(&IUnknown::AddRef));
}

} // namespace
