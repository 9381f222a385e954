// The general-purpose types as the tests see them: how to make each, what it registers,
// and what it derives from.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "types/generic/models.h"
#include "types/generic/signals.h"

namespace testsupport {

enum class FollowUp { None, Unexport, HostPortType4 };

struct Registration {
    std::string name;
    int direction;
    FollowUp followUp;
};

struct TypeCase {
    std::string type;
    std::string identity;
    std::vector<std::string> ancestors;     // identities of its base types
    int levels;                             // class levels of the library's own
    std::function<QV_ModelType*()> factory; // null for ports
    std::vector<Registration> registrations;
    std::function<QV_ModelType*(bool construct, QV_Container* parent)> make;
    std::function<void(QV_ModelType*)> construct; // runs the type's own Construct
};

inline std::ostream& operator<<(std::ostream& out, const TypeCase& c) {
    return out << c.type;
}

// Every type of the library whose identity a test may compare against.
const std::vector<std::string>& AllIdentities();

// The ten general-purpose types; the creatable ones have a factory.
const std::vector<TypeCase>& GenericTypes();
std::vector<TypeCase> CreatableGenericTypes();

} // namespace testsupport
