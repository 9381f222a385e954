// The half of a distribution's equation context that its domains answer, one domain per
// direction, read through the host's plain accessors in SetUpEquations and through the
// others in JacPattern. A distribution derives its own (final) context from it and adds its
// own values and arrays. Each domain's section array is resolved once and each section
// looked up once per walk: every instance of a section may name its element length.
#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "types/distribution/context.h"
#include "types/distribution/walk_memo.h"
#include "types/domain/domain.h"

namespace pellorin::eqn {

template <int Rank>
class DomainContext : public EquationContext {
public:
    explicit DomainContext(const std::array<QV_DOMAIN*, Rank>& domains) : m_domains(domains) {
        for (int d = 0; d < Rank; ++d) {
            m_sections[d] = domains[d]->SECTION.get();
        }
    }

    void BeginWalk(WalkKind kind) override {
        m_expressions = kind == WalkKind::Expressions;
        m_memberships = {};
    }

    const char* Method(int d) override { return Read(m_domains[d]->DISCRETIZATIONMETHOD); }
    const char* ElementBoundary(int d) override {
        return Read(m_domains[d]->ELEMENTBOUNDARYCONDITION);
    }
    int SectionCount(int d) override { return Read(m_domains[d]->NUMSECTIONS); }
    int PolyPoints(int d) override { return Read(m_domains[d]->NUMPOLYPOINTS); }
    int EndNode(int d) override { return Read(m_domains[d]->ENDNODE); }
    const QV_SetValue* Interior(int d) override { return &Read(m_domains[d]->INTERIOR); }

    bool HasSection(int d, int s) override { return Section(d, s) != nullptr; }
    int Base(int d, int s) override {
        const QV_SECTIONDATAMODEL* section = Section(d, s);
        return section != nullptr ? Read(section->BASE) : 0;
    }
    int NodeCount(int d, int s) override {
        const QV_SECTIONDATAMODEL* section = Section(d, s);
        return section != nullptr ? Read(section->NODECOUNT) : 0;
    }
    int ElementCount(int d, int s) override {
        const QV_SECTIONDATAMODEL* section = Section(d, s);
        return section != nullptr ? Read(section->NUMELEMENTS) : 0;
    }
    double ElementLengthValue(int d, int s) override {
        const QV_SECTIONDATAMODEL* section = Section(d, s);
        return section != nullptr ? Read(section->ELEMENTLENGTH)
                                  : std::numeric_limits<double>::quiet_NaN();
    }
    QV_VarParam* SectionParameter(int d, int, int s) override {
        QV_SECTIONDATAMODEL* section = Section(d, s);
        return section != nullptr ? &section->ELEMENTLENGTH : nullptr;
    }

protected:
    template <class Property>
    auto Read(const Property& property) const -> decltype(property.v()) {
        if constexpr (std::is_base_of_v<QV_STRINGPARAMETER, Property>) {
            return property; // a string parameter's text is its conversion to text
        } else {
            return m_expressions ? property.fv() : property.v();
        }
    }

    // Whether the set holds every index from `from` to `to`, in either order: a lookup
    // outside an array's declared sets would make an element the model does not have. The
    // set is ordered without repeats, so it does when it holds both ends that many places
    // apart. A walk asks the same questions row after row (every term of a row about the
    // row's other indices, each term about its own run of nodes), so the latest answers are
    // kept for the rest of the walk: the sets do not change during a walk.
    bool InSetRange(const QV_Set& set, int from, int to) {
        const int lo = from < to ? from : to;
        const int hi = from < to ? to : from;
        const std::uintptr_t key = reinterpret_cast<std::uintptr_t>(&set) / alignof(QV_Set) +
                                   std::uintptr_t(unsigned(lo)) * 0x9E3779B1u +
                                   std::uintptr_t(unsigned(hi)) * 0x85EBCA77u;
        Membership& known = m_memberships[key % kMemberships];
        if (known.set == &set && known.lo == lo && known.hi == hi) {
            return known.holds;
        }
        int first = 0;
        int last = 0;
        const auto& values = Read(set);
        const bool holds = values.SetContains(lo, first) && values.SetContains(hi, last) &&
                           (long long)last - first == (long long)hi - lo;
        known = {&set, lo, hi, holds};
        return holds;
    }

private:
    QV_SECTIONDATAMODEL* Section(int d, int s) {
        auto* sections = m_sections[d];
        return m_sectionMemo[d].Get(
            s, [&](int k) { return sections != nullptr ? sections->Get(k) : nullptr; });
    }

    std::array<QV_DOMAIN*, Rank> m_domains;
    std::array<QV_ARRAY_I<QV_SECTIONDATAMODEL, QV_SECTIONDATAMODEL>*, Rank> m_sections{};
    std::array<WalkMemo<QV_SECTIONDATAMODEL>, Rank> m_sectionMemo;
    struct Membership {
        const QV_Set* set = nullptr;
        int lo = 0;
        int hi = 0;
        bool holds = false;
    };
    static constexpr std::size_t kMemberships = 256;
    std::array<Membership, kMemberships> m_memberships{};
    bool m_expressions = false;
};

} // namespace pellorin::eqn
