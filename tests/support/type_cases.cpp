#include "support/type_cases.h"

#include <cctype>
#include <utility>

#include "types/distribution1d/distribution1d.h"
#include "types/distribution2d/distribution2d.h"
#include "types/distribution3d/distribution3d.h"
#include "types/domain/domain.h"
#include "types/generic/models.h"
#include "types/generic/signals.h"

extern "C" {
QV_GENERICMODEL* GENERICMODELFactory();
QV_GENERICSTREAM* GENERICSTREAMFactory();
QV_GENERICSTRUCTURE* GENERICSTRUCTUREFactory();
QV_GENERICCONTROLSIGNAL* GENERICCONTROLSIGNALFactory();
QV_CONTROLSIGNAL* CONTROLSIGNALFactory();
QV_GENERICCONNECTION* GENERICCONNECTIONFactory();
QV_CONNECTION* CONNECTIONFactory();
QV_SECTIONDATAMODEL* SECTIONDATAMODELFactory();
QV_DOMAIN* DOMAINFactory();
QV_LENGTHDOMAIN* LENGTHDOMAINFactory();
QV_ANGLEDOMAIN* ANGLEDOMAINFactory();
QV_DISTRIBUTION1D* DISTRIBUTION1DFactory();
QV_DISTRIBUTION2D* DISTRIBUTION2DFactory();
QV_DISTRIBUTION3D* DISTRIBUTION3DFactory();
}

namespace testsupport {
namespace {

struct Kind {
    bool assigns = false;
    bool equations = false;
};

template <class T>
TypeCase Case(std::string type, std::string identity, std::vector<std::string> ancestors,
              int levels, std::function<QV_ModelType*()> factory, Kind kind = {}) {
    return {std::move(type),
            std::move(identity),
            std::move(ancestors),
            levels,
            std::move(factory),
            kind.assigns,
            kind.equations,
            [](bool construct, QV_Container* parent) -> QV_ModelType* {
                return new T(construct, parent);
            },
            [](QV_ModelType* object) { static_cast<T*>(object)->Construct(); }};
}

} // namespace

const std::vector<TypeCase>& AllTypes() {
    const Kind assigns{true, false};
    const Kind equations{true, true};
    static const std::vector<TypeCase> cases = {
        Case<QV_GENERICMODEL>("GENERICMODEL", "Model GENERICMODEL\tV10", {}, 1,
                              GENERICMODELFactory),
        Case<QV_GENERICSTREAM>("GENERICSTREAM", "Stream GENERICSTREAM\tV10", {}, 1,
                               GENERICSTREAMFactory),
        Case<QV_GENERICSTRUCTURE>("GENERICSTRUCTURE", "Structure GENERICSTRUCTURE\tV10", {}, 1,
                                  GENERICSTRUCTUREFactory),
        Case<QV_GENERICCONTROLSIGNAL>("GENERICCONTROLSIGNAL", "Model GENERICCONTROLSIGNAL\tV10", {},
                                      1, GENERICCONTROLSIGNALFactory),
        Case<QV_CONTROLSIGNAL>("CONTROLSIGNAL", "Model CONTROLSIGNAL\tV10",
                               {"Model GENERICCONTROLSIGNAL\tV10"}, 2, CONTROLSIGNALFactory),
        Case<QV_GENERICCONNECTION>("GENERICCONNECTION", "Model GENERICCONNECTION\tV10", {}, 1,
                                   GENERICCONNECTIONFactory),
        Case<QV_CONNECTION>("CONNECTION", "Model CONNECTION\tV10", {"Model GENERICCONNECTION\tV10"},
                            2, CONNECTIONFactory),
        Case<QV_GENERICPORT>("GENERICPORT", "Port GENERICPORT\tV10", {}, 1, nullptr),
        Case<QV_CONTROLPORT>("CONTROLPORT", "Port CONTROLPORT\tV10", {}, 1, nullptr),
        Case<QV_CONNECTIONPORT>("CONNECTIONPORT", "Port CONNECTIONPORT\tV10", {}, 1, nullptr),
        Case<QV_SECTIONDATAMODEL>("SECTIONDATAMODEL", "Model SECTIONDATAMODEL\tV10",
                                  {"Model GENERICMODEL\tV10"}, 2, SECTIONDATAMODELFactory),
        Case<QV_DOMAIN>("DOMAIN", "Model DOMAIN\tV10", {}, 1, DOMAINFactory, assigns),
        Case<QV_LENGTHDOMAIN>("LENGTHDOMAIN", "Model LENGTHDOMAIN\tV10", {"Model DOMAIN\tV10"}, 2,
                              LENGTHDOMAINFactory, assigns),
        Case<QV_ANGLEDOMAIN>("ANGLEDOMAIN", "Model ANGLEDOMAIN\tV10", {"Model DOMAIN\tV10"}, 2,
                             ANGLEDOMAINFactory, assigns),
        Case<QV_DISTRIBUTION1D>("DISTRIBUTION1D", "Model DISTRIBUTION1D\tV10", {}, 1,
                                DISTRIBUTION1DFactory, equations),
        Case<QV_DISTRIBUTION2D>("DISTRIBUTION2D", "Model DISTRIBUTION2D\tV10", {}, 1,
                                DISTRIBUTION2DFactory, equations),
        Case<QV_DISTRIBUTION3D>("DISTRIBUTION3D", "Model DISTRIBUTION3D\tV10", {}, 1,
                                DISTRIBUTION3DFactory, equations),
    };
    return cases;
}

std::vector<TypeCase> CreatableTypes() {
    std::vector<TypeCase> creatable;
    for (const TypeCase& c : AllTypes()) {
        if (c.factory) {
            creatable.push_back(c);
        }
    }
    return creatable;
}

} // namespace testsupport
