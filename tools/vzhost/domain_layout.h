// A domain's layout as the reports show it, read through the host's interface.
#pragma once

#include <string>
#include <vector>

#include <vuzizev/vuzizev.h>

namespace vzhost {

struct SectionLayout {
    int number, base, nodeCount, numElements;
    double location, length, elementLength;
    std::vector<int> interior;
};

struct DomainLayout {
    std::string method, boundary;
    int sections, endNode;
    std::vector<SectionLayout> layout;
    std::vector<double> nodes;
    std::vector<int> interior;
};

DomainLayout ReadDomain(const QV_ModelType& domain);

} // namespace vzhost
