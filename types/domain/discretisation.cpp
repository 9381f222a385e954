// The domain's assignments: three index sets and the numbered statements that turn the
// method, the section count and the length into sections, elements, nodes and positions.
//
// Two amendments keep one run self-consistent: every section's location is assigned before
// any section's length is computed from the locations (so a multi-section domain is laid out
// correctly by a single run), and the first-order methods reset the number of interior points
// (so a method change never keeps another method's points).
#include <algorithm>
#include <array>
#include <cstring>
#include <limits>
#include <vector>

#include "framework/assign.h"
#include "types/domain/domain.h"
#include "types/domain/methods.h"
#include "types/domain/rounding.h"

namespace {

using pellorin::methods::FindMethodRow;
using pellorin::methods::Interior;
using pellorin::methods::Method;

// The difference methods that place interior points: their element length is the node
// spacing and their nodes are placed as a uniform grid.
bool IsDifferenceMethod(const char* name) {
    const Method* method = FindMethodRow(name);
    return method != nullptr && method->interior == Interior::Grid;
}

// Node numbers that do not fit 32 bits address no node.
bool FitsNode(long long node) {
    return node >= INT_MIN && node <= INT_MAX;
}

double RealOf(QV_Virtual<QV_REALPARAMETER>& member) {
    const QV_REALPARAMETER* p = pellorin::Linked(member);
    return p != nullptr ? p->v() : std::numeric_limits<double>::quiet_NaN();
}

} // namespace

// One run of the statements, with the two integers every value is tagged with.
class DomainDiscretisation {
public:
    DomainDiscretisation(QV_DOMAIN& domain, int a, int b) : d(domain), m_a(a), m_b(b) {}

    // False when an index set could not be given its value (one too large to hold, say).
    bool BuildIndexSets(int pass) {
        return pellorin::InitialiseIndexSet(d, d.QV_SECTION_SET1,
                                            Tagged(QV_IntSetValue(1, d.NUMSECTIONS.v()), 1),
                                            pass) == 0 &&
               pellorin::InitialiseIndexSet(
                   d, d.QV_VALUE_SET1, Tagged(QV_IntSetValue(0, d.ENDNODE.v()), 2), pass) == 0 &&
               pellorin::InitialiseIndexSet(d, d.QV_POLYPOINT_SET1,
                                            Tagged(QV_IntSetValue(1, d.NUMPOLYPOINTS.v()), 3),
                                            pass) == 0;
    }

    // False when the run stopped at an assignment the host refused or an object it could not
    // make: what is left would only fail the same way, one section or node at a time.
    bool RunStatements() {
        Put(Resolved(d.LENGTH), 1.0, 4);
        Put(Resolved(d.SPACINGPREFERENCE), (RealOf(d.LENGTH) * 0.125) / double(d.NUMSECTIONS.v()),
            5);
        MethodConstants();
        Put(&d.HIGHESTORDERDERIVATIVE, 1, 24);
        SectionLocations();
        m_nodesBefore = 0.0;
        for (long long s = 1, last = d.NUMSECTIONS.v(); s <= last && m_ok; ++s) {
            SectionLayout(int(s));
        }
        // Both go over every section or node again: after a failure they would only try to
        // make what could not be made.
        if (m_ok) {
            DomainInteriorAndEnd();
        }
        if (m_ok) {
            NodePositions();
        }
        return m_ok;
    }

private:
    template <class V>
    QV_Value Tagged(const V& value, int n) const {
        return QV_Value(value, m_b, m_a, n);
    }

    // Once a statement has failed, none runs.
    template <class Target, class V>
    void Put(Target* target, const V& value, int n) {
        if (target != nullptr && m_ok) {
            m_ok = pellorin::Assign(*target, Tagged(value, n)) == 0;
        }
    }

    // An element of one of the domain's arrays, or a failed run when it cannot be had.
    template <class Element>
    Element* Needed(Element* element) {
        m_ok = m_ok && element != nullptr;
        return m_ok ? element : nullptr;
    }

    // The object a virtual member stands for, which the host makes when it is first asked
    // for, or a failed run when it cannot be had.
    QV_REALPARAMETER* Resolved(QV_Virtual<QV_REALPARAMETER>& member) {
        return Needed(pellorin::Linked(member));
    }

    // Statements 6 to 23: the smallest node count, the interior points and their positions.
    void MethodConstants() {
        const Method* layout = FindMethodRow(static_cast<const char*>(d.DISCRETIZATIONMETHOD));
        if (layout == nullptr) {
            return;
        }
        Put(&d.MINNODECOUNT, layout->minNodeCount, layout->minNodeCountStatement);
        Put(&d.NUMPOLYPOINTS, layout->interiorPoints, layout->interiorPointsStatement);
        for (int p = 1; p <= layout->interiorPoints && m_ok; ++p) {
            Put(Needed(d.POLYPOINT.Get(p)), layout->points[p - 1],
                layout->firstPointStatement + p - 1);
        }
    }

