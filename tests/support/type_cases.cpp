#include "support/type_cases.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <algorithm>
#include <cctype>
#include <iterator>
#include <utility>

#include "types/distribution1d/distribution1d.h"
#include "types/distribution2d/distribution2d.h"
#include "types/distribution3d/distribution3d.h"
#include "types/domain/domain.h"
#include "types/generic/models.h"
#include "types/generic/signals.h"

namespace testsupport {
namespace {

// An export of the type library, which the test program links.
void* LibraryExport(const std::string& name) {
#if defined(_WIN32)
    return reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("Pellorin360_1.dll"), name.c_str()));
#else
    return dlsym(RTLD_DEFAULT, name.c_str());
#endif
}

constexpr auto kExternal = QV_RegistrationFlavour::External;
constexpr auto kVirtual = QV_RegistrationFlavour::Virtual;
constexpr auto kType = QV_RegistrationFlavour::Type;

// What a type does of its own beyond registering: equations come with assignments.
enum class Own { Nothing, Assignments, Equations };

// A type whose identity is "<kind> <type>\tV10", one class level over each of the model types
// it derives from. All but ports are made through their exported factory, as the host does.
template <class T>
TypeCase Case(const std::string& kind, const std::string& type, std::vector<std::string> bases,
              std::vector<Registration> registrations, Own own = Own::Nothing) {
    for (std::string& base : bases) {
        base = "Model " + base + "\tV10";
    }
    TypeCase c{.type = type,
               .identity = kind + " " + type + "\tV10",
               .ancestors = bases,
               .levels = int(bases.size()) + 1,
               .registrations = registrations,
               .assigns = own != Own::Nothing,
               .equations = own == Own::Equations};
    c.make = [](bool construct, QV_Container* parent) -> QV_ModelType* {
        return new T(construct, parent);
    };
    c.construct = [](QV_ModelType* object) { static_cast<T*>(object)->Construct(); };
    if (kind != "Port") {
        c.factory = [type] {
            using Factory = QV_ModelType* (*)();
            auto factory = reinterpret_cast<Factory>(LibraryExport(type + "Factory"));
            return factory != nullptr ? factory() : nullptr;
        };
    }
    return c;
}

const std::vector<Registration> kModelPorts = {{"USERNOTES"},
                                               {"COMPONENTLIST"},
                                               {"INPUTSIGNAL", 4, FollowUp::Unexport},
                                               {"OUTPUTSIGNAL", 8, FollowUp::Unexport}};
const std::vector<Registration> kControlSignal = {
    {"USERNOTES"}, {"SOURCE", 4, FollowUp::Unexport}, {"DEST", 8, FollowUp::Unexport}};
const std::vector<Registration> kConnection = {
    {"USERNOTES"}, {"SOURCE", 4, FollowUp::HostPortType4}, {"DEST", 8, FollowUp::HostPortType4}};

const std::vector<Registration> kSectionData = {
    {"USERNOTES"},
    {"COMPONENTLIST"},
    {"INPUTSIGNAL", 4, FollowUp::Unexport},
    {"OUTPUTSIGNAL", 8, FollowUp::Unexport},
    {"MINNODECOUNT", 0, FollowUp::None, kExternal},
    {"LOCATION", 0, FollowUp::None, kVirtual, "Absolute location of LH boundary of this section"},
    {"SPACINGPREFERENCE", 0, FollowUp::None, kVirtual,
     "Preferred spacing between nodes in this section"},
    {"SPACINGUSED", 0, FollowUp::None, kVirtual,
     "Actual spacing used between nodes in this section"},
    {"LENGTH"},
    {"NODECOUNT"},
    {"BASE"},
    {"NUMELEMENTS"},
    {"ELEMENTLENGTH"},
    {"INTERIOR"}};

const std::vector<Registration> kDomain = {
    {"QV_SECTION_SET1"},
    {"SECTION", 0, FollowUp::None, kVirtual},
    {"LENGTH", 0, FollowUp::None, kVirtual, "Domain length"},
    {"SPACINGPREFERENCE", 0, FollowUp::None, kVirtual, "Preferred node spacing for domain"},
    {"QV_VALUE_SET1"},
    {"VALUE", 0, FollowUp::None, kVirtual, "DO NOT EDIT - Location of each node in domain"},
    {"USERNOTES"},
    {"INPUTSIGNAL", 4, FollowUp::Unexport},
    {"OUTPUTSIGNAL", 8, FollowUp::Unexport},
    {"DISCRETIZATIONMETHOD", 0, FollowUp::None, kType,
     "Method used to calculate partial derivatives"},
    {"NUMSECTIONS", 0, FollowUp::None, kType, "Number of sections in the domain"},
    {"MINNODECOUNT"},
    {"NUMPOLYPOINTS"},
    {"QV_POLYPOINT_SET1"},
    {"POLYPOINT"},
    {"HIGHESTORDERDERIVATIVE"},
    {"ELEMENTBOUNDARYCONDITION", 0, FollowUp::None, kType,
     "Direction of derivative used as boundary condition for OCFE models"},
    {"INTERIOR"},
    {"ENDNODE", 0, FollowUp::None, kType,
     "DO NOT EDIT - Index of the rightmost element in domain"}};

