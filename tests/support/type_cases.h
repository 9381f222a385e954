// The library's types as the tests see them: how to make each, what it registers, and what
// it derives from. Written from the types' declared tables, not from the code.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <vuzizev/vuzizev.h>

#include "standin/host_access.h"

namespace testsupport {

enum class FollowUp { None, Unexport, HostPortType4 };

struct Registration {
    std::string name;
    int direction = 0;
    FollowUp followUp = FollowUp::None;
    QV_RegistrationFlavour flavour = QV_RegistrationFlavour::Type;
    std::optional<std::string> description = std::nullopt;
};

struct TypeCase {
    std::string type;
    std::string identity;
    std::vector<std::string> ancestors;               // identities of its base types
    int levels;                                       // class levels of the library's own
    std::function<QV_ModelType*()> factory = nullptr; // null for ports
    std::vector<Registration> registrations;
    bool assigns;   // has assignments of its own
    bool equations; // registers equations (and needs a linked domain for them)
    std::function<QV_ModelType*(bool construct, QV_Container* parent)> make = nullptr;
    std::function<void(QV_ModelType*)> construct = nullptr; // runs the type's own Construct
};

inline std::ostream& operator<<(std::ostream& out, const TypeCase& c) {
    return out << c.type;
}

// Every type built so far; the creatable ones have a factory.
const std::vector<TypeCase>& AllTypes();
std::vector<TypeCase> CreatableTypes();

} // namespace testsupport
