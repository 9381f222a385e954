#include "generic/type_cases.h"

#include <utility>

extern "C" {
QV_GENERICMODEL* GENERICMODELFactory();
QV_GENERICSTREAM* GENERICSTREAMFactory();
QV_GENERICSTRUCTURE* GENERICSTRUCTUREFactory();
QV_GENERICCONTROLSIGNAL* GENERICCONTROLSIGNALFactory();
QV_CONTROLSIGNAL* CONTROLSIGNALFactory();
QV_GENERICCONNECTION* GENERICCONNECTIONFactory();
QV_CONNECTION* CONNECTIONFactory();
}

namespace testsupport {
namespace {

template <class T>
TypeCase Case(std::string type, std::string identity, std::vector<std::string> ancestors,
              int levels, std::function<QV_ModelType*()> factory,
              std::vector<Registration> registrations) {
    return {std::move(type),
            std::move(identity),
            std::move(ancestors),
            levels,
            std::move(factory),
            std::move(registrations),
            [](bool construct, QV_Container* parent) -> QV_ModelType* {
                return new T(construct, parent);
            },
            [](QV_ModelType* object) { static_cast<T*>(object)->Construct(); }};
}

const std::vector<Registration> kModelPorts = {{"USERNOTES", 0, FollowUp::None},
                                               {"COMPONENTLIST", 0, FollowUp::None},
                                               {"INPUTSIGNAL", 4, FollowUp::Unexport},
                                               {"OUTPUTSIGNAL", 8, FollowUp::Unexport}};
const std::vector<Registration> kControlSignal = {{"USERNOTES", 0, FollowUp::None},
                                                  {"SOURCE", 4, FollowUp::Unexport},
                                                  {"DEST", 8, FollowUp::Unexport}};
const std::vector<Registration> kConnection = {{"USERNOTES", 0, FollowUp::None},
                                               {"SOURCE", 4, FollowUp::HostPortType4},
                                               {"DEST", 8, FollowUp::HostPortType4}};

} // namespace

const std::vector<std::string>& AllIdentities() {
    static const std::vector<std::string> identities = {"Model GENERICMODEL\tV10",
                                                        "Model SECTIONDATAMODEL\tV10",
                                                        "Model DOMAIN\tV10",
                                                        "Model LENGTHDOMAIN\tV10",
                                                        "Model ANGLEDOMAIN\tV10",
                                                        "Model DISTRIBUTION1D\tV10",
                                                        "Model DISTRIBUTION2D\tV10",
                                                        "Model DISTRIBUTION3D\tV10",
                                                        "Model GENERICCONTROLSIGNAL\tV10",
                                                        "Model CONTROLSIGNAL\tV10",
                                                        "Model GENERICCONNECTION\tV10",
                                                        "Model CONNECTION\tV10",
                                                        "Stream GENERICSTREAM\tV10",
                                                        "Structure GENERICSTRUCTURE\tV10",
                                                        "Port GENERICPORT\tV10",
                                                        "Port CONTROLPORT\tV10",
                                                        "Port CONNECTIONPORT\tV10"};
    return identities;
}

const std::vector<TypeCase>& GenericTypes() {
    static const std::vector<TypeCase> cases = {
        Case<QV_GENERICMODEL>("GENERICMODEL", "Model GENERICMODEL\tV10", {}, 1, GENERICMODELFactory,
                              kModelPorts),
        Case<QV_GENERICSTREAM>("GENERICSTREAM", "Stream GENERICSTREAM\tV10", {}, 1,
                               GENERICSTREAMFactory,
                               {{"USERNOTES", 0, FollowUp::None},
                                {"COMPONENTLIST", 0, FollowUp::None},
                                {"QV_UNCONNECTABLEINPUT", 4, FollowUp::Unexport},
                                {"QV_UNCONNECTABLEOUTPUT", 8, FollowUp::Unexport},
                                {"INPUTSIGNAL", 4, FollowUp::Unexport},
                                {"OUTPUTSIGNAL", 8, FollowUp::Unexport}}),
        Case<QV_GENERICSTRUCTURE>(
            "GENERICSTRUCTURE", "Structure GENERICSTRUCTURE\tV10", {}, 1, GENERICSTRUCTUREFactory,
            {{"USERNOTES", 0, FollowUp::None}, {"COMPONENTLIST", 0, FollowUp::None}}),
        Case<QV_GENERICCONTROLSIGNAL>("GENERICCONTROLSIGNAL", "Model GENERICCONTROLSIGNAL\tV10", {},
                                      1, GENERICCONTROLSIGNALFactory, kControlSignal),
        Case<QV_CONTROLSIGNAL>("CONTROLSIGNAL", "Model CONTROLSIGNAL\tV10",
                               {"Model GENERICCONTROLSIGNAL\tV10"}, 2, CONTROLSIGNALFactory,
                               kControlSignal),
        Case<QV_GENERICCONNECTION>("GENERICCONNECTION", "Model GENERICCONNECTION\tV10", {}, 1,
                                   GENERICCONNECTIONFactory, kConnection),
        Case<QV_CONNECTION>("CONNECTION", "Model CONNECTION\tV10", {"Model GENERICCONNECTION\tV10"},
                            2, CONNECTIONFactory, kConnection),
        Case<QV_GENERICPORT>("GENERICPORT", "Port GENERICPORT\tV10", {}, 1, nullptr,
                             {{"ISCONNECTED", 0, FollowUp::None},
                              {"ISLINKED", 0, FollowUp::None},
                              {"COMPONENTLIST", 0, FollowUp::None}}),
        Case<QV_CONTROLPORT>("CONTROLPORT", "Port CONTROLPORT\tV10", {}, 1, nullptr, {}),
        Case<QV_CONNECTIONPORT>("CONNECTIONPORT", "Port CONNECTIONPORT\tV10", {}, 1, nullptr, {}),
    };
    return cases;
}

std::vector<TypeCase> CreatableGenericTypes() {
    std::vector<TypeCase> creatable;
    for (const TypeCase& c : GenericTypes()) {
        if (c.factory) {
            creatable.push_back(c);
        }
    }
    return creatable;
}

} // namespace testsupport
