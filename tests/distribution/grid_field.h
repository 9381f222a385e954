// An exact field on the terms of a distribution over two or three real domains: a product
// p(x)·q(y)·r(z) of polynomials, each array element the product of one factor per direction
// (the polynomial, its first or second derivative, or its integral over the interval that
// ends at the node, 0 at node 0), each section's element length its own.
#pragma once

#include <array>
#include <map>
#include <vector>

#include <vuzizev/vuzizev.h>

#include "tests/distribution/exact_field.h"
#include "types/domain/domain.h"

namespace pellorin::testing {

enum class Factor { Value, First, Second, Interval };

class GridField {
public:
    static constexpr int kMaxRank = 3;

    struct Id {
        int array = -1;                    // the distribution's array, or -1 for an element length
        std::array<int, kMaxRank> index{}; // nodes; for an element length (direction, section)
    };

    explicit GridField(const std::vector<QV_DOMAIN*>& domains);

    // Every element of the array over the product of the sets, with its factors.
    template <class Array>
    void AddArray(Array& array, int id, const std::vector<const QV_Set*>& sets,
                  const std::vector<Factor>& factors);

    void Set(const std::vector<Polynomial>& polynomials);
    double ValueOf(const QV_VarParam* term) const { return m_values.at(term); }
    Id Identify(const QV_VarParam* term) const { return m_ids.at(term); }
    double X(int direction, int node) const { return m_nodes[direction].at(node); }
    int Rank() const { return int(m_nodes.size()); }

private:
    void Add(const QV_VarParam* term, int array, const std::vector<int>& index);

    std::vector<std::vector<double>> m_nodes;
    std::vector<std::vector<double>> m_lengths;
    std::map<int, std::vector<Factor>> m_factors;
    std::map<const QV_VarParam*, Id> m_ids;
    std::map<const QV_VarParam*, double> m_values;
};

std::vector<int> SetMembers(const SUValue& set);

template <class Array>
void GridField::AddArray(Array& array, int id, const std::vector<const QV_Set*>& sets,
                         const std::vector<Factor>& factors) {
    m_factors[id] = factors;
    std::vector<std::vector<int>> members;
    for (const QV_Set* set : sets) {
        members.push_back(SetMembers(set->v()));
    }
    std::vector<int> index(sets.size(), 0);
    std::vector<std::size_t> at(sets.size(), 0);
    for (const auto& m : members) {
        if (m.empty()) {
            return;
        }
    }
    while (true) {
        for (std::size_t d = 0; d < sets.size(); ++d) {
            index[d] = members[d][at[d]];
        }
        if constexpr (requires { array.Get(0, 0, 0); }) {
            Add(array.Get(index[0], index[1], index[2]), id, index);
        } else {
            Add(array.Get(index[0], index[1]), id, index);
        }
        std::size_t d = sets.size();
        while (d-- > 0 && ++at[d] == members[d].size()) {
            at[d] = 0;
        }
        if (d == std::size_t(-1)) {
            return;
        }
    }
}

} // namespace pellorin::testing
