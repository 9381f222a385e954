// The index families: a randomised check against a plain model (per dimension a sorted vector
// of the values in use, and a map from index tuple to the element made for it), then fixed
// cases: null slots, malformed index strings, declared sets, copies and tables that do not
// hold what their sets say.
#include <algorithm>
#include <climits>
#include <map>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <variant>

#include "framework/arrays.h"
#include "framework/assign.h"
#include "framework/index_family.h"
#include "framework/string_in_set.h"
#include "standin/host_access.h"
#include "support/counting_array.h"

namespace {

using Value = std::variant<int, std::string>;
using Tuple = std::vector<Value>;

// The index string the host is documented to build: (v0,v1,...) with quoted strings.
std::string IndexString(const Tuple& tuple) {
    std::string text = "(";
    for (std::size_t k = 0; k < tuple.size(); ++k) {
        text += k == 0 ? "" : ",";
        if (const int* i = std::get_if<int>(&tuple[k])) {
            text += std::to_string(*i);
        } else {
            text += '"';
            for (char c : std::get<std::string>(tuple[k])) {
                text += (c == '"' || c == '\\') ? std::string("\\") + c : std::string(1, c);
            }
            text += '"';
        }
    }
    return text + ")";
}

// An array of the family and the model of what it holds.
template <class Family, char... Letters>
struct Model {
    static constexpr char kLetters[] = {Letters...};
    static constexpr std::size_t kDimensions = sizeof...(Letters);

    template <std::size_t K>
    static auto Arg(const Value& v) {
        if constexpr (kLetters[K] == 'S') {
            return std::get<std::string>(v).c_str();
        } else {
            return std::get<int>(v);
        }
    }
    template <std::size_t... K>
    QV_Type* Find(const Tuple& t, std::index_sequence<K...>) {
        return array.Find(Arg<K>(t[K])...);
    }
    QV_Type* Find(const Tuple& t) { return Find(t, std::make_index_sequence<kDimensions>()); }

    Tuple RandomTuple(std::mt19937& rng) {
        static const char* const kNames[] = {"a", "B", "ab", "", "x,y", "q\"t", "back\\slash"};
        const int range = kDimensions == 4 ? 3 : 6;
        Tuple t;
        for (std::size_t k = 0; k < kDimensions; ++k) {
            if (kLetters[k] == 'S') {
                t.emplace_back(std::string(kNames[rng() % std::size(kNames)]));
            } else {
                t.emplace_back(int(rng() % (2 * range + 1)) - range);
            }
        }
        return t;
    }

    // Adds a tuple's element and its values to the model.
    void Record(const Tuple& t, QV_Type* element) {
        elements.emplace(t, element);
        for (std::size_t k = 0; k < t.size(); ++k) {
            sets[k].insert(t[k]);
        }
    }

    std::size_t Product() const {
        std::size_t product = 1;
        for (const auto& s : sets) {
            product *= s.size();
        }
        return product;
    }

    std::size_t Flat(const Tuple& t) const {
        std::size_t flat = 0;
        for (std::size_t k = 0; k < kDimensions; ++k) {
            const auto pos = std::distance(sets[k].begin(), sets[k].find(t[k]));
            flat = flat * sets[k].size() + std::size_t(pos);
        }
        return flat;
    }

    Tuple TupleAt(std::size_t flat) const {
        Tuple t(kDimensions);
        for (std::size_t k = kDimensions; k-- > 0;) {
            t[k] = *std::next(sets[k].begin(), long(flat % sets[k].size()));
            flat /= sets[k].size();
        }
        return t;
    }

    // The table is the row-major product of the model's sets and holds every recorded
    // element at its place and nothing else (values in the wrong place or order misplace it).
    void ExpectMatches() const {
        const QV_LongPtrVectorOwnsData& table = vzt::Elements(array);
        ASSERT_EQ(table.Size(), Product());
        std::size_t filled = 0;
        for (std::size_t i = 0; i < table.Size(); ++i) {
            filled += table.At(i) != nullptr ? 1 : 0;
        }
        EXPECT_EQ(filled, elements.size()) << "every element once, no stray entries";
        for (const auto& [tuple, element] : elements) {
            ASSERT_EQ(table.At(Flat(tuple)), element) << IndexString(tuple);
        }
    }

