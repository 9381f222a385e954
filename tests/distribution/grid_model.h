// Real domains and a distribution over them, set up as a modeller sets them (user-specified
// values, which the library's own assignments leave standing) and driven as the host drives
// them.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "drive.h"
#include "types/domain/domain.h"

namespace pellorin::testing {

// One direction's domain: its method, sections and boundary condition, with highest
// derivative 2, and the distribution's used order along it.
struct Direction {
    std::string method;
    int sections = 1;
    std::string ebc = "Backward";
    int used = 2;
};

// "CFD4_3s_used2", with the boundary condition for collocation methods.
std::string Describe(const Direction& d);
void Configure(QV_DOMAIN& domain, const Direction& d);
// The string set of the comma-separated members.
QV_StrSetValue Members(const std::string& commaSeparated);
// The distribution's property `name`, which must exist.
QV_VarParamProp& Property(QV_Container& object, const std::string& name);
// Specifies "NAME=VALUE;NAME=VALUE" as a user does; a value refused fails the test.
void SpecifyAll(QV_Container& object, const std::string& settings);

template <class Distribution, int Rank>
struct GridModel {
    // Every domain linked, nothing specified.
    GridModel() {
        for (int d = 0; d < Rank; ++d) {
            const std::string name = std::string(1, "XYZ"[d]) + "DOMAIN";
            dynamic_cast<QV_ExternalBase*>(distribution.FindProperty(name.c_str()))
                ->Link(&domains[d]);
        }
    }
    GridModel(const std::array<Direction, Rank>& directions, const std::string& integrals)
        : GridModel() {
        for (int d = 0; d < Rank; ++d) {
            Configure(domains[d], directions[d]);
            const std::string used = std::string("HIGHESTORDER") + "XYZ"[d] + "DERIVATIVEUSED";
            Property(distribution, used).Specify(QV_Value(directions[d].used, 0u));
        }
        Property(distribution, "INTEGRALS").Specify(QV_Value(Members(integrals), 0u));
    }

    // A model with each domain's settings and the distribution's own, as SpecifyAll takes
    // them.
    template <class Self>
    static std::unique_ptr<Self> From(const std::array<std::string, Rank>& domainSettings,
                                      const std::string& own = "") {
        auto model = std::make_unique<Self>();
        for (int d = 0; d < Rank; ++d) {
            SpecifyAll(model->domains[d], domainSettings[d]);
        }
        SpecifyAll(model->distribution, own);
        return model;
    }

    std::vector<vzt::ModelOutcome> Drive() {
        std::vector<QV_ModelType*> models;
        for (QV_DOMAIN& domain : domains) {
            models.push_back(&domain);
        }
        models.push_back(&distribution);
        return vzt::Drive(models);
    }
    std::vector<QV_DOMAIN*> Domains() {
        std::vector<QV_DOMAIN*> out;
        for (QV_DOMAIN& domain : domains) {
            out.push_back(&domain);
        }
        return out;
    }

    QV_DOMAIN domains[Rank];
    Distribution distribution;
};

} // namespace pellorin::testing
