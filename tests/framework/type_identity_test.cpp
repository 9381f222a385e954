// Type identities and the derivation relation.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "support/host_fixture.h"
#include "support/type_cases.h"

namespace {

using testsupport::TypeCase;

class TypeIdentity : public testsupport::HostTest,
                     public ::testing::WithParamInterface<TypeCase> {};

TEST_P(TypeIdentity, DerivesFromItselfAndItsAncestorsOnly) {
    const TypeCase& c = GetParam();
    QV_ModelType* object = c.make(true, nullptr);
    EXPECT_STREQ(object->QV_DefaultDESCRIPTION(), c.identity.c_str());
    for (const std::string& id : testsupport::AllIdentities()) {
        const bool expected =
            id == c.identity || std::count(c.ancestors.begin(), c.ancestors.end(), id) > 0;
        EXPECT_EQ(object->ContainerDerivesFrom(id.c_str()), expected) << c.type << " / " << id;
    }
    delete object;
}

TEST_P(TypeIdentity, ComparisonFoldsOnlyAsciiLettersWholeString) {
    const TypeCase& c = GetParam();
    QV_ModelType* object = c.make(true, nullptr);
    std::mt19937 random(42);
    for (int trial = 0; trial < 20; ++trial) {
        std::string mixed = c.identity;
        for (char& ch : mixed) {
            if (std::isalpha(static_cast<unsigned char>(ch)) && random() % 2 == 0) {
                ch = static_cast<char>(ch ^ 0x20);
            }
        }
        EXPECT_TRUE(object->ContainerDerivesFrom(mixed.c_str())) << mixed;
    }

    const std::string id = c.identity;
    const std::size_t tab = id.find('\t');
    std::string tabAsParen = id;
    tabAsParen[tab] = ')'; // 0x09 | 0x20 == 0x29: a naive fold would match
    std::string zeroAsDle = id;
    zeroAsDle.back() = '\x10'; // '0' == 0x30 == 0x10 | 0x20
    const std::vector<std::string> near = {
        id.substr(0, tab), id + " ", tabAsParen, zeroAsDle, id.substr(0, id.size() - 1), ""};
    for (const std::string& other : near) {
        EXPECT_FALSE(object->ContainerDerivesFrom(other.c_str())) << other;
    }
    EXPECT_FALSE(object->ContainerDerivesFrom(nullptr));
    delete object;
}

INSTANTIATE_TEST_SUITE_P(AllTypes, TypeIdentity, ::testing::ValuesIn(testsupport::AllTypes()),
                         [](const auto& info) { return info.param.type; });

} // namespace
