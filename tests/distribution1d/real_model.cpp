#include "real_model.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>

#include "domain/domain_fixture.h"
#include "types/distribution1d/statements.h"

namespace testsupport {

using pellorin::testing::ExactField;
namespace dist1d = pellorin::dist1d;

void PrintTo(const Configuration& c, std::ostream* out) {
    *out << c.method << ", " << c.sections << " sections, hod " << c.hod
         << (c.idx ? ", idx, " : ", ") << c.ebc;
}

std::string TestName(const Configuration& c) {
    return c.method + "_" + std::to_string(c.sections) + "s_hod" + std::to_string(c.hod) +
           (c.idx ? "_idx_" : "_") + c.ebc;
}

std::vector<Configuration> EveryMethod(int maxSections, bool boundaryConditionsForAll) {
    std::vector<Configuration> all;
    for (const char* method : pellorin::testing::kMethods) {
        for (int sections = 1; sections <= maxSections; ++sections) {
            for (int hod : {1, 2}) {
                for (bool idx : {false, true}) {
                    for (const char* ebc : {"Backward", "Forward"}) {
                        if (boundaryConditionsForAll || pellorin::testing::IsCollocation(method) ||
                            std::string(ebc) == "Backward") {
                            all.push_back({method, sections, hod, idx, ebc});
                        }
                    }
                }
            }
        }
    }
    return all;
}

RealModel::RealModel() {
    distribution.XDOMAIN.Link(&domain);
}

RealModel::RealModel(const Configuration& c) : RealModel() {
    domain.DISCRETIZATIONMETHOD.Specify(QV_Value(c.method.c_str(), 0u));
    domain.NUMSECTIONS.Specify(QV_Value(c.sections, 0u));
    domain.HIGHESTORDERDERIVATIVE.Specify(QV_Value(c.hod, 0u));
    domain.ELEMENTBOUNDARYCONDITION.Specify(QV_Value(c.ebc.c_str(), 0u));
    if (c.idx) {
        distribution.INTEGRALS.Specify(QV_Value("idx", 0u));
    }
}

ExactField RealModel::Field() {
    std::vector<double> x;
    for (int i = 0; i <= EndNode(); ++i) {
        x.push_back(domain.VALUE.get()->Get(i)->v());
    }
    std::vector<double> h;
    for (int s = 1; s <= domain.NUMSECTIONS.v(); ++s) {
        h.push_back(domain.SECTION.get()->Get(s)->ELEMENTLENGTH.v());
    }
    ExactField field(x, h);
    auto add = [&](auto& array, const QV_INTEGERSET& set, int id) {
        for (int i : Members(set.v())) {
            field.Add(array.Get(i), {id, i});
        }
    };
    QV_DISTRIBUTION1D& d = distribution;
    add(*d.VALUE.get(), d.QV_VALUE_SET1, dist1d::kValue);
    add(d.DDX, d.QV_DDX_SET1, dist1d::kDdx);
    add(d.D2DX2, d.QV_D2DX2_SET1, dist1d::kD2dx2);
    add(d.IDX, d.QV_IDX_SET1, dist1d::kIdx);
    for (int s = 1; s <= domain.NUMSECTIONS.v(); ++s) {
        field.Add(&domain.SECTION.get()->Get(s)->ELEMENTLENGTH, {-1, s});
    }
    return field;
}

pellorin::testing::BalanceCount RealModel::Count() {
    QV_DISTRIBUTION1D& d = distribution;
    pellorin::testing::BalanceCount count;
    count.used = d.HIGHESTORDERXDERIVATIVEUSED.v();
    count.endNode = EndNode();
    count.secondDerivativeNodes = int(d.QV_D2DX2_SET1.v().Size());
    count.unknowns = int(d.QV_VALUE_SET1.v().Size() + d.QV_DDX_SET1.v().Size() +
                         d.QV_D2DX2_SET1.v().Size() + d.QV_IDX_SET1.v().Size());
    count.distributionEquations = int(d.Equations().InstanceCount());
    return count;
}

void ExpectWalksAgree(const QV_EquationStore& store, const vzt::ModelOutcome& outcome,
                      int setUpBase, int jacPatternBase) {
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
        ASSERT_EQ(equation.counter, jacPatternBase + int(k));
        std::vector<const QV_VarParam*> terms;
        for (std::size_t t = 0; t < equation.tokenCount; ++t) {
            if (equation.tokens[t].kind == QV_Token::Kind::Term) {
                terms.push_back(equation.tokens[t].term);
            }
        }
        ASSERT_EQ(pellorin::testing::IncidenceOf(instance), terms)
            << equation.name << ", instance " << k;
    }
}

void ExpectInside(const QV_Matrix& array, const std::vector<const QV_Set*>& sets,
                  const char* name) {
    for (std::size_t dim = 0; dim < sets.size(); ++dim) {
        const std::vector<int> made = Members(array.IndexValues(int(dim)));
        const std::vector<int> declared = Members(sets[dim]->v());
        EXPECT_TRUE(std::includes(declared.begin(), declared.end(), made.begin(), made.end()))
            << name << " has elements outside its index set " << dim + 1;
    }
}

const QV_VarParam* Unknown(const QV_EquationView& eq) {
    for (std::size_t t = 0; t < eq.tokenCount; ++t) {
        if (eq.tokens[t].kind == QV_Token::Kind::Term) {
            return eq.tokens[t].term;
        }
    }
    return nullptr;
}

std::array<int, 3> IndexOf(const QV_VarParam* element) {
    std::array<int, 3> index{};
    std::sscanf(element->PropertyName(), "(%d,%d,%d)", &index[0], &index[1], &index[2]);
    return index;
}

int BorderedSize(QV_DOMAIN& domain) {
    SUValue set = QV_IntSetValue(0, INT_MIN);
    set += domain.INTERIOR.v();
    set += domain.ENDNODE.v();
    return int(set.Size());
}

void ExpectLookupsInsideTheIndexSets(QV_DISTRIBUTION1D& d, bool everyElement) {
    auto expect = [everyElement](const QV_Matrix& array, const QV_INTEGERSET& set,
                                 const char* name) {
        if (everyElement) {
            EXPECT_EQ(Members(array.IndexValues(0)), Members(set.v())) << name;
        } else {
            ExpectInside(array, {&set}, name);
        }
    };
    expect(*d.VALUE.get(), d.QV_VALUE_SET1, "VALUE");
    expect(d.DDX, d.QV_DDX_SET1, "DDX");
    expect(d.D2DX2, d.QV_D2DX2_SET1, "D2DX2");
    expect(d.IDX, d.QV_IDX_SET1, "IDX");
}

} // namespace testsupport
