// The stand-in host's element table and index strings, on which every array rests.
#include <cstring>
#include <new>
#include <ostream>
#include <string>
#include <vector>

#include "standin/host_access.h"
#include "support/counting_array.h"

namespace {

class ElementTable : public HostTest {};

TEST_F(ElementTable, AddNullEntriesRefusesWhatIsNotATableOfBlocks) {
    QV_LongPtrVectorOwnsData table;
    EXPECT_TRUE(table.AddNullEntries(0, 0, 3)) << "an empty table gets stride nulls";
    EXPECT_EQ(table.Size(), 3u);
    EXPECT_FALSE(table.AddNullEntries(0, 2, 1)) << "3 entries are no blocks of 2";
    EXPECT_FALSE(table.AddNullEntries(4, 3, 1)) << "position beyond the old size";
    EXPECT_FALSE(table.AddNullEntries(0, 1, 0));
    EXPECT_EQ(table.Size(), 3u);
    EXPECT_EQ(table.At(7), nullptr);
    EXPECT_FALSE(table.Put(7, nullptr));
}

// An element in one of the allocator's slabs of small blocks, as the library makes them
// (this test's own new takes memory far from them).
QV_Type* SlabElement() {
    return new (MyAllocate(sizeof(QV_REALVARIABLE))) QV_REALVARIABLE(true);
}

// Elements from the allocator's slabs take the compact form; one from elsewhere switches the
// table to full pointers. Either way each entry gives back its element, the entries move
// with the nulls opened among them, and every element is destroyed with the table.
TEST_F(ElementTable, EntriesKeepTheirElementsWhereverTheElementsLie) {
    for (const bool elsewhere : {false, true}) {
        QV_LongPtrVectorOwnsData table;
        ASSERT_TRUE(table.AddNullEntries(0, 0, 3));
        QV_Type* first = SlabElement();
        QV_Type* second = elsewhere ? new QV_REALVARIABLE(true) : SlabElement();
        QV_Type* third = SlabElement();
        ASSERT_TRUE(table.Put(0, first));
        ASSERT_TRUE(table.Put(1, second));
        ASSERT_TRUE(table.Put(2, third));
        ASSERT_TRUE(table.AddNullEntries(1, 3, 1)) << elsewhere;
        EXPECT_EQ(table.Size(), 4u);
        const std::vector<QV_Type*> entries = {table.At(0), table.At(1), table.At(2), table.At(3)};
        EXPECT_EQ(entries, (std::vector<QV_Type*>{first, nullptr, second, third})) << elsewhere;
        ASSERT_TRUE(table.Put(2, nullptr));
        EXPECT_EQ(table.At(2), nullptr);
        EXPECT_EQ(table.At(3), third);
    }
}

struct ReadCase {
    const char* text;
    bool ok;
    const char* value; // for strings
    const char* rest;
    friend void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.text; }
};

class ReadStringIndex : public ::testing::TestWithParam<ReadCase> {};

// The longest index that fits the host's 128-character buffer, and one character more.
const std::string kLongestIndex(127, 'x');
const std::string kLongestIndexText = kLongestIndex + ",";
const std::string kOverlongIndexText = kLongestIndex + "x,";

