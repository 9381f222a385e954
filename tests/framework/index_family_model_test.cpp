// A randomised check of the index families against a plain model: per dimension a sorted
// vector of the values in use, and a map from index tuple to the element made for it.
#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>

#include "framework/index_family.h"
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

template <class Family, char... Letters>
struct Word {
    using Array = CountingArray<Family>;
    static constexpr char kLetters[] = {Letters...};
    static constexpr std::size_t kDimensions = sizeof...(Letters);
};

} // namespace

// One type per word, so that the cases are named by their words.
namespace word {
struct II : Word<QV_BASE_II, 'I', 'I'> {};
struct IS : Word<QV_BASE_IS, 'I', 'S'> {};
struct SI : Word<QV_BASE_SI, 'S', 'I'> {};
struct SS : Word<QV_BASE_SS, 'S', 'S'> {};
struct III : Word<QV_BASE_III, 'I', 'I', 'I'> {};
struct SIS : Word<QV_BASE_SIS, 'S', 'I', 'S'> {};
struct ISSI : Word<QV_BASE_ISSI, 'I', 'S', 'S', 'I'> {};
struct IIII : Word<QV_BASE_IIII, 'I', 'I', 'I', 'I'> {};
struct SSSS : Word<QV_BASE_SSSS, 'S', 'S', 'S', 'S'> {};
} // namespace word

namespace {

using Words = ::testing::Types<word::II, word::IS, word::SI, word::SS, word::III, word::SIS,
                               word::ISSI, word::IIII, word::SSSS>;

template <class W>
class IndexFamilyModel : public HostTest {
protected:
    // The array lives between SetUp and TearDown, so that the host's accounting sees it
    // come and go.
    void SetUp() override {
        HostTest::SetUp();
        owned = std::make_unique<typename W::Array>();
    }
    void TearDown() override {
        owned.reset();
        HostTest::TearDown();
    }

    std::unique_ptr<typename W::Array> owned;
    typename W::Array& array() { return *owned; }
    std::vector<std::vector<Value>> sets = std::vector<std::vector<Value>>(W::kDimensions);
    std::map<Tuple, QV_Type*> elements;

    template <std::size_t K>
    static auto Arg(const Value& v) {
        if constexpr (W::kLetters[K] == 'S') {
            return std::get<std::string>(v).c_str();
        } else {
            return std::get<int>(v);
        }
    }

    template <std::size_t... K>
    QV_Type* Find(const Tuple& t, std::index_sequence<K...>) {
        return array().Find(Arg<K>(t[K])...);
    }
    QV_Type* Find(const Tuple& t) { return Find(t, std::make_index_sequence<W::kDimensions>()); }

    Tuple RandomTuple(std::mt19937& rng) {
        static const char* const kNames[] = {"a", "B", "ab", "", "x,y", "q\"t", "back\\slash"};
        const int range = W::kDimensions == 4 ? 3 : 6;
        Tuple t;
        for (std::size_t k = 0; k < W::kDimensions; ++k) {
            if (W::kLetters[k] == 'S') {
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
            auto& s = sets[k];
            if (!std::binary_search(s.begin(), s.end(), t[k])) {
                s.insert(std::lower_bound(s.begin(), s.end(), t[k]), t[k]);
            }
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
        for (std::size_t k = 0; k < W::kDimensions; ++k) {
            const auto pos =
                std::lower_bound(sets[k].begin(), sets[k].end(), t[k]) - sets[k].begin();
            flat = flat * sets[k].size() + std::size_t(pos);
        }
        return flat;
    }

    Tuple TupleAt(std::size_t flat) const {
        Tuple t(W::kDimensions);
        for (std::size_t k = W::kDimensions; k-- > 0;) {
            t[k] = sets[k][flat % sets[k].size()];
            flat /= sets[k].size();
        }
        return t;
    }

    void ExpectSetsMatchModel() {
        for (std::size_t k = 0; k < W::kDimensions; ++k) {
            const QV_SetValue& values = array().IndexValues(int(k));
            ASSERT_EQ(values.Size(), sets[k].size()) << "dimension " << k;
            for (std::size_t p = 0; p < sets[k].size(); ++p) {
                if (W::kLetters[k] == 'S') {
                    EXPECT_EQ(values.String(int(p)), std::get<std::string>(sets[k][p]));
                } else {
                    EXPECT_EQ(values.Integer(int(p)), std::get<int>(sets[k][p]));
                }
            }
        }
    }

    void ExpectTableMatchesModel() {
        const QV_LongPtrVectorOwnsData& table = array().Elements();
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
};

TYPED_TEST_SUITE(IndexFamilyModel, Words);

TYPED_TEST(IndexFamilyModel, LookupsKeepRowMajorTableOfAllCombinations) {
    // Each seed continues on the same array, so later lookups also meet known values.
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 rng(seed);
        for (int step = 0; step < 120; ++step) {
            const Tuple t = this->RandomTuple(rng);
            const bool known = this->elements.count(t) != 0;
            const int madeBefore = this->array().made;
            QV_Type* element = this->Find(t);
            ASSERT_NE(element, nullptr);
            if (known) {
                EXPECT_EQ(element, this->elements[t]) << "a second lookup returns the same";
                EXPECT_EQ(this->array().made, madeBefore);
            } else {
                EXPECT_EQ(this->array().made, madeBefore + 1) << "each element made once";
                EXPECT_EQ(element->PropertyName(), IndexString(t));
                this->Record(t, element);
            }
            this->ExpectSetsMatchModel();
            this->ExpectTableMatchesModel();
            if (::testing::Test::HasFatalFailure()) {
                return;
            }
        }
    }
}

TYPED_TEST(IndexFamilyModel, NewElementsMakesExactlyTheMissingOnesLastEntryFirst) {
    std::mt19937 rng(7);
    for (int step = 0; step < 40; ++step) {
        const Tuple t = this->RandomTuple(rng);
        QV_Type* element = this->Find(t);
        ASSERT_NE(element, nullptr);
        this->Record(t, element);
    }
    vzt::ClearJournal();
    const int made = this->array().NewElements();
    EXPECT_EQ(std::size_t(made), this->Product() - this->elements.size());

    const auto added = this->EventsOf(vzt::EventKind::AddElement);
    ASSERT_EQ(added.size(), std::size_t(made));
    for (std::size_t i = 1; i < added.size(); ++i) {
        EXPECT_LT(added[i].a, added[i - 1].a) << "reverse row-major order";
    }
    const QV_LongPtrVectorOwnsData& table = this->array().Elements();
    ASSERT_EQ(table.Size(), this->Product());
    for (std::size_t i = 0; i < table.Size(); ++i) {
        ASSERT_NE(table.At(i), nullptr);
        EXPECT_EQ(table.At(i)->PropertyName(), IndexString(this->TupleAt(i)));
    }
    for (const auto& [tuple, element] : this->elements) {
        EXPECT_EQ(table.At(this->Flat(tuple)), element) << "elements made before stay put";
    }
    EXPECT_EQ(this->array().NewElements(), 0);
}

TYPED_TEST(IndexFamilyModel, IndexStringOfAnElementNamesThatElementAgain) {
    std::mt19937 rng(11);
    for (int step = 0; step < 20; ++step) {
        const Tuple t = this->RandomTuple(rng);
        QV_Type* element = this->Find(t);
        ASSERT_NE(element, nullptr);
        const int made = this->array().made;
        this->array().CreateMissingArrayElement(IndexString(t).c_str());
        EXPECT_EQ(this->array().made, made) << IndexString(t);
        EXPECT_EQ(this->Find(t), element);
    }
}

} // namespace
