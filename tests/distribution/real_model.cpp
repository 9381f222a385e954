#include "tests/distribution/real_model.h"

#include <climits>
#include <cstdio>

#include "specify.h"
#include "standin/host_access.h"

namespace testsupport {

std::string TestName(const Direction* directions, int rank, const std::string& integrals) {
    std::string out;
    for (int d = 0; d < rank; ++d) {
        const Direction& x = directions[d];
        out += (d ? "_" : "") + std::string(1, "xyz"[d]) + "_" + x.method + "_" +
               std::to_string(x.sections) + "s" +
               (x.hod == 2 ? "" : "_hod" + std::to_string(x.hod)) +
               (x.used < 0 ? "" : "_used" + std::to_string(x.used)) +
               (IsCollocation(x.method) ? "_" + x.ebc : "");
    }
    if (!integrals.empty()) {
        out += "_";
        for (char c : integrals) {
            out += c == ',' ? '_' : c;
        }
    }
    return out;
}

void SpecifyAll(QV_Container& object, const std::string& settings) {
    for (std::size_t at = 0; at < settings.size();) {
        const std::size_t end = std::min(settings.find(';', at), settings.size());
        const std::string item = settings.substr(at, end - at);
        const std::size_t equals = item.find('=');
        QV_Containable* property = vzt::FindProperty(object, item.substr(0, equals).c_str());
        std::string error = "no property " + item.substr(0, equals);
        if (property == nullptr ||
            !vzt::SpecifyFromText(*property, item.substr(equals + 1), error)) {
            ADD_FAILURE() << error;
        }
        at = end + 1;
    }
}

void ExpectWalksAgree(const QV_EquationStore& store, const vzt::ModelOutcome& outcome,
                      int setUpBase, int jacPatternBase, int lastGroup) {
    const std::size_t n = store.InstanceCount();
    EXPECT_EQ(outcome.setUpResult, setUpBase + int(n));
    EXPECT_EQ(outcome.jacPatternResult, jacPatternBase + int(n));
    EXPECT_EQ(outcome.overruns, 0u);
    EXPECT_EQ(outcome.misroutedTokens, 0u);
    EXPECT_EQ(outcome.rowsWritten, store.IncidenceCount());
    ASSERT_EQ(store.EquationCount(), n);
    for (std::size_t k = 0; k < n; ++k) {
        const QV_InstanceView instance = store.Instance(k);
        const QV_EquationView equation = store.Equation(k);
        ASSERT_EQ(instance.group, equation.group) << k;
        ASSERT_GT(instance.group, lastGroup) << k;
        ASSERT_EQ(equation.counter, jacPatternBase + int(k));
        std::vector<const QV_VarParam*> terms, incidence;
        for (std::size_t t = 0; t < equation.tokenCount; ++t) {
            if (equation.tokens[t].kind == QV_Token::Kind::Term) {
                terms.push_back(equation.tokens[t].term);
            }
        }
        for (std::size_t t = 0; t < instance.incidenceCount; ++t) {
            incidence.push_back(instance.incidence[t]);
        }
        ASSERT_EQ(incidence, terms) << equation.name << ", instance " << k;
    }
}

std::array<int, 3> IndexOf(const QV_VarParam* element) {
    std::array<int, 3> index{};
    std::sscanf(vzt::PropertyName(*element), "(%d,%d,%d)", &index[0], &index[1], &index[2]);
    return index;
}

int BorderedSize(QV_DOMAIN& domain) {
    SUValue set = QV_IntSetValue(0, INT_MIN);
    set += domain.INTERIOR.v();
    set += domain.ENDNODE.v();
    return int(set.Size());
}

} // namespace testsupport
