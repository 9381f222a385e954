// Real domains and a distribution over them, set up as a modeller sets them (user-specified
// values, which the library's own assignments leave standing) and driven as the host drives
// them, for one, two or three directions; with the checks every end-to-end test makes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "domain/domain_fixture.h"
#include "drive.h"
#include "tests/distribution/assignments.h"
#include "tests/distribution/exact_field.h"
#include "types/domain/domain.h"

namespace testsupport {

// One direction's domain: its method, sections, boundary condition and highest derivative,
// and the distribution's used order along it (below 0: the distribution's default).
struct Direction {
    std::string method;
    int sections = 1;
    std::string ebc = "Backward";
    int used = 2;
    int hod = 2;
};

template <int Rank>
struct Configuration {
    std::array<Direction, Rank> directions;
    std::string integrals; // comma-separated; empty leaves the default
};

// "x_CFD4_3s_hod2_used1_y_OCFE2_1s_hod2_used2_Forward_idx_idy".
std::string TestName(const Direction* directions, int rank, const std::string& integrals);
template <int Rank>
std::string TestName(const Configuration<Rank>& c) {
    return TestName(c.directions.data(), Rank, c.integrals);
}
template <int Rank>
void PrintTo(const Configuration<Rank>& c, std::ostream* out) {
    *out << TestName(c);
}

// Specifies "NAME=VALUE;NAME=VALUE" as a user does; a value refused fails the test.
void SpecifyAll(QV_Container& object, const std::string& settings);

// An array of the distribution, the declared set of each of its dimensions, and what its
// elements hold of the exact field along each direction.
struct ArrayRow {
    const char* name;
    const QV_Matrix* matrix;
    std::vector<const QV_Set*> sets;
    std::vector<Factor> factors;
    std::function<const QV_VarParam*(const std::vector<int>&)> get;
};

template <class Array>
ArrayRow Row(const char* name, Array& array, std::vector<const QV_Set*> sets,
             std::vector<Factor> factors) {
    return {name, &array, std::move(sets), std::move(factors),
            [&array](const std::vector<int>& i) -> const QV_VarParam* {
                if constexpr (requires { array.Get(0, 0, 0); }) {
                    return array.Get(i[0], i[1], i[2]);
                } else if constexpr (requires { array.Get(0, 0); }) {
                    return array.Get(i[0], i[1]);
                } else {
                    return array.Get(i[0]);
                }
            }};
}

template <class Distribution, int Rank>
struct RealModel {
    // Every domain linked, nothing specified.
    RealModel() {
        for (int d = 0; d < Rank; ++d) {
            const std::string name = std::string(1, "XYZ"[d]) + "DOMAIN";
            vzt::Link(
                *dynamic_cast<QV_ExternalBase*>(vzt::FindProperty(distribution, name.c_str())),
                &domains[d]);
        }
    }
    explicit RealModel(const Configuration<Rank>& c) : RealModel() {
        std::string own = c.integrals.empty() ? "" : "INTEGRALS=" + c.integrals;
        for (int d = 0; d < Rank; ++d) {
            const Direction& dir = c.directions[d];
            SpecifyAll(domains[d], "DISCRETIZATIONMETHOD=" + dir.method +
                                       ";NUMSECTIONS=" + std::to_string(dir.sections) +
                                       ";HIGHESTORDERDERIVATIVE=" + std::to_string(dir.hod) +
                                       ";ELEMENTBOUNDARYCONDITION=" + dir.ebc);
            if (dir.used >= 0) {
                own += std::string(own.empty() ? "" : ";") + "HIGHESTORDER" + "XYZ"[d] +
                       "DERIVATIVEUSED=" + std::to_string(dir.used);
            }
        }
        SpecifyAll(distribution, own);
    }

    // A model with each domain's settings and the distribution's own, as SpecifyAll takes them.
    static std::unique_ptr<RealModel> From(const std::array<std::string, Rank>& domainSettings,
                                           const std::string& own = "") {
        auto model = std::make_unique<RealModel>();
        for (int d = 0; d < Rank; ++d) {
            SpecifyAll(model->domains[d], domainSettings[d]);
        }
        SpecifyAll(model->distribution, own);
        return model;
    }

    std::vector<vzt::ModelOutcome> Drive(const vzt::DriveSettings& settings = {}) {
        std::vector<QV_ModelType*> models;
        for (QV_DOMAIN& domain : domains) {
            models.push_back(&domain);
        }
        models.push_back(&distribution);
        return vzt::Drive(models, settings);
    }

    // Drives the model, ExecuteAssignments given (a, b) = (7, 3), and lists what the
    // distribution's assignments left (see Assignments).
    std::string AssignmentsAfterDrive() {
        constexpr vzt::DriveSettings tags{.a = 7, .b = 3};
        Drive(tags);
        return Assignments(distribution, tags.b, tags.a);
    }

    // Defined per distribution; its arrays in their order.
    std::vector<ArrayRow> Arrays();
    static pellorin::eqn::StatementView StatementTable();
    static int OwnDirection(int statement);

