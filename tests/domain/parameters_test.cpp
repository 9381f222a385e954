// The domain's parameter types: their defaults, valid values, lower bounds and quantities.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "types/domain/parameters.h"

namespace {

std::vector<std::string> Strings(const QV_Value* value) {
    std::vector<std::string> members;
    if (value == nullptr || value->kind() != QV_Value::Kind::Set) {
        return members;
    }
    for (std::size_t i = 0; i < value->AsSet().Size(); ++i) {
        members.emplace_back(value->AsSet().String(int(i)));
    }
    return members;
}

TEST(ParameterTypes, UnsetDomainParametersReportTheirDefaultsAndBounds) {
    QV_DISCRETIZATIONMETHODPARAM_DOMAIN method;
    QV_ELEMENTBOUNDARYPARAM_DOMAIN boundary;
    QV_NUMSECTIONSPARAM_DOMAIN sections;
    QV_POLYPOINTSPARAM_DOMAIN points;
    EXPECT_STREQ(method.v(), "BFD1");
    EXPECT_STREQ(boundary.v(), "Backward");
    EXPECT_EQ(sections.v(), 1);
    EXPECT_EQ(sections.QV_DefaultLOWER()->AsInteger(), 1);
    EXPECT_EQ(points.v(), 0);
    EXPECT_EQ(points.QV_DefaultLOWER()->AsInteger(), 0);
}

TEST(ParameterTypes, ValidSetsHoldExactlyTheVocabularyWithoutQuotes) {
    QV_DISCRETIZATIONMETHODPARAM_DOMAIN method;
    QV_ELEMENTBOUNDARYPARAM_DOMAIN boundary;
    // Members are kept in byte order; the ten names happen to be written in that order.
    EXPECT_EQ(Strings(method.QV_DefaultVALID()),
              (std::vector<std::string>{"BFD1", "BFD2", "CFD2", "CFD4", "FFD1", "FFD2", "OCFE2",
                                        "OCFE3", "OCFE4", "UBFD4"}));
    EXPECT_EQ(Strings(boundary.QV_DefaultVALID()),
              (std::vector<std::string>{"Backward", "Forward"}));
}

TEST(ParameterTypes, DefaultsAreBuiltOnceAndSharedByEveryParameterOfTheType) {
    QV_DISCRETIZATIONMETHODPARAM_DOMAIN a;
    QV_DISCRETIZATIONMETHODPARAM_DOMAIN b;
    EXPECT_EQ(a.QV_DefaultVALUE(), b.QV_DefaultVALUE());
    EXPECT_EQ(a.QV_DefaultVALID(), a.QV_DefaultVALID());
    QV_NUMSECTIONSPARAM_DOMAIN c;
    QV_NUMSECTIONSPARAM_DOMAIN d;
    EXPECT_EQ(c.QV_DefaultLOWER(), d.QV_DefaultLOWER());
}

TEST(ParameterTypes, AnglesAndLengthsCarryTheirQuantities) {
    QV_ANGLEPARAMETER angle;
    QV_LENGTHPARAMETER length;
    EXPECT_STREQ(angle.QV_DefaultPHYSICALQUANTITY()->AsText(), "Angle");
    EXPECT_STREQ(angle.QV_DefaultBASEUOMNAME()->AsText(), "rad");
    EXPECT_EQ(angle.QV_PQRow(), 32);
    EXPECT_EQ(angle.QV_PQCol(), 1);
    EXPECT_STREQ(length.QV_DefaultPHYSICALQUANTITY()->AsText(), "Length");
    EXPECT_STREQ(length.QV_DefaultBASEUOMNAME()->AsText(), "m");
    EXPECT_EQ(length.QV_PQRow(), 17);
    EXPECT_EQ(length.QV_PQCol(), 1);
    // They stay plain real parameters to the host.
    EXPECT_EQ(angle.v(), 0.0);
    EXPECT_EQ(angle.QV_DefaultLOWER(), nullptr);
}

} // namespace
