#include "describe.h"

#include <iomanip>

namespace vzhost {
namespace {

const char* FlavourName(QV_RegistrationFlavour flavour) {
    switch (flavour) {
    case QV_RegistrationFlavour::Type:
        return "property";
    case QV_RegistrationFlavour::External:
        return "external";
    case QV_RegistrationFlavour::Virtual:
        return "virtual";
    default:
        return "unregistered";
    }
}

const char* DirectionName(QV_Direction direction) {
    switch (direction) {
    case QV_DirectionInput:
        return "input";
    case QV_DirectionOutput:
        return "output";
    default:
        return "none";
    }
}

} // namespace

std::string Printable(const char* identity) {
    std::string text;
    for (const char* p = identity; p != nullptr && *p != 0; ++p) {
        if (*p == '\t') {
            text += "\\t";
        } else {
            text += *p;
        }
    }
    return text;
}

void DescribeProperties(std::ostream& out, const QV_Container& object) {
    int position = 0;
    for (const QV_Containable* property : object.Properties()) {
        out << std::setw(3) << ++position << "  " << std::left << std::setw(26)
            << property->PropertyName() << std::setw(9) << FlavourName(property->PropertyFlavour())
            << "direction " << int(property->PropertyDirection()) << " ("
            << DirectionName(property->PropertyDirection()) << ")" << std::right;
        if (const auto* port = dynamic_cast<const QV_PortType*>(property)) {
            out << "  " << Printable(port->QV_DefaultDESCRIPTION())
                << (port->IsToBeExported() ? ", exported" : ", not exported");
            if (port->HostPortType() != 0) {
                out << ", host port type " << port->HostPortType();
            }
        }
        if (const char* description = property->PropertyDescription()) {
            out << "  \"" << description << "\"";
        }
        out << '\n';
    }
}

} // namespace vzhost