TEST_P(ReadStringIndex, ReadsOneIndexUpToItsTerminator) {
    const ReadCase& c = GetParam();
    char buffer[128] = "unset";
    const char* cursor = c.text;
    EXPECT_EQ(QV_Matrix::ReadIndex(cursor, buffer, ','), c.ok);
    if (c.ok) {
        EXPECT_STREQ(buffer, c.value);
        EXPECT_STREQ(cursor, c.rest);
    } else {
        EXPECT_STREQ(buffer, "unset") << "a refused read writes nothing";
        EXPECT_EQ(cursor, c.text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Strings, ReadStringIndex,
    ::testing::Values(ReadCase{"(\"a,b\",1)", true, "a,b", "1)"},
                      ReadCase{"\"q\\\"t\" ,x", true, "q\"t", "x"}, ReadCase{"\"\",", true, "", ""},
                      ReadCase{" bare ,", true, "bare", ""},
                      ReadCase{kLongestIndexText.c_str(), true, kLongestIndex.c_str(), ""},
                      ReadCase{kOverlongIndexText.c_str(), false, nullptr, nullptr},
                      ReadCase{"\"unterminated,", false, nullptr, nullptr},
                      ReadCase{"\"a\"b,", false, nullptr, nullptr},
                      ReadCase{",", false, nullptr, nullptr},
                      ReadCase{"no terminator", false, nullptr, nullptr}));

class OneDimensionalBase : public HostTest {};

TEST_F(OneDimensionalBase, FindMakesEachElementOnceInValueOrder) {
    CountingArray<QV_BASE_I> a;
    QV_Type* five = a.Find(5);
    QV_Type* two = a.Find(2);
    EXPECT_EQ(a.Find(5), five);
    ASSERT_EQ(vzt::Elements(a).Size(), 2u);
    EXPECT_EQ(vzt::Elements(a).At(0), two);
    EXPECT_STREQ(vzt::PropertyName(*five), "(5)");
    a.CreateMissingArrayElement("(3)");
    EXPECT_EQ(a.made, 3);
    EXPECT_EQ(a.NewElements(), 0);
}

// Over a declared integer set the first lookup lays the table out for the whole set; a value
// outside the set still joins in order and the elements made stay with their values.
// NewElements asks for no element after one it cannot make.
TEST_F(OneDimensionalBase, FirstLookupOverADeclaredSetLaysOutTheWholeTable) {
    QV_INTEGERSET nodes;
    QV_Value range(QV_IntSetValue(0, 4), 0u);
    nodes.Assign(&range);
    CountingArray<QV_BASE_I> a;
    a.SetDim(nodes);
    QV_Type* three = a.Find(3);
    ASSERT_EQ(vzt::Elements(a).Size(), 5u);
    EXPECT_EQ(vzt::Elements(a).At(3), three);
    EXPECT_NE(a.Find(-1), nullptr);
    ASSERT_EQ(vzt::Elements(a).Size(), 6u);
    EXPECT_EQ(vzt::Elements(a).At(4), three);
    EXPECT_EQ(a.made, 2);
    a.refuse = true;
    EXPECT_EQ(a.NewElements(), 0);
    EXPECT_EQ(a.asked, 3);
    a.refuse = false;
    EXPECT_EQ(a.NewElements(), 4);
}

// An element's name reads as its index text however late it is first read, stays where it
// is, and the names of one array read one after another lie back to back, as the driver
// that names terms by them expects; another array going away takes none of them along.
TEST_F(OneDimensionalBase, ElementNamesReadAsTheirIndexTextAndStayPut) {
    const struct {
        int value;
        const char* name;
    } cases[] = {{5, "(5)"},
                 {-3, "(-3)"},
                 {0, "(0)"},
                 {2147483647, "(2147483647)"},
                 {-2147483647 - 1, "(-2147483648)"}};
    CountingArray<QV_BASE_I> a;
    std::vector<const QV_Type*> elements;
    {
        CountingArray<QV_BASE_I> gone;
        for (const auto& c : cases) {
            elements.push_back(a.Find(c.value));
            EXPECT_STREQ(vzt::PropertyName(*gone.Find(c.value)), c.name);
        }
    }
    const char* previous = nullptr;
    for (std::size_t p = 0; p < vzt::Elements(a).Size(); ++p) {
        const char* name = vzt::PropertyName(*vzt::Elements(a).At(p));
        if (previous != nullptr) {
            EXPECT_EQ(name, previous + std::strlen(previous) + 1);
        }
        previous = name;
    }
    for (std::size_t k = 0; k < std::size(cases); ++k) {
        const char* name = vzt::PropertyName(*elements[k]);
        EXPECT_STREQ(name, cases[k].name);
        EXPECT_EQ(vzt::PropertyName(*elements[k]), name) << "read twice, one text";
    }
    CountingArray<QV_BASE_S> s;
    EXPECT_STREQ(vzt::PropertyName(*s.Find("a\"b")), "(\"a\\\"b\")");
}

TEST_F(OneDimensionalBase, StringBaseReadsNamesOfAtMost127Characters) {
    CountingArray<QV_BASE_S> a;
    a.CreateMissingArrayElement(("\"" + std::string(128, 'n') + "\")").c_str());
    EXPECT_EQ(a.made, 0);
    a.CreateMissingArrayElement(("\"" + std::string(127, 'n') + "\")").c_str());
    EXPECT_EQ(a.made, 1);
    EXPECT_EQ(a.Find(nullptr), nullptr);
}

} // namespace
