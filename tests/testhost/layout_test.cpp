// A model holds millions of array elements and assigned values: their sizes must not creep
// back, and the narrowed registration state must read back whole.
#include <gtest/gtest.h>

#include <cstddef>

#include "standin/host_access.h"
#include "support/host_fixture.h"

namespace {

using LayoutTest = testsupport::HostTest;

TEST(Layout, ElementsAndValuesKeepTheirSizeOn64Bit) {
    if constexpr (sizeof(void*) != 8) {
        GTEST_SKIP() << "sizes are pinned for 64-bit targets";
    }
    const struct {
        const char* what;
        std::size_t size;
        std::size_t most;
    } sizes[] = {
        {"real parameter", sizeof(QV_REALPARAMETER), 32},
        {"integer parameter", sizeof(QV_INTEGERPARAMETER), 32},
        {"string parameter", sizeof(QV_STRINGPARAMETER), 32},
        {"real variable", sizeof(QV_REALVARIABLE), 32},
        {"partial derivative", sizeof(QV_PARTIALDERIVATIVE), 32},
        {"value", sizeof(QV_Value), 24},
    };
    for (const auto& entry : sizes) {
        EXPECT_LE(entry.size, entry.most) << entry.what;
    }
}

// Registering again replaces the name, description, direction and flavour; none of them
// loses bits where it is kept.
TEST_F(LayoutTest, RegistrationStateReadsBackWholeAfterEveryRegistration) {
    auto* owner = new QV_ModelTypeEx2;
    QV_REALPARAMETER property(true);
    const struct {
        const char* name;
        const char* description;
        QV_Direction direction;
    } registrations[] = {
        {"A", "first", QV_DirectionInput},
        {"LONGER_NAME", nullptr, QV_DirectionOutput},
        {"", "", QV_DirectionNone},
        {"B", "in and out", QV_Direction(QV_DirectionInput | QV_DirectionOutput)},
    };
    for (const auto& r : registrations) {
        property.AddProperty(owner, r.name, r.description, r.direction, true);
        EXPECT_STREQ(vzt::PropertyName(property), r.name);
        if (r.description == nullptr) {
            EXPECT_EQ(vzt::PropertyDescription(property), nullptr);
        } else {
            EXPECT_STREQ(vzt::PropertyDescription(property), r.description);
        }
        EXPECT_EQ(vzt::PropertyDirection(property), r.direction) << r.name;
        EXPECT_EQ(vzt::PropertyFlavour(property), QV_RegistrationFlavour::Type);
        EXPECT_EQ(vzt::PropertyOwner(property), owner);
        EXPECT_EQ(vzt::Properties(*owner).size(), 1u);
    }
    // Registering again under its own name and description reads them before letting go.
    property.AddProperty(owner, vzt::PropertyName(property), vzt::PropertyDescription(property),
                         QV_DirectionInput, false);
    EXPECT_STREQ(vzt::PropertyName(property), "B");
    EXPECT_STREQ(vzt::PropertyDescription(property), "in and out");
    EXPECT_EQ(vzt::FindProperty(*owner, "B"), &property);
    vzt::SetSolverVariable(property, true);
    EXPECT_TRUE(property.IsSolverVariable());
    EXPECT_EQ(vzt::PropertyDirection(property), QV_DirectionInput);
    delete owner;
    EXPECT_EQ(vzt::PropertyOwner(property), nullptr);
    EXPECT_STREQ(vzt::PropertyName(property), "B");
}

} // namespace