    CountingArray<Family> array;
    std::vector<std::set<Value>> sets = std::vector<std::set<Value>>(kDimensions);
    std::map<Tuple, QV_Type*> elements;
};

using Words = ::testing::Types<
    Model<QV_BASE_II, 'I', 'I'>, Model<QV_BASE_IS, 'I', 'S'>, Model<QV_BASE_SI, 'S', 'I'>,
    Model<QV_BASE_SS, 'S', 'S'>, Model<QV_BASE_III, 'I', 'I', 'I'>,
    Model<QV_BASE_SIS, 'S', 'I', 'S'>, Model<QV_BASE_ISSI, 'I', 'S', 'S', 'I'>,
    Model<QV_BASE_IIII, 'I', 'I', 'I', 'I'>, Model<QV_BASE_SSSS, 'S', 'S', 'S', 'S'>>;

template <class M>
class IndexFamilyModel : public HostTest {};
TYPED_TEST_SUITE(IndexFamilyModel, Words);

// Rounds of lookups, every other one by the element's index string, each round closed by
// making the missing elements; later rounds bring new values and so new empty slots.
TYPED_TEST(IndexFamilyModel, LookupsAndNewElementsKeepTheRowMajorTableOfAllCombinations) {
    TypeParam m;
    std::mt19937 rng(1);
    for (int round = 0; round < 3; ++round) {
        for (int step = 0; step < 60; ++step) {
            const Tuple t = m.RandomTuple(rng);
            const bool known = m.elements.count(t) != 0;
            const int madeBefore = m.array.made;
            if (step % 2 == 1) {
                m.array.CreateMissingArrayElement(IndexString(t).c_str());
            }
            QV_Type* element = m.Find(t);
            ASSERT_NE(element, nullptr) << IndexString(t);
            EXPECT_EQ(m.array.made, madeBefore + (known ? 0 : 1)) << "each element made once";
            if (known) {
                EXPECT_EQ(element, m.elements[t]) << "a second lookup returns the same";
            } else {
                EXPECT_EQ(vzt::PropertyName(*element), IndexString(t));
                m.Record(t, element);
            }
            m.ExpectMatches();
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
        }

        vzt::ClearJournal();
        const std::size_t missing = m.Product() - m.elements.size();
        EXPECT_EQ(std::size_t(m.array.NewElements()), missing);
        const auto added = this->EventsOf(vzt::EventKind::AddElement);
        ASSERT_EQ(added.size(), missing);
        for (std::size_t i = 1; i < added.size(); ++i) {
            EXPECT_LT(added[i].a, added[i - 1].a) << "reverse row-major order";
        }
        for (std::size_t i = 0; i < m.Product(); ++i) {
            const Tuple t = m.TupleAt(i);
            if (m.elements.count(t) == 0) {
                QV_Type* element = vzt::Elements(m.array).At(i);
                ASSERT_NE(element, nullptr);
                EXPECT_EQ(vzt::PropertyName(*element), IndexString(t));
                m.Record(t, element);
            }
        }
        m.ExpectMatches(); // and the elements made before stay put
        EXPECT_EQ(m.array.NewElements(), 0);
    }
}

using Array2 = CountingArray<QV_BASE_II>;

class IndexFamily : public HostTest {};

// NewElements asks for no element after one it cannot make.
TEST_F(IndexFamily, NewElementsFillsAnEmptyTableButNoTableThatDoesNotMatchItsSets) {
    Array2 a;
    a.AddIndexValueOnly(0, 1);
    a.AddIndexValueOnly(0, 2);
    a.AddIndexValueOnly(1, 5);
    a.refuse = true;
    EXPECT_EQ(a.NewElements(), 0);
    EXPECT_EQ(a.asked, 1);
    a.refuse = false;
    EXPECT_EQ(a.NewElements(), 2);
    EXPECT_STREQ(vzt::PropertyName(*vzt::Elements(a).At(1)), "(2,5)");
    a.AddIndexValueOnly(0, 3); // the sets now say 3 x 1, the table holds 2
    EXPECT_EQ(a.NewElements(), 0);
    EXPECT_EQ(a.Find(4, 4), nullptr);
    EXPECT_EQ(vzt::Elements(a).Size(), 2u);
    EXPECT_EQ(vzt::IndexValues(a, 0).Size(), 3u) << "a refused lookup adds no value";
}

TEST_F(IndexFamily, ElementThatCannotBeMadeLeavesItsSlotNullAndANullStringFindsNothing) {
    Array2 a;
    a.refuse = true;
    EXPECT_EQ(a.Find(1, 1), nullptr);
    ASSERT_EQ(vzt::Elements(a).Size(), 1u);
    EXPECT_EQ(vzt::Elements(a).At(0), nullptr);
    a.refuse = false;
    EXPECT_NE(a.Find(1, 1), nullptr) << "a later lookup makes it";
    CountingArray<QV_BASE_IS> b;
    EXPECT_EQ(b.Find(1, nullptr), nullptr);
    EXPECT_EQ(vzt::Elements(b).Size(), 0u);
    EXPECT_EQ(vzt::IndexValues(b, 0).Size(), 0u);
}

TEST_F(IndexFamily, CreateMissingArrayElementMakesOnlyWhatAWellFormedStringNames) {
    for (const char* index : {"3,7)", "(3,7)", " ( 3 , 7 ) ", "+3,7)"}) {
        Array2 a;
        a.CreateMissingArrayElement(index);
        ASSERT_EQ(a.made, 1) << index;
        EXPECT_STREQ(vzt::PropertyName(*vzt::Elements(a).At(0)), "(3,7)");
    }
    for (const char* index : {"x,7)", "3,x)", "3;7)", "3,7", "3)", "3,7)8", "", "99999999999,7)",
                              "\"3\",7)", static_cast<const char*>(nullptr)}) {
        Array2 a;
        a.CreateMissingArrayElement(index);
        EXPECT_EQ(a.made, 0) << (index != nullptr ? index : "null");
        EXPECT_EQ(vzt::Elements(a).Size(), 0u);
        EXPECT_EQ(vzt::IndexValues(a, 0).Size(), 0u) << "nothing half-read";
    }
}

// The family measures a string index itself and hands the host's reader only one that fits
// its buffer: a host that trusted its caller would write past the buffer otherwise.
TEST_F(IndexFamily, StringIndexOf127CharactersIsReadAnd128IsRefusedBeforeTheHostReadsIt) {
    CountingArray<QV_BASE_SI> a;
    const std::string fits(127, 'k');
    const std::string overlong(128, 'k');
    for (const std::string& index :
         {"\"" + overlong + "\",1)", overlong + ",1)", "\"" + fits + "\\\"\",1)", fits + "2,1)"}) {
        vzt::ClearJournal();
        a.CreateMissingArrayElement(index.c_str());
        EXPECT_EQ(CountOf(vzt::EventKind::ReadIndex), 0u) << index;
    }
    EXPECT_EQ(a.made, 0);
    EXPECT_EQ(vzt::IndexValues(a, 0).Size(), 0u);
    vzt::ClearJournal();
    a.CreateMissingArrayElement(("\"" + fits + "\",1)").c_str());
    ASSERT_EQ(a.made, 1);
    EXPECT_EQ(vzt::IndexValues(a, 0).String(0), fits);
    const auto reads = EventsOf(vzt::EventKind::ReadIndex);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].a, 127);
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
    EXPECT_EQ(vzt::DeclaredSet(a, 0), &third);
    EXPECT_EQ(vzt::DeclaredSet(a, 1), &first);
    EXPECT_EQ(vzt::DependentCount(second), 0u) << "the old binding is cancelled";
    EXPECT_EQ(vzt::Elements(a).Size(), 1u);
    EXPECT_EQ(vzt::IndexValues(a, 0).Size(), 1u);
}

