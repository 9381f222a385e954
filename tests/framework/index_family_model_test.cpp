// A randomised check of the index families against a plain model: per dimension a sorted
// vector of the values in use, and a map from index tuple to the element made for it.
#include <algorithm>
#include <map>
#include <random>
#include <string>
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
        for (std::size_t k = 0; k < kDimensions; ++k) {
            const auto pos =
                std::lower_bound(sets[k].begin(), sets[k].end(), t[k]) - sets[k].begin();
            flat = flat * sets[k].size() + std::size_t(pos);
        }
        return flat;
    }

    Tuple TupleAt(std::size_t flat) const {
        Tuple t(kDimensions);
        for (std::size_t k = kDimensions; k-- > 0;) {
            t[k] = sets[k][flat % sets[k].size()];
            flat /= sets[k].size();
        }
        return t;
    }

    // The table is the row-major product of the model's sets and holds every recorded
    // element at its place and nothing else (values in the wrong place or order misplace it).
    void ExpectMatches() const {
        const QV_LongPtrVectorOwnsData& table = array.Elements();
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
    std::vector<std::vector<Value>> sets = std::vector<std::vector<Value>>(kDimensions);
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
                EXPECT_EQ(element->PropertyName(), IndexString(t));
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
                QV_Type* element = m.array.Elements().At(i);
                ASSERT_NE(element, nullptr);
                EXPECT_EQ(element->PropertyName(), IndexString(t));
                m.Record(t, element);
            }
        }
        m.ExpectMatches(); // and the elements made before stay put
        EXPECT_EQ(m.array.NewElements(), 0);
    }
}

} // namespace
