// Fixed cases of the index families: null slots for new values, index strings read back,
// binding to declared sets, and tables that do not hold what their sets say.
#include <string>

#include "framework/arrays.h"
#include "framework/index_family.h"
#include "framework/string_in_set.h"
#include "support/counting_array.h"

namespace {

using Array2 = CountingArray<QV_BASE_II>;

class IndexFamily : public HostTest {};

TEST_F(IndexFamily, NewElementsFillsAnEmptyTableButNoTableThatDoesNotMatchItsSets) {
    Array2 a;
    a.AddIndexValueOnly(0, 1);
    a.AddIndexValueOnly(0, 2);
    a.AddIndexValueOnly(1, 5);
    EXPECT_EQ(a.NewElements(), 2);
    EXPECT_STREQ(a.Elements().At(1)->PropertyName(), "(2,5)");
    a.AddIndexValueOnly(0, 3); // the sets now say 3 x 1, the table holds 2
    EXPECT_EQ(a.NewElements(), 0);
    EXPECT_EQ(a.Find(4, 4), nullptr);
    EXPECT_EQ(a.Elements().Size(), 2u);
    EXPECT_EQ(a.IndexValues(0).Size(), 3u) << "a refused lookup adds no value";
}

TEST_F(IndexFamily, ElementThatCannotBeMadeLeavesItsSlotNull) {
    Array2 a;
    a.refuse = true;
    EXPECT_EQ(a.Find(1, 1), nullptr);
    ASSERT_EQ(a.Elements().Size(), 1u);
    EXPECT_EQ(a.Elements().At(0), nullptr);
    a.refuse = false;
    EXPECT_NE(a.Find(1, 1), nullptr) << "a later lookup makes it";
}

TEST_F(IndexFamily, CreateMissingArrayElementMakesOnlyWhatAWellFormedStringNames) {
    for (const char* index : {"3,7)", "(3,7)", " ( 3 , 7 ) ", "+3,7)"}) {
        Array2 a;
        a.CreateMissingArrayElement(index);
        ASSERT_EQ(a.made, 1) << index;
        EXPECT_STREQ(a.Elements().At(0)->PropertyName(), "(3,7)");
    }
    for (const char* index : {"x,7)", "3,x)", "3;7)", "3,7", "3)", "3,7)8", "", "99999999999,7)",
                              "\"3\",7)", static_cast<const char*>(nullptr)}) {
        Array2 a;
        a.CreateMissingArrayElement(index);
        EXPECT_EQ(a.made, 0) << (index != nullptr ? index : "null");
        EXPECT_EQ(a.Elements().Size(), 0u);
        EXPECT_EQ(a.IndexValues(0).Size(), 0u) << "nothing half-read";
    }
}

TEST_F(IndexFamily, StringIndexOf127CharactersIsReadAnd128IsRefused) {
    CountingArray<QV_BASE_SI> a;
    const std::string fits(127, 'k');
    const std::string overlong(128, 'k');
    a.CreateMissingArrayElement(("\"" + overlong + "\",1)").c_str());
    a.CreateMissingArrayElement((overlong + ",1)").c_str());
    EXPECT_EQ(a.made, 0);
    EXPECT_EQ(a.IndexValues(0).Size(), 0u);
    a.CreateMissingArrayElement(("\"" + fits + "\",1)").c_str());
    ASSERT_EQ(a.made, 1);
    EXPECT_EQ(a.IndexValues(0).String(0), fits);
    a.CreateMissingArrayElement((fits + "2,1)").c_str());
    EXPECT_EQ(a.made, 1);
}

TEST_F(IndexFamily, NullStringIndexFindsNothing) {
    CountingArray<QV_BASE_IS> a;
    EXPECT_EQ(a.Find(1, nullptr), nullptr);
    EXPECT_EQ(a.Elements().Size(), 0u);
    EXPECT_EQ(a.IndexValues(0).Size(), 0u);
}

TEST_F(IndexFamily, SetDimDeclaresSetsInOrderAndTouchesNoValues) {
    QV_INTEGERSET first;
    QV_INTEGERSET second;
    QV_INTEGERSET third;
    Array2 a;
    a.Find(1, 1);
    a.SetDim(first, second);
    vzt::ClearJournal();
    a.SetDim(third, first);
    const auto& j = vzt::Journal();
    ASSERT_EQ(j.size(), 3u);
    EXPECT_EQ(j[0].kind, vzt::EventKind::CancelDependence);
    EXPECT_EQ(j[1].object, &third);
    EXPECT_EQ(j[2].object, &first);
    EXPECT_EQ(a.DeclaredSet(0), &third);
    EXPECT_EQ(a.DeclaredSet(1), &first);
    EXPECT_TRUE(second.Dependents().empty()) << "the old binding is cancelled";
    EXPECT_EQ(a.Elements().Size(), 1u);
    EXPECT_EQ(a.IndexValues(0).Size(), 1u);
}

TEST_F(IndexFamily, CopyTakesShapeAndNeverSharesElements) {
    QV_INTEGERSET declared;
    Array2 a;
    for (int i : {10, 20}) {
        for (int j : {1, 2, 3}) {
            a.Find(i, j);
        }
    }
    a.SetDim(declared, declared);
    Array2 copy(a);
    EXPECT_EQ(copy.Elements().Size(), 6u);
    EXPECT_EQ(copy.Elements().At(0), nullptr);
    EXPECT_EQ(copy.IndexValues(1).Size(), 3u);
    EXPECT_EQ(copy.DeclaredSet(0), nullptr);
    EXPECT_EQ(copy.NewElements(), 6);
    Array2 assigned;
    assigned.Find(99, 99);
    assigned = a;
    EXPECT_EQ(assigned.Elements().At(0), nullptr);
    EXPECT_EQ(assigned.NewElements(), 6);
    EXPECT_EQ(assigned.IndexValues(0).Integer(1), 20);
}

TEST_F(IndexFamily, ArrayElementsAreOfTheArrayTypeMadeOnceOrAClearFailure) {
    QV_ARRAY_II<QV_PARTIALDERIVATIVE, QV_PARTIALDERIVATIVE> ddx;
    QV_PARTIALDERIVATIVE& e = ddx(2, 3);
    EXPECT_EQ(&ddx(2, 3), &e);
    QV_ARRAY_III<QV_REALVARIABLE, QV_REALVARIABLE> value;
    EXPECT_STREQ(value(1, 2, 3).PropertyName(), "(1,2,3)");
    QV_ARRAY_I<QV_REALPARAMETER, QV_REALPARAMETER> polypoint;
    vzt::FailAllAllocations(true);
    EXPECT_EQ(polypoint.Get(4), nullptr);
    EXPECT_THROW(value(1, 1, 1), std::logic_error);
    vzt::FailAllAllocations(false);
    EXPECT_NE(polypoint.Get(4), nullptr);
}

TEST_F(IndexFamily, StringInSetIsExactlyOneOrZero) {
    QV_StrSetValue integrals("idx\"idy\"");
    EXPECT_EQ(StringInSet("idx", integrals), 1);
    EXPECT_EQ(StringInSet("IDX", integrals), 0);
    EXPECT_EQ(StringInSet("idz", integrals), 0);
    EXPECT_EQ(StringInSet("idx", QV_StrSetValue()), 0);
    EXPECT_EQ(StringInSet(nullptr, integrals), 0);
    EXPECT_EQ(StringInSet("idx", QV_IntSetValue(1, 3)), 0);
}

} // namespace