    // Statements 25 and 26, for every section before any length is derived from them. The
    // first section that cannot be made ends the run.
    void SectionLocations() {
        QV_SECTIONDATAMODEL* first = d.Section(1);
        Put(first != nullptr ? Resolved(first->LOCATION) : nullptr, 0.0, 25);
        const int sections = d.NUMSECTIONS.v();
        if (sections < 2 || Needed(first) == nullptr) {
            return;
        }
        for (long long s = 2; s <= sections && m_ok; ++s) {
            QV_SECTIONDATAMODEL* section = Needed(d.Section(int(s)));
            if (section == nullptr) {
                return;
            }
            Put(Resolved(section->LOCATION),
                RealOf(first->LOCATION) + (double(s - 1) * RealOf(d.LENGTH)) / double(sections),
                26);
        }
    }

    // Statements 27 to 40 for section s.
    void SectionLayout(int s) {
        QV_SECTIONDATAMODEL* section = Needed(d.Section(s));
        if (section == nullptr) {
            return;
        }
        QV_SECTIONDATAMODEL& S = *section;
        Put(Resolved(S.SPACINGPREFERENCE), RealOf(d.SPACINGPREFERENCE), 27);
        if (s == d.NUMSECTIONS.v()) {
            QV_SECTIONDATAMODEL* first = d.Section(1);
            const double start = first != nullptr ? RealOf(first->LOCATION) : 0.0;
            Put(&S.LENGTH, (start + RealOf(d.LENGTH)) - RealOf(S.LOCATION), 28);
        } else {
            QV_SECTIONDATAMODEL* next = d.Section(s + 1);
            const double nextLocation =
                next != nullptr ? RealOf(next->LOCATION) : std::numeric_limits<double>::quiet_NaN();
            Put(&S.LENGTH, nextLocation - RealOf(S.LOCATION), 29);
        }

        const long long n = pellorin::NodeCountOfSpacing(S.LENGTH.v(), RealOf(S.SPACINGPREFERENCE));
        const int minNodeCount = d.MINNODECOUNT.v();
        const long long pointsPlusOne = (long long)d.NUMPOLYPOINTS.v() + 1;
        // A section holds whole elements: a count is raised to a multiple of NP + 1, the
        // user's MINNODECOUNT as well as the count from the spacing.
        const auto wholeElements = [pointsPlusOne](long long count) {
            const long long raised =
                (long long)pellorin::TruncateToInt(double(count + pointsPlusOne - 1) /
                                                   double(pointsPlusOne)) *
                pointsPlusOne;
            return pellorin::ClampToInt(raised);
        };
        if (n < minNodeCount) {
            Put(&S.NODECOUNT, wholeElements(minNodeCount), 30);
        } else {
            Put(&S.NODECOUNT, wholeElements(n), 31);
        }
        // BASE is the sum of the earlier sections' node counts, kept as the sections are laid
        // out, so that a domain of many sections is laid out in linear time.
        if (s > 1) {
            Put(&S.BASE, pellorin::TruncateToInt(m_nodesBefore), 32);
        } else {
            Put(&S.BASE, 0, 33);
        }
        m_nodesBefore += double(S.NODECOUNT.v());
        Put(Resolved(S.SPACINGUSED), S.LENGTH.v() / double(S.NODECOUNT.v()), 34);
        Put(&S.NUMELEMENTS,
            pellorin::TruncateToInt(double(S.NODECOUNT.v()) / double(pointsPlusOne)), 35);

        if (SpacingIsElementLength()) {
            Put(&S.ELEMENTLENGTH, RealOf(S.SPACINGUSED), 36);
        } else {
            Put(&S.ELEMENTLENGTH, double(pointsPlusOne) * RealOf(S.SPACINGUSED), 37);
        }

        const long long base = S.BASE.v();
        const QV_IntSetValue allButEnds(pellorin::ClampToInt(base + 1),
                                        pellorin::ClampToInt(base + S.NODECOUNT.v() - 1));
        if (d.HIGHESTORDERDERIVATIVE.v() >= 2) {
            if (SpacingIsElementLength()) {
                Put(&S.INTERIOR, allButEnds, 38);
            } else {
                Put(&S.INTERIOR, d.CollocationPoints(s), 39);
            }
        } else {
            Put(&S.INTERIOR, allButEnds, 40);
        }
    }

    // Statements 41 to 43.
    void DomainInteriorAndEnd() {
        Put(&d.INTERIOR, d.UnionFn60578464(), 41);
        if (d.HIGHESTORDERDERIVATIVE.v() < 2) {
            const long long end = pellorin::TruncateToInt(d.Sigma60578824());
            Put(&d.INTERIOR, QV_IntSetValue(1, pellorin::ClampToInt(end - 1)), 42);
        }
        Put(&d.ENDNODE, pellorin::TruncateToInt(d.Sigma60579144()), 43);
    }

