// The equation context of a distribution over one, two or three domains: what the domains
// answer, and what the distribution itself answers (its used and declared derivative orders
// per direction, the integrals it asks for, and its arrays). An element is looked up only
// inside its array's declared index sets, and once while its stencil is being walked: a
// small table per array keeps the recent ones, and over one direction every node's element
// is remembered once the walk comes back over the direction.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <span>
#include <string_view>
#include <type_traits>

#include "framework/string_in_set.h"
#include "types/distribution/domain_context.h"
#include "types/distribution/walk_memo.h"

namespace pellorin::eqn {

inline constexpr int kMaxArrays = 16;

// The host's base of the arrays over Rank integer sets.
template <int Rank>
using ArrayBase = std::conditional_t<Rank == 1, QV_BASE_I,
                                     std::conditional_t<Rank == 2, QV_BASE_II, QV_BASE_III>>;

template <int Rank>
using DefaultCache =
    std::conditional_t<Rank == 1, NodeMemo<QV_VarParam>, WalkCache<QV_VarParam, Rank>>;

template <int Rank, class Cache = DefaultCache<Rank>>
class GridContext final : public DomainContext<Rank> {
public:
    using Table = ArrayBase<Rank>;

    // An array as the walk looks it up: the table and the declared set of each dimension.
    struct DeclaredArray {
        Table* elements = nullptr;
        std::array<const QV_Set*, Rank> sets{};
    };
    using Arrays = std::array<DeclaredArray, kMaxArrays>;

    // The distribution's own settings, per direction; `integralNames` in the order the
    // outline numbers the integrals.
    struct Settings {
        std::array<const QV_INTEGERPARAMETER*, Rank> used;
        std::array<const QV_INTEGERPARAMETER*, Rank> declared;
        const QV_STRINGSET* integrals;
        std::span<const std::string_view> integralNames;
    };

    GridContext(const std::array<QV_DOMAIN*, Rank>& domains, const Settings& settings,
                const Arrays& arrays, int arrayCount)
        : DomainContext<Rank>(domains), m_settings(settings), m_arrays(arrays),
          m_arrayCount(arrayCount) {}

    int UsedOrder(int d) override { return this->Read(*m_settings.used[d]); }
    int DeclaredOrder(int d) override { return this->Read(*m_settings.declared[d]); }
    bool IntegralRequested(int integral) override {
        return integral >= 0 && integral < int(m_settings.integralNames.size()) &&
               StringInSet(m_settings.integralNames[integral].data(),
                           this->Read(*m_settings.integrals)) != 0;
    }

    QV_VarParam* ArrayElement(int array, const int* index) override {
        if (array < 0 || array >= m_arrayCount) {
            return nullptr;
        }
        return m_cache[array].Get(
            index,
            [&]() -> QV_VarParam* {
                const DeclaredArray& a = m_arrays[array];
                if (!Inside(array, index, 0, index[0]) || a.elements == nullptr) {
                    return nullptr;
                }
                if constexpr (Rank == 1) {
                    return static_cast<QV_VarParam*>(a.elements->Find(index[0]));
                } else if constexpr (Rank == 2) {
                    return static_cast<QV_VarParam*>(a.elements->Find(index[0], index[1]));
                } else {
                    return static_cast<QV_VarParam*>(
                        a.elements->Find(index[0], index[1], index[2]));
                }
            },
            [&] { return NodesAlongX(); });
    }

    bool ArrayCovers(int array, const int* index, int along, int last) override {
        if (array < 0 || array >= m_arrayCount || m_arrays[array].elements == nullptr) {
            return false;
        }
        return Inside(array, index, along, last);
    }

    bool ArraysAreRunsAlong(int direction, std::uint32_t arrays) override {
        for (int array = 0; array < m_arrayCount; ++array) {
            if ((arrays >> array & 1u) != 0 && !RunsOf(array)[direction].run) {
                return false;
            }
        }
        return true;
    }

    void BeginWalk(WalkKind kind) override {
        DomainContext<Rank>::BeginWalk(kind);
        m_runs = {};
    }

private:
    // An array's declared set along one direction, read once a walk: when it is a run of
    // consecutive integers (or empty), whether an index or a run of them lies in it takes
    // two comparisons instead of the set's lookups.
    struct Run {
        bool run = false;
        int lo = 1;
        int hi = 0;
    };
    struct Runs {
        bool read = false;
        std::array<Run, Rank> along{};
        const Run& operator[](int d) const { return along[d]; }
    };

    // Whether `index`, and every index from it along `along` to `last` there, lies in the
    // array's declared sets. The comparisons are made where the walk calls; the sets
    // themselves are asked out of line.
    bool Inside(int array, const int* index, int along, int last) {
        const Runs& runs = RunsOf(array);
        for (int d = 0; d < Rank; ++d) {
            const int to = d == along ? last : index[d];
            const int lo = index[d] < to ? index[d] : to;
            const int hi = index[d] < to ? to : index[d];
            const bool held =
                runs[d].run ? lo >= runs[d].lo && hi <= runs[d].hi : InSetRangeOf(array, d, lo, hi);
            if (!held) {
                return false;
            }
        }
        return true;
    }

    [[gnu::noinline]] bool InSetRangeOf(int array, int d, int lo, int hi) {
        return this->InSetRange(*m_arrays[array].sets[d], lo, hi);
    }

    const Runs& RunsOf(int array) {
        const Runs& runs = m_runs[array];
        return runs.read ? runs : ReadRuns(array);
    }

    [[gnu::noinline]] const Runs& ReadRuns(int array) {
        Runs& runs = m_runs[array];
        runs.read = true;
        for (int d = 0; d < Rank; ++d) {
            const QV_SetValue& values = this->Read(*m_arrays[array].sets[d]);
            const std::size_t size = values.Size();
            if (values.IsStringSet() || size > std::size_t(INT_MAX)) {
                continue;
            }
            Run& run = runs.along[d];
            if (size != 0) { // an empty set stays the run from 1 to 0, which holds nothing
                run.lo = values.Integer(0);
                run.hi = values.Integer(int(size) - 1);
            }
            run.run = (long long)run.hi - run.lo == (long long)size - 1;
        }
        return runs;
    }

    // The nodes 0 to ENDNODE of the first direction: every index a one-direction walk can
    // look up inside its arrays' sets.
    std::size_t NodesAlongX() {
        const int end = this->EndNode(0);
        return end < 0 ? 0 : std::size_t(end) + 1;
    }

    Settings m_settings;
    Arrays m_arrays;
    int m_arrayCount;
    std::array<Cache, kMaxArrays> m_cache;
    std::array<Runs, kMaxArrays> m_runs{};
};

} // namespace pellorin::eqn
