// Hundreds of drawn configurations of a real domain and distribution, each driven as the host
// drives them: method (with lower-case spellings and an unknown one), sections, lengths,
// spacing, derivative orders, integrals and boundary condition. Whatever is drawn, both walks
// agree, every lookup stays inside its declared index set, nothing overruns, and destroying
// the model gives back everything it allocated.
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "tests/distribution/real_model.h"
#include "types/distribution1d/distribution1d.h"

namespace testsupport {

using Model1D = RealModel<QV_DISTRIBUTION1D, 1>;
template <>
std::vector<ArrayRow> Model1D::Arrays(); // with the other suite of this distribution

namespace {

struct Drawn {
    std::string method;
    int sections = 0;
    std::optional<double> length;
    std::optional<double> spacing; // the domain's SPACINGPREFERENCE
    std::vector<double> locations; // of sections 2 onward, set after a first layout
    int domainHod = 0;
    std::optional<int> declared; // HIGHESTORDERXDERIVATIVE
    std::optional<int> used;     // HIGHESTORDERXDERIVATIVEUSED
    bool idx = false;
    std::string ebc;
};

std::string Describe(const Drawn& d) {
    auto given = [](const auto& v) { return v ? std::to_string(*v) : std::string("default"); };
    std::string out = d.method + ", " + std::to_string(d.sections) + " sections, length " +
                      given(d.length) + ", spacing " + given(d.spacing) + ", locations";
    for (double location : d.locations) {
        out += " " + std::to_string(location);
    }
    return out + ", hod " + std::to_string(d.domainHod) + ", declared " + given(d.declared) +
           ", used " + given(d.used) + (d.idx ? ", idx, " : ", ") + d.ebc;
}

template <class T>
const T& Pick(std::mt19937& random, const std::vector<T>& choices) {
    return choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random)];
}

bool Chance(std::mt19937& random, double p) {
    return std::bernoulli_distribution(p)(random);
}

// Node counts stay small: a section has at most about 40 nodes.
Drawn Draw(std::mt19937& random) {
    static const std::vector<std::string> methods = {
        "BFD1",  "BFD2", "FFD1", "FFD2", "CFD2",  "CFD4",  "UBFD4", "OCFE2", "OCFE3",
        "OCFE4", "bfd1", "ffd2", "cfd4", "Ubfd4", "ocfe2", "Ocfe3", "ocFE4", "SPLINE"};
    static const std::vector<std::string> conditions = {"Backward", "Forward", "forward",
                                                        "BACKWARD", "Neither"};
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    Drawn d;
    d.method = Pick(random, methods);
    d.sections = std::uniform_int_distribution<int>(0, 4)(random);
    if (Chance(random, 0.6)) {
        d.length = 0.1 + 4.9 * unit(random);
    }
    if (Chance(random, 0.5)) {
        d.spacing =
            Chance(random, 0.2) ? 0.0 : d.length.value_or(1.0) * (0.02 + 0.5 * unit(random));
    }
    if (d.sections > 1 && Chance(random, 0.3)) {
        // Increasing locations inside the domain, so the sections differ in length.
        double location = 0.0;
        for (int s = 2; s <= d.sections; ++s) {
            location += (0.2 + unit(random)) / d.sections;
            d.locations.push_back(location * d.length.value_or(1.0) * 0.8);
        }
    }
    d.domainHod = std::uniform_int_distribution<int>(0, 3)(random);
    if (Chance(random, 0.3)) {
        d.declared = std::uniform_int_distribution<int>(0, 3)(random);
    }
    if (Chance(random, 0.3)) {
        d.used = std::uniform_int_distribution<int>(0, 3)(random);
    }
    d.idx = Chance(random, 0.5);
    d.ebc = Pick(random, conditions);
    return d;
}

void Configure(Model1D& m, const Drawn& d) {
    QV_DOMAIN& domain = m.domains[0];
    vzt::Specify(domain.DISCRETIZATIONMETHOD, QV_Value(d.method.c_str(), 0u));
    vzt::Specify(domain.NUMSECTIONS, QV_Value(d.sections, 0u));
    vzt::Specify(domain.HIGHESTORDERDERIVATIVE, QV_Value(d.domainHod, 0u));
    vzt::Specify(domain.ELEMENTBOUNDARYCONDITION, QV_Value(d.ebc.c_str(), 0u));
    if (d.length) {
        vzt::Specify(*pellorin::Linked(domain.LENGTH), QV_Value(*d.length, 0u));
    }
    if (d.spacing) {
        vzt::Specify(*pellorin::Linked(domain.SPACINGPREFERENCE), QV_Value(*d.spacing, 0u));
    }
    if (!d.locations.empty()) {
        // The section records exist once the domain has been laid out.
        domain.SetDims();
        domain.ExecuteAssignments(1, 0);
        for (std::size_t k = 0; k < d.locations.size(); ++k) {
            vzt::Specify(*pellorin::Linked(domain.SECTION.get()->Get(int(k) + 2)->LOCATION),
                         QV_Value(d.locations[k], 0u));
        }
    }
    if (d.declared) {
        vzt::Specify(m.distribution.HIGHESTORDERXDERIVATIVE, QV_Value(*d.declared, 0u));
    }
    if (d.used) {
        vzt::Specify(m.distribution.HIGHESTORDERXDERIVATIVEUSED, QV_Value(*d.used, 0u));
    }
    if (d.idx) {
        vzt::Specify(m.distribution.INTEGRALS, QV_Value("idx", 0u));
    }
}

using RandomConfigurations = HostTest;

TEST_F(RandomConfigurations, WalksAgreeInsideTheIndexSetsAndNothingLeaks) {
    vzt::EnableJournal(false);
    vzt::Base().setUpEquations = 100;
    vzt::Base().jacPattern = 200;
    std::mt19937 random(20240611);
    for (int run = 0; run < 300 && !HasFailure(); ++run) {
        const Drawn drawn = Draw(random);
        SCOPED_TRACE("configuration " + std::to_string(run) + ": " + Describe(drawn));
        {
            Model1D model;
            Configure(model, drawn);
            const vzt::ModelOutcome outcome = model.Drive()[1];
            model.ExpectLookupsInside();
            ExpectWalksAgree(vzt::Equations(model.distribution), outcome, 100, 200);
        }
        EXPECT_TRUE(AllocatorBalanced());
    }
}

} // namespace
} // namespace testsupport