QV_Value IntegerSet(int lo, int hi) {
    return QV_Value(QV_IntSetValue(lo, hi), 0u);
}

// Declared sets lay the table out at the first lookup, so lookups inside them never spread
// it; a value outside them still joins and every element made keeps its combination.
TEST_F(IndexFamily, FirstLookupLaysTheTableOutForTheDeclaredSets) {
    QV_INTEGERSET rows;
    QV_INTEGERSET cols;
    pellorin::Assign(rows, IntegerSet(1, 2));
    pellorin::Assign(cols, IntegerSet(0, 2));
    Array2 a;
    a.SetDim(rows, cols);
    QV_Type* inner = a.Find(2, 1);
    ASSERT_EQ(vzt::Elements(a).Size(), 6u);
    EXPECT_EQ(vzt::Elements(a).At(4), inner);
    QV_Type* corner = a.Find(1, 0);
    EXPECT_EQ(vzt::Elements(a).Size(), 6u) << "a lookup inside the sets adds no entry";
    EXPECT_EQ(vzt::Elements(a).At(0), corner);
    EXPECT_EQ(a.made, 2);
    EXPECT_NE(a.Find(1, 5), nullptr);
    ASSERT_EQ(vzt::Elements(a).Size(), 8u);
    EXPECT_EQ(vzt::Elements(a).At(5), inner);
    EXPECT_EQ(vzt::Elements(a).At(0), corner);
    EXPECT_EQ(a.NewElements(), 5);
}

