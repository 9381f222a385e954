#include "run.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>
#include <new>

#include "drive.h"
#include "model_reader.h"
#include "numbers.h"
#include "one_line.h"
#include "report.h"
#include "specify.h"
#include "standin/testing.h"

namespace vzhost {
namespace {

constexpr int kModelFailed = 1;
constexpr int kBadInput = 2;
constexpr const char* kDomainIdentity = "Model DOMAIN\tV10";
constexpr const char* kOutOfMemory = "out of memory: the model is too large for this machine";

struct Released {
    void operator()(QV_ModelType* object) const { object->Release(); }
};
using ModelHandle = std::unique_ptr<QV_ModelType, Released>;

// Why a run stops: input that is not what the command takes (status 2), or a model that could
// not be made (status 1).
struct BadInput {
    std::string what;
};
struct ModelFailure {
    std::string what;
};

std::vector<std::pair<std::string, std::string>> ParseSpec(const std::string& spec) {
    std::vector<std::pair<std::string, std::string>> pairs;
    // Comma-separated items; a comma at the end ends the last item, not one more.
    for (std::size_t start = 0; start < spec.size();) {
        const std::size_t comma = std::min(spec.find(',', start), spec.size());
        const std::string item = spec.substr(start, comma - start);
        start = comma + 1;
        const auto equals = item.find('=');
        if (equals == std::string::npos || equals == 0) {
            throw BadInput{"malformed setting '" + item + "' (expected NAME=VALUE)"};
        }
        pairs.emplace_back(item.substr(0, equals), item.substr(equals + 1));
    }
    return pairs;
}

// A domain setting's property: its short name's, or the name as given.
std::string DomainProperty(const std::string& key) {
    for (const auto& [shortName, property] : DomainKeys()) {
        if (shortName == key) {
            return property;
        }
    }
    return key;
}

void Specify(QV_Container& object, const std::string& name, const std::string& value) {
    QV_Containable* property = vzt::FindProperty(object, name.c_str());
    if (property == nullptr) {
        throw BadInput{"unknown property '" + name + "'"};
    }
    std::string error;
    if (!vzt::SpecifyFromText(*property, value, error)) {
        throw BadInput{error};
    }
}

ModelHandle Create(const vzt::TypeLibrary& library, const std::string& type) {
    if (!library.HasType(type)) {
        throw BadInput{"unknown type '" + type + "'"};
    }
    ModelHandle object(library.Create(type));
    if (!object) {
        throw ModelFailure{"the factory of " + type + " returned no object"};
    }
    return object;
}

// A domain for one direction, of the type its settings name (DOMAIN by default).
ModelHandle MakeDomain(const vzt::TypeLibrary& library, const std::string& spec) {
    auto settings = ParseSpec(spec);
    std::string type = "DOMAIN";
    for (auto it = settings.begin(); it != settings.end();) {
        if (it->first == "type") {
            type = it->second;
            it = settings.erase(it);
        } else {
            ++it;
        }
    }
    ModelHandle domain = Create(library, type);
    if (!domain->ContainerDerivesFrom(kDomainIdentity)) {
        throw BadInput{"'" + type + "' is not a domain type"};
    }
    for (const auto& [key, value] : settings) {
        Specify(*domain, DomainProperty(key), value);
    }
    return domain;
}

// Why a model's run failed, or empty when it did not.
std::string FailureOf(const std::string& type, const vzt::ModelOutcome& outcome) {
    if (outcome.assignmentStatus < 0) {
        return type + " failed: ExecuteAssignments returned " +
               vzt::IntegerText(outcome.assignmentStatus);
    }
    if (outcome.setUpResult < 0) {
        return type + " failed: SetUpEquations returned " + vzt::IntegerText(outcome.setUpResult);
    }
    if (outcome.jacPatternResult < 0) {
        return type + " failed: JacPattern returned " + vzt::IntegerText(outcome.jacPatternResult);
    }
    if (outcome.overruns > 0 || outcome.misroutedTokens > 0) {
        return type + " failed: JacPattern wrote past its rows or into another equation";
    }
    return {};
}

} // namespace

std::span<const DomainKey> DomainKeys() {
    static constexpr DomainKey keys[] = {{"method", "DISCRETIZATIONMETHOD"},
                                         {"sections", "NUMSECTIONS"},
                                         {"ebc", "ELEMENTBOUNDARYCONDITION"},
                                         {"hod", "HIGHESTORDERDERIVATIVE"},
                                         {"length", "LENGTH"},
                                         {"spacing", "SPACINGPREFERENCE"}};
    return keys;
}

int Run(const vzt::TypeLibrary& library, const RunOptions& options, Output& out, Output& err) {
    // The library carries on without what the host could not allocate, so a run in which an
    // allocation failed may give a model that lacks parts: it is not reported as a result.
    const std::size_t failedAllocations = vzt::Allocator().failedAllocations;
    try {
        ModelHandle model = Create(library, options.type);
        std::vector<ModelHandle> domains;
        std::map<char, QV_ModelType*> byDirection;
        if (model->ContainerDerivesFrom(kDomainIdentity)) {
            for (const auto& [direction, spec] : options.domainSpecs) {
                if (direction != 'x') {
                    throw BadInput{options.type + " has no " + std::string(1, direction) +
                                   " direction"};
                }
                for (const auto& [key, value] : ParseSpec(spec)) {
                    Specify(*model, DomainProperty(key), value);
                }
            }
        } else {
            for (const auto& [direction, spec] : options.domainSpecs) {
                const std::string reference =
                    std::string(1, char(std::toupper(direction))) + "DOMAIN";
                auto* external =
                    dynamic_cast<QV_ExternalBase*>(vzt::FindProperty(*model, reference.c_str()));
                if (external == nullptr) {
                    throw BadInput{options.type + " has no " + std::string(1, direction) +
                                   " domain"};
                }
                domains.push_back(MakeDomain(library, spec));
                vzt::Link(*external, domains.back().get());
                byDirection[direction] = domains.back().get();
            }
            // A direction the user left out gets a default domain.
            for (char direction : {'x', 'y', 'z'}) {
                const std::string reference =
                    std::string(1, char(std::toupper(direction))) + "DOMAIN";
                auto* external =
                    dynamic_cast<QV_ExternalBase*>(vzt::FindProperty(*model, reference.c_str()));
                if (external != nullptr && external->ExternalLink() == nullptr) {
                    domains.push_back(MakeDomain(library, ""));
                    vzt::Link(*external, domains.back().get());
                    byDirection[direction] = domains.back().get();
                }
            }
        }
        for (const auto& [name, value] : options.settings) {
            Specify(*model, name, value);
        }

        std::vector<QV_ModelType*> order;
        for (const ModelHandle& domain : domains) {
            order.push_back(domain.get());
        }
        order.push_back(model.get());
        const std::vector<vzt::ModelOutcome> outcomes = vzt::Drive(order);
        if (vzt::Allocator().failedAllocations != failedAllocations) {
            model.reset();
            err << ErrorLine("out of memory: the model could not be made whole");
            return kModelFailed;
        }

        if (model->ContainerDerivesFrom(kDomainIdentity)) {
            byDirection['x'] = model.get();
        }
        // A node count outside 32 bits is taken as the smallest integer: such a layout
        // cannot be held, whatever memory there is.
        for (const auto& [direction, domain] : byDirection) {
            if (IntegerOf(*domain, "ENDNODE") == INT_MIN) {
                err << ErrorLine(kOutOfMemory);
                return kModelFailed;
            }
        }
        Report(out, options.format, options.type, *model, outcomes.back(), byDirection);
        // The model refers to its domains: release it first.
        model.reset();
        for (std::size_t m = 0; m < outcomes.size(); ++m) {
            const std::string failure =
                FailureOf(m + 1 < outcomes.size() ? "the domain" : options.type, outcomes[m]);
            if (!failure.empty()) {
                err << ErrorLine(failure);
                return kModelFailed;
            }
        }
        return 0;
    } catch (const BadInput& bad) {
        // A setting refused because what it names could not be allocated is no bad input.
        if (vzt::Allocator().failedAllocations != failedAllocations) {
            err << ErrorLine(kOutOfMemory);
            return kModelFailed;
        }
        err << ErrorLine(bad.what);
        return kBadInput;
    } catch (const std::bad_alloc&) {
        err << ErrorLine(kOutOfMemory);
        return kModelFailed;
    } catch (const ModelFailure& failure) {
        err << ErrorLine("the model could not be run: " + failure.what);
        return kModelFailed;
    } catch (const std::exception& failure) {
        err << ErrorLine(std::string("the model could not be run: ") + failure.what());
        return kModelFailed;
    }
}

} // namespace vzhost
