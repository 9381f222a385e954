#include "describe.h"

#include <algorithm>
#include <array>
#include <vector>

#include "numbers.h"
#include "one_line.h"
#include "standin/host_access.h"

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

void DescribeProperties(Output& out, const QV_Container& object) {
    // One row per property: position, name, flavour, direction, then the rest of the line.
    // Each column is as wide as its longest entry, with two spaces between columns.
    std::vector<std::array<std::string, 5>> rows;
    for (const QV_Containable* property : vzt::Properties(object)) {
        std::array<std::string, 5>& row = rows.emplace_back();
        row[0] = vzt::IntegerText(static_cast<long long>(rows.size()));
        row[1] = vzt::PropertyName(*property);
        row[2] = FlavourName(vzt::PropertyFlavour(*property));
        const QV_Direction direction = vzt::PropertyDirection(*property);
        row[3] =
            "direction " + vzt::IntegerText(int(direction)) + " (" + DirectionName(direction) + ")";
        std::string& rest = row[4];
        if (const auto* port = dynamic_cast<const QV_PortType*>(property)) {
            rest += "  " + Printable(port->QV_DefaultDESCRIPTION()) +
                    (port->IsToBeExported() ? ", exported" : ", not exported");
            if (port->HostPortType() != 0) {
                rest += ", host port type " + vzt::IntegerText(port->HostPortType());
            }
        }
        if (const char* description = vzt::PropertyDescription(*property)) {
            rest += "  \"" + std::string(description) + "\"";
        }
    }
    std::array<std::size_t, 4> width{};
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < width.size(); ++c) {
            width[c] = std::max(width[c], row[c].size());
        }
    }
    for (const auto& row : rows) {
        std::string line(width[0] - row[0].size() + 1, ' ');
        line += row[0];
        for (std::size_t c = 1; c < width.size(); ++c) {
            line += "  " + row[c];
            if (c + 1 < width.size() || !row[4].empty()) {
                line.append(width[c] - row[c].size(), ' ');
            }
        }
        out << line << row[4] << '\n';
    }
}

} // namespace vzhost