// Without a usable declared set in every dimension the first lookup opens one entry.
TEST_F(IndexFamily, FirstLookupWithoutUsableDeclaredSetsOpensOneEntry) {
    QV_INTEGERSET filled;
    pellorin::Assign(filled, IntegerSet(0, 9));
    QV_INTEGERSET empty;
    QV_STRINGSET names;
    pellorin::Assign(names, QV_Value(QV_StrSetValue("a\"b\""), 0u));
    // More combinations than an int counts: refused before any member is taken.
    QV_INTEGERSET huge;
    pellorin::Assign(huge, IntegerSet(0, INT_MAX - 1));
    const std::vector<std::pair<const char*, QV_Set*>> cases = {{"no set declared", nullptr},
                                                                {"an empty set", &empty},
                                                                {"a string set", &names},
                                                                {"past INT_MAX entries", &huge}};
    for (const auto& [name, second] : cases) {
        Array2 a;
        if (second != nullptr) {
            a.SetDim(filled, *second);
        }
        EXPECT_NE(a.Find(3, 4), nullptr) << name;
        EXPECT_EQ(vzt::Elements(a).Size(), 1u) << name;
        EXPECT_EQ(vzt::IndexValues(a, 0).Size(), 1u) << name;
    }
}

// A copy takes the shape and values; its slots are all empty (what it makes are new elements).
TEST_F(IndexFamily, CopyTakesShapeAndNeverSharesElements) {
    Array2 a;
    for (int i : {10, 20}) {
        for (int j : {1, 2, 3}) {
            a.Find(i, j);
        }
    }
    Array2 copy(a);
    EXPECT_EQ(vzt::Elements(copy).Size(), 6u);
    EXPECT_EQ(vzt::IndexValues(copy, 1).Size(), 3u);
    EXPECT_EQ(copy.NewElements(), 6);
    Array2 assigned;
    assigned.Find(99, 99);
    assigned = a;
    EXPECT_EQ(assigned.NewElements(), 6);
    EXPECT_EQ(vzt::IndexValues(assigned, 0).Integer(1), 20);
}

// An element that cannot be made is null through Get; through operator() one spare element
// stands for every such element.
TEST_F(IndexFamily, ArrayElementsAreOfTheArrayTypeMadeOnceOrTheSpare) {
    QV_ARRAY_II<QV_PARTIALDERIVATIVE, QV_PARTIALDERIVATIVE> ddx;
    QV_PARTIALDERIVATIVE& e = ddx(2, 3);
    EXPECT_EQ(&ddx(2, 3), &e);
    EXPECT_STREQ(vzt::PropertyName(e), "(2,3)");
    QV_ARRAY_III<QV_REALVARIABLE, QV_REALVARIABLE> value;
    EXPECT_STREQ(vzt::PropertyName(value(1, 2, 3)), "(1,2,3)");
    QV_ARRAY_I<QV_REALPARAMETER, QV_REALPARAMETER> polypoint;
    vzt::FailAllAllocations(true);
    EXPECT_EQ(polypoint.Get(4), nullptr);
    QV_REALVARIABLE* const spare = &value(1, 1, 1);
    EXPECT_EQ(&value(4, 5, 6), spare);
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
