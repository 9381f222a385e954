// Readers of the index sets a domain and the models on it declare.
#pragma once

#include <string>
#include <vector>

#include "specify.h"
#include "support/host_fixture.h"
#include "types/domain/domain.h"

namespace testsupport {

inline std::vector<int> Members(const QV_SetValue& set) {
    std::vector<int> members;
    for (std::size_t i = 0; i < set.Size(); ++i) {
        members.push_back(set.Integer(int(i)));
    }
    return members;
}

inline std::vector<int> Range(int lo, int hi) {
    std::vector<int> r;
    for (int i = lo; i <= hi; ++i) {
        r.push_back(i);
    }
    return r;
}

} // namespace testsupport