    // Every element of the declared sets and every section's element length.
    ExactField Field() {
        std::vector<std::vector<double>> nodes;
        for (QV_DOMAIN& domain : domains) {
            nodes.emplace_back();
            for (int i = 0; i <= domain.ENDNODE.v(); ++i) {
                nodes.back().push_back(domain.VALUE.get()->Get(i)->v());
            }
        }
        ExactField field(nodes);
        for (int d = 0; d < Rank; ++d) {
            for (int s = 1; s <= domains[d].NUMSECTIONS.v(); ++s) {
                const QV_REALPARAMETER& h = domains[d].SECTION.get()->Get(s)->ELEMENTLENGTH;
                field.AddLength(&h, d, s, h.v());
            }
        }
        const std::vector<ArrayRow> rows = Arrays();
        for (int id = 0; id < int(rows.size()); ++id) {
            const ArrayRow& row = rows[id];
            field.SetFactors(id, row.factors);
            std::vector<std::vector<int>> members;
            for (const QV_Set* set : row.sets) {
                members.push_back(Members(set->v()));
            }
            ForEachIndex(members,
                         [&](const std::vector<int>& at) { field.Add(row.get(at), id, at); });
        }
        return field;
    }

    Statements Checks() {
        Statements s{StatementTable(), &OwnDirection};
        for (int d = 0; d < Rank; ++d) {
            s.collocation[d] = IsCollocation(domains[d].DISCRETIZATIONMETHOD.v());
        }
        return s;
    }

    // No lookup made an element outside the declared set of each dimension (an array makes its
    // elements when they are first looked up); with `everyElement`, the walks also looked up
    // every element of every set. Meaningful only before anything but the walks looked up.
    void ExpectLookupsInside(bool everyElement = false) {
        for (const ArrayRow& row : Arrays()) {
            for (std::size_t dim = 0; dim < row.sets.size(); ++dim) {
                const std::vector<int> made = Members(vzt::IndexValues(*row.matrix, int(dim)));
                const std::vector<int> declared = Members(row.sets[dim]->v());
                if (everyElement) {
                    EXPECT_EQ(made, declared) << row.name << " " << dim + 1;
                } else {
                    EXPECT_TRUE(
                        std::includes(declared.begin(), declared.end(), made.begin(), made.end()))
                        << row.name << " has elements outside its index set " << dim + 1;
                }
            }
            if (everyElement) {
                const QV_LongPtrVectorOwnsData& table = vzt::Elements(*row.matrix);
                std::size_t missing = 0;
                for (std::size_t i = 0; i < table.Size(); ++i) {
                    missing += table.At(i) == nullptr ? 1 : 0;
                }
                EXPECT_EQ(missing, 0u) << row.name << " has slots no walk looked up";
            }
        }
    }

    QV_DOMAIN domains[Rank];
    Distribution distribution;

private:
    static void ForEachIndex(const std::vector<std::vector<int>>& members,
                             const std::function<void(const std::vector<int>&)>& visit,
                             std::vector<int> at = {}) {
        if (at.size() == members.size()) {
            visit(at);
            return;
        }
        for (int m : members[at.size()]) {
            at.push_back(m);
            ForEachIndex(members, visit, at);
            at.pop_back();
        }
    }
};

// What one Drive of a distribution returned and registered hangs together: the k-th instance
// of SetUpEquations is the k-th of JacPattern, in group and in incidence (the residual's terms
// in stream order), and stands in a group past `lastGroup`; both results advance their base by
// the number of instances; JacPattern numbers its equations from its base and writes one
// rows/cols entry per incidence entry.
void ExpectWalksAgree(const QV_EquationStore& store, const vzt::ModelOutcome& outcome,
                      int setUpBase, int jacPatternBase, int lastGroup = 0);

// An element's index from its name: "(3,0)" gives {3, 0, 0}.
std::array<int, 3> IndexOf(const QV_VarParam* element);

// The size of `domain`'s bordered set: node 0, the interior nodes and the end node.
int BorderedSize(QV_DOMAIN& domain);

// A model of each configuration, driven once per test as the host drives it, with bases and
// a last group the walks must advance from.
template <class Distribution, int Rank>
class EndToEnd : public HostTest, public ::testing::WithParamInterface<Configuration<Rank>> {
protected:
    void SetUp() override {
        HostTest::SetUp();
        vzt::EnableJournal(false);
        vzt::Base().setUpEquations = 100;
        vzt::Base().jacPattern = 200;
        QV_ModelType::m_stLastGroup = 40;
        model = std::make_unique<RealModel<Distribution, Rank>>(this->GetParam());
        outcome = model->Drive().back();
        ASSERT_GT(outcome.setUpResult, 100);
    }
    void TearDown() override {
        model.reset();
        HostTest::TearDown();
    }

    // Both walks agree within the declared index sets.
    void ExpectWalksAgreeInsideTheSets(bool everyElement = false) {
        model->ExpectLookupsInside(everyElement);
        ExpectWalksAgree(vzt::Equations(model->distribution), outcome, 100, 200, 40);
    }
    // Residuals vanish up to each statement's degree, and one degree higher leaves a residual.
    void ExpectExactToEachStatementsDegree() {
        ExactField field = model->Field();
        const Statements statements = model->Checks();
        ExpectResidualsVanish(vzt::Equations(model->distribution), statements, field);
        ExpectOneDegreeHigherLeavesAResidual(vzt::Equations(model->distribution), statements,
                                             field);
    }

    std::unique_ptr<RealModel<Distribution, Rank>> model;
    vzt::ModelOutcome outcome;
};

} // namespace testsupport