// A distribution over the given directions and integrals: its domains, value and ports, the
// derivative orders and INTEGRALS, then each array after its own sets, one per direction but
// those of D2DY2 (y) and D2DZ2 (z), which are the domains' interiors.
std::vector<Registration> Distribution(const std::string& dims,
                                       const std::vector<std::string>& over) {
    std::vector<Registration> out;
    for (char d : dims) {
        out.push_back({std::string(1, d) + "DOMAIN", 0, FollowUp::None, kExternal});
    }
    for (std::size_t k = 1; k <= dims.size(); ++k) {
        out.push_back({"QV_VALUE_SET" + std::to_string(k)});
    }
    out.push_back({"VALUE", 0, FollowUp::None, kVirtual, "Variable value at a node point"});
    out.push_back({"USERNOTES"});
    out.push_back({"INPUTSIGNAL", 4, FollowUp::Unexport});
    out.push_back({"OUTPUTSIGNAL", 8, FollowUp::Unexport});
    for (const char* used : {"", "USED"}) {
        for (char d : dims) {
            out.push_back({std::string("HIGHESTORDER") + d + "DERIVATIVE" + used});
        }
    }
    std::vector<std::pair<std::string, std::string>> arrays;
    for (const char* order : {"1st", "2nd"}) {
        for (char d : dims) {
            const std::string name =
                order[0] == '1' ? std::string("DD") + d : "D2D" + (d + std::string("2"));
            arrays.push_back(
                {name, order + std::string("-order partial deriv wrt ") + char(std::tolower(d))});
        }
    }
    std::string valid; // "idx, idy, idxdy" for "x", "y", "x and y"
    for (const std::string& directions : over) {
        std::string id = "i";
        for (char d : directions) {
            id += d >= 'x' ? std::string("d") + d : "";
        }
        valid += (valid.empty() ? "" : ", ") + id;
        std::transform(id.begin(), id.end(), id.begin(), [](char c) { return std::toupper(c); });
        arrays.push_back({id, "integral of distributed variable wrt " + directions});
    }
    out.push_back({"INTEGRALS", 0, FollowUp::None, kType,
                   "Integrals to be calculated. Valid values: " + valid});
    for (const auto& [name, description] : arrays) {
        for (std::size_t k = 1; k <= dims.size(); ++k) {
            const bool interior = (name == "D2DY2" && k == 2) || (name == "D2DZ2" && k == 3);
            if (!interior) {
                out.push_back({"QV_" + name + "_SET" + std::to_string(k)});
            }
        }
        out.push_back({name, 0, FollowUp::None, kType, description});
    }
    return out;
}

// One direction words two descriptions its own way.
const std::vector<Registration> kDistribution1D = [] {
    std::vector<Registration> out = Distribution("X", {"x"});
    out[8].description = "Integrals to be calculated. Valid value: idx";
    out[14].description = "integral of distributed variable over X domain";
    return out;
}();
const std::vector<Registration> kDistribution2D = Distribution("XY", {"x", "y", "x and y"});
const std::vector<Registration> kDistribution3D =
    Distribution("XYZ", {"x", "y", "z", "x and y", "x and z", "y and z", "x, y and z"});

} // namespace

const std::vector<TypeCase>& AllTypes() {
    static const std::vector<TypeCase> cases = {
        Case<QV_GENERICMODEL>("Model", "GENERICMODEL", {}, kModelPorts),
        Case<QV_GENERICSTREAM>("Stream", "GENERICSTREAM", {},
                               {{"USERNOTES"},
                                {"COMPONENTLIST"},
                                {"QV_UNCONNECTABLEINPUT", 4, FollowUp::Unexport},
                                {"QV_UNCONNECTABLEOUTPUT", 8, FollowUp::Unexport},
                                {"INPUTSIGNAL", 4, FollowUp::Unexport},
                                {"OUTPUTSIGNAL", 8, FollowUp::Unexport}}),
        Case<QV_GENERICSTRUCTURE>("Structure", "GENERICSTRUCTURE", {},
                                  {{"USERNOTES"}, {"COMPONENTLIST"}}),
        Case<QV_GENERICCONTROLSIGNAL>("Model", "GENERICCONTROLSIGNAL", {}, kControlSignal),
        Case<QV_CONTROLSIGNAL>("Model", "CONTROLSIGNAL", {"GENERICCONTROLSIGNAL"}, kControlSignal),
        Case<QV_GENERICCONNECTION>("Model", "GENERICCONNECTION", {}, kConnection),
        Case<QV_CONNECTION>("Model", "CONNECTION", {"GENERICCONNECTION"}, kConnection),
        Case<QV_GENERICPORT>("Port", "GENERICPORT", {},
                             {{"ISCONNECTED"}, {"ISLINKED"}, {"COMPONENTLIST"}}),
        Case<QV_CONTROLPORT>("Port", "CONTROLPORT", {}, {}),
        Case<QV_CONNECTIONPORT>("Port", "CONNECTIONPORT", {}, {}),
        Case<QV_SECTIONDATAMODEL>("Model", "SECTIONDATAMODEL", {"GENERICMODEL"}, kSectionData),
        Case<QV_DOMAIN>("Model", "DOMAIN", {}, kDomain, Own::Assignments),
        Case<QV_LENGTHDOMAIN>("Model", "LENGTHDOMAIN", {"DOMAIN"}, kDomain, Own::Assignments),
        Case<QV_ANGLEDOMAIN>("Model", "ANGLEDOMAIN", {"DOMAIN"}, kDomain, Own::Assignments),
        Case<QV_DISTRIBUTION1D>("Model", "DISTRIBUTION1D", {}, kDistribution1D, Own::Equations),
        Case<QV_DISTRIBUTION2D>("Model", "DISTRIBUTION2D", {}, kDistribution2D, Own::Equations),
        Case<QV_DISTRIBUTION3D>("Model", "DISTRIBUTION3D", {}, kDistribution3D, Own::Equations),
    };
    return cases;
}

std::vector<TypeCase> CreatableTypes() {
    std::vector<TypeCase> creatable;
    std::copy_if(AllTypes().begin(), AllTypes().end(), std::back_inserter(creatable),
                 [](const TypeCase& c) { return c.factory != nullptr; });
    return creatable;
}

} // namespace testsupport