    // Statements 44 to 48: the coordinate of every node.
    void NodePositions() {
        auto* values = Needed(d.VALUE.get());
        if (values == nullptr) {
            return;
        }
        QV_SECTIONDATAMODEL* first = d.Section(1);
        Put(Needed(values->Get(0)), first != nullptr ? RealOf(first->LOCATION) : 0.0, 44);
        // The method and each section's layout stay as they are while its nodes are placed.
        const int points = d.NUMPOLYPOINTS.v();
        const long long stride = (long long)points + 1;
        const bool difference =
            IsDifferenceMethod(static_cast<const char*>(d.DISCRETIZATIONMETHOD));
        for (long long s = 1, last = d.NUMSECTIONS.v(); s <= last && m_ok; ++s) {
            QV_SECTIONDATAMODEL* section = Needed(d.Section(int(s)));
            if (section == nullptr) {
                return;
            }
            const int elements = section->NUMELEMENTS.v();
            const long long base = section->BASE.v();
            const double location = RealOf(section->LOCATION);
            const double h = section->ELEMENTLENGTH.v();
            for (long long e = 1; e <= elements && m_ok; ++e) {
                for (long long p = 1; p <= points && m_ok; ++p) {
                    const long long node = base + (e - 1) * stride + p;
                    const QV_REALPARAMETER* point = d.POLYPOINT.Get(int(p));
                    const double offset =
                        ((double(e) + (point != nullptr ? point->v() : 0.0)) - 1.0) * h;
                    if (FitsNode(node)) {
                        Put(Needed(values->Get(int(node))),
                            difference ? location + offset * double(stride) : location + offset,
                            difference ? 45 : 47);
                    }
                }
                const long long node = base + e * stride;
                if (m_ok && FitsNode(node)) {
                    Put(Needed(values->Get(int(node))),
                        difference ? location + (double(e) * h) * double(stride)
                                   : location + double(e) * h,
                        difference ? 46 : 48);
                }
            }
        }
    }

    // No interior points, or a difference method: the element length is the node spacing.
    bool SpacingIsElementLength() {
        return d.NUMPOLYPOINTS.v() == 0 ||
               IsDifferenceMethod(static_cast<const char*>(d.DISCRETIZATIONMETHOD));
    }

    QV_DOMAIN& d;
    int m_a;
    int m_b;
    double m_nodesBefore = 0.0; // node counts of the sections laid out so far
    bool m_ok = true;           // false from the first statement that failed
};

bool QV_DOMAIN::RunAssignments(int a, int b) {
    DomainDiscretisation run(*this, a, b);
    return run.BuildIndexSets(0) && run.RunStatements() && run.BuildIndexSets(1);
}

QV_SECTIONDATAMODEL* QV_DOMAIN::Section(int s) {
    auto* sections = SECTION.get();
    return sections != nullptr ? sections->Get(s) : nullptr;
}

// No number when a section cannot be had: the sum would leave it out, and the later
// sections would only fail the same way.
double QV_DOMAIN::SumOfNodeCounts(int firstSection, int lastSection) {
    double sum = 0.0;
    for (long long k = firstSection; k <= lastSection; ++k) {
        QV_SECTIONDATAMODEL* section = Section(int(k));
        if (section == nullptr) {
            return std::numeric_limits<double>::quiet_NaN();
        }
        sum += double(section->NODECOUNT.v());
    }
    return sum;
}

double QV_DOMAIN::Sigma60547528(QV_IntegerSetIter& s) {
    return SumOfNodeCounts(1, s.v() - 1);
}
double QV_DOMAIN::Sigma60578824() {
    return SumOfNodeCounts(1, NUMSECTIONS.v());
}
double QV_DOMAIN::Sigma60579144() {
    return SumOfNodeCounts(1, NUMSECTIONS.v());
}

// Every piece of both unions lies after the members before it, so each union extends the set
// in place by what the piece adds: the collocation points take time linear in the section's
// elements, the interior in the sections. Both stop at the first piece they cannot have.
QV_SetValue& QV_DOMAIN::UnionFn60576704(QV_IntegerSetIter& s) {
    return CollocationPoints(s.v());
}

QV_SetValue& QV_DOMAIN::CollocationPoints(int s) {
    static QV_SetValue result;
    result = QV_SetValue();
    result.ResetType(QV_SetTypeUnion);
    QV_SECTIONDATAMODEL* section = Section(s);
    if (section == nullptr) {
        return result;
    }
    const long long points = NUMPOLYPOINTS.v();
    const int elements = section->NUMELEMENTS.v();
    for (long long e = 1; e <= elements; ++e) {
        const long long first = section->BASE.v() + (e - 1) * (points + 1);
        const QV_IntSetValue piece(pellorin::ClampToInt(first + 1),
                                   pellorin::ClampToInt(first + points));
        result += piece;
        // Only a union the host could not hold is empty after taking a member.
        if (result.IsEmpty() && !piece.IsEmpty()) {
            break;
        }
    }
    return result;
}

QV_SetValue& QV_DOMAIN::UnionFn60578464() {
    static QV_SetValue result;
    result = QV_SetValue();
    result.ResetType(QV_SetTypeUnion);
    for (long long k = 1, last = NUMSECTIONS.v(); k <= last; ++k) {
        QV_SECTIONDATAMODEL* section = Section(int(k));
        if (section == nullptr) {
            break;
        }
        result += section->INTERIOR.v();
    }
    return result;
}
