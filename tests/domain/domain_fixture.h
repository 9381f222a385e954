// A domain on the stand-in host, with readers for the layout its assignments compute.
#pragma once

#include <string>
#include <vector>

#include "specify.h"
#include "support/host_fixture.h"
#include "types/domain/domain.h"

namespace testsupport {

struct SectionLayout {
    double location, length, spacingUsed, elementLength;
    int nodeCount, base, numElements;
    std::vector<int> interior;
    bool operator==(const SectionLayout&) const = default;
};

struct DomainLayout {
    int minNodeCount, numPolyPoints, endNode;
    std::vector<double> polyPoints;
    std::vector<SectionLayout> sections;
    std::vector<int> interior;
    std::vector<double> positions; // VALUE(0) to VALUE(ENDNODE)
    bool operator==(const DomainLayout&) const = default;
};

inline std::vector<int> Members(const SUValue& set) {
    std::vector<int> members;
    for (std::size_t i = 0; i < set.Size(); ++i) {
        members.push_back(set.Integer(int(i)));
    }
    return members;
}

inline std::vector<int> Range(int lo, int hi) {
    std::vector<int> r;
    for (int i = lo; i <= hi; ++i) {
        r.push_back(i);
    }
    return r;
}

class DomainTest : public HostTest {
protected:
    // A domain with the user's settings, given as text as a user gives them: the parameter
    // types' valid values and lower bounds apply.
    static void Configure(QV_DOMAIN& d, const std::string& method, int sections, int hod = 0,
                          double length = 0.0) {
        Specify(d.DISCRETIZATIONMETHOD, method);
        Specify(d.NUMSECTIONS, std::to_string(sections));
        if (hod > 0) {
            Specify(d.HIGHESTORDERDERIVATIVE, std::to_string(hod));
        }
        if (length > 0.0) {
            Specify(*d.LENGTH.get(), std::to_string(length));
        }
    }

    static void Specify(QV_Containable& property, const std::string& text) {
        std::string error;
        EXPECT_TRUE(vzt::SpecifyFromText(property, text, error)) << error;
    }

    static void Run(QV_DOMAIN& d, int a = 1, int b = 0) {
        d.SetDims();
        d.ExecuteAssignments(a, b);
    }

    static DomainLayout Read(QV_DOMAIN& d) {
        DomainLayout layout;
        layout.minNodeCount = d.MINNODECOUNT.v();
        layout.numPolyPoints = d.NUMPOLYPOINTS.v();
        layout.endNode = d.ENDNODE.v();
        for (int p = 1; p <= layout.numPolyPoints; ++p) {
            layout.polyPoints.push_back(d.POLYPOINT.Get(p)->v());
        }
        for (int s = 1; s <= d.NUMSECTIONS.v(); ++s) {
            QV_SECTIONDATAMODEL& S = *d.SECTION.get()->Get(s);
            layout.sections.push_back(
                {S.LOCATION.get()->v(), S.LENGTH.v(), S.SPACINGUSED.get()->v(), S.ELEMENTLENGTH.v(),
                 S.NODECOUNT.v(), S.BASE.v(), S.NUMELEMENTS.v(), Members(S.INTERIOR.v())});
        }
        layout.interior = Members(d.INTERIOR.v());
        for (int k = 0; k <= layout.endNode; ++k) {
            layout.positions.push_back(d.VALUE.get()->Get(k)->v());
        }
        return layout;
    }
};

} // namespace testsupport
