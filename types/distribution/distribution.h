// What every distribution does the same way, over one, two or three domains, from its
// shape: the domains it needs linked, its settings per direction, its table of arrays and
// the numbers of its assignments. A distribution's hooks each hand over to one of these.
//   DeclareArray   registers an array's declared sets, then the array
//   BindArrays     dimensions every array by its sets (a domain's INTERIOR where a row says
//                  so; such an array stays unbound while that domain is not linked)
//   RunAssignments BuildIndexSets(0); the numbered statements; BuildIndexSets(1)
//   AddEquationInstances / AddEquationExpressions   the two equation walks
// Without every domain linked there is nothing to follow: nothing is assigned, and
// SetUpEquations fails.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <variant>

#include "framework/assign.h"
#include "framework/registrar.h"
#include "framework/string_in_set.h"
#include "types/distribution/array_table.h"
#include "types/distribution/grid_context.h"
#include "types/distribution/index_sets.h"
#include "types/distribution/registration.h"
#include "types/domain/domain.h"
#include "types/domain/rounding.h"

namespace pellorin::eqn {

// f applied to the alternative v holds, as std::visit would, without its failure path: a row's
// member is never valueless, and the library throws no standard exception of its own.
template <std::size_t I = 0, class F, class Variant>
decltype(auto) VisitMember(F&& f, const Variant& v) {
    if constexpr (I + 1 < std::variant_size_v<Variant>) {
        if (v.index() != I) {
            return VisitMember<I + 1>(f, v);
        }
    }
    return f(*std::get_if<I>(&v));
}

template <class Type, int Rank>
struct Shape {
    std::array<QV_External<QV_DOMAIN> Type::*, Rank> domains;
    std::array<QV_INTEGERPARAMETER Type::*, Rank> declared; // HIGHESTORDER<D>DERIVATIVE
    std::array<QV_INTEGERPARAMETER Type::*, Rank> used;     // HIGHESTORDER<D>DERIVATIVEUSED
    QV_STRINGSET Type::*integrals;
    std::span<const std::string_view> integralNames; // in the outline's order
    std::span<const ArrayRow<Type, Rank>> arrays;    // in the outline's order
    std::span<const std::array<FixedText<32>, Rank>> setNames;
    // The numbers of the statements that assign the orders from the domains and INTEGRALS.
    std::array<int, Rank> declaredNumbers;
    std::array<int, Rank> usedNumbers;
    int integralsNumber;
    const Outline& (*outline)();
};

template <class Type, int Rank>
class Distribution {
public:
    using Domains = std::array<QV_DOMAIN*, Rank>;
    using Row = ArrayRow<Type, Rank>;

    Distribution(Type& type, const Shape<Type, Rank>& shape) : m_type(type), m_shape(shape) {}

    // Every direction's domain, when all are linked.
    std::optional<Domains> LinkedDomains() const {
        Domains domains{};
        for (int d = 0; d < Rank; ++d) {
            domains[d] = (m_type.*m_shape.domains[d]).get();
            if (domains[d] == nullptr) {
                return std::nullopt;
            }
        }
        return domains;
    }

    void DeclareArray(Registrar& r, std::size_t row) {
        const Row& a = m_shape.arrays[row];
        for (int d = 0; d < Rank; ++d) {
            if (a.sets[d] != nullptr) {
                r(m_type.*a.sets[d], m_shape.setNames[row][d].c_str());
            }
        }
        VisitMember(
            [&](auto member) {
                r(m_type.*member, a.name.data(), QV_DirectionNone, a.description.data());
            },
            a.member);
    }

    void DeclareArrays(Registrar& r, std::size_t from) {
        for (std::size_t row = from; row < m_shape.arrays.size(); ++row) {
            DeclareArray(r, row);
        }
    }

    void BindArrays() {
        for (const Row& a : m_shape.arrays) {
            std::array<QV_Set*, Rank> sets{};
            if (!DeclaredSets(a, sets)) {
                continue;
            }
            if (Table* table = Elements(a)) {
                std::apply([&](auto*... set) { table->SetDim(*set...); }, sets);
            }
        }
    }

    // The index sets follow the domains' last nodes and interiors, the derivative orders in
    // use and the integrals asked for; the assignments take the derivative orders from the
    // domains. They stop at the first one the host refuses (an index set too large to hold,
    // say), and so does the step.
    bool RunAssignments(int a, int b) {
        const std::optional<Domains> domains = LinkedDomains();
        if (!domains) {
            return true;
        }
        bool ok = BuildIndexSets(*domains, a, b, 0);
        for (int d = 0; d < Rank && ok; ++d) {
            ok = pellorin::Assign(Declared(d), QV_Value((*domains)[d]->HIGHESTORDERDERIVATIVE.v(),
                                                        b, a, m_shape.declaredNumbers[d])) == 0;
        }
        for (int d = 0; d < Rank && ok; ++d) {
            ok = pellorin::Assign(Used(d),
                                  QV_Value(Declared(d).v(), b, a, m_shape.usedNumbers[d])) == 0;
        }
        return ok &&
               pellorin::Assign(m_type.*m_shape.integrals,
                                QV_Value("None", b, a, m_shape.integralsNumber)) == 0 &&
               BuildIndexSets(*domains, a, b, 1);
    }

    // Without every domain linked, or when a term cannot be had, the equations cannot be
    // registered.
    int AddEquationInstances(int n) {
        const std::optional<Domains> domains = LinkedDomains();
        if (!domains) {
            return -1;
        }
        Context context = MakeContext(*domains);
        const WalkOutcome outcome =
            RegisterInstances(m_shape.outline(), context, m_type, m_type.m_groupBase);
        return outcome.complete ? n + outcome.instances : -1;
    }

    int AddEquationExpressions(int r, int*& rows, int*& cols) {
        // The counter is the host's whatever its sign: without its domains the type adds
        // nothing, and a walk that stops early leaves the counter as far as it got.
        const std::optional<Domains> domains = LinkedDomains();
        if (!domains) {
            return r;
        }
        Context context = MakeContext(*domains);
        RegisterExpressions(m_shape.outline(), context, m_type, m_type, m_type.m_groupBase, r, rows,
                            cols);
        return r;
    }

private:
    using Context = GridContext<Rank>;
    using Table = typename Context::Table;

    QV_INTEGERPARAMETER& Declared(int d) { return m_type.*m_shape.declared[d]; }
    QV_INTEGERPARAMETER& Used(int d) { return m_type.*m_shape.used[d]; }

    Table* Elements(const Row& a) {
        return VisitMember(
            [&](auto member) -> Table* {
                auto& array = m_type.*member;
                if constexpr (requires { array.get(); }) {
                    return array.get();
                } else {
                    return &array;
                }
            },
            a.member);
    }

    // Each dimension's set: the row's own, or the domain's INTERIOR; false when that
    // domain is not linked.
    template <class Set>
    bool DeclaredSets(const Row& a, std::array<Set*, Rank>& sets) {
        for (int d = 0; d < Rank; ++d) {
            if (a.sets[d] != nullptr) {
                sets[d] = &(m_type.*a.sets[d]);
                continue;
            }
            QV_DOMAIN* domain = (m_type.*m_shape.domains[d]).get();
            if (domain == nullptr) {
                return false;
            }
            sets[d] = &domain->INTERIOR;
        }
        return true;
    }

    Context MakeContext(const Domains& domains) {
        typename Context::Settings settings{};
        for (int d = 0; d < Rank; ++d) {
            settings.used[d] = &Used(d);
            settings.declared[d] = &Declared(d);
        }
        settings.integrals = &(m_type.*m_shape.integrals);
        settings.integralNames = m_shape.integralNames;
        typename Context::Arrays arrays{};
        for (std::size_t k = 0; k < m_shape.arrays.size(); ++k) {
            const Row& a = m_shape.arrays[k];
            arrays[k].elements = Elements(a);
            DeclaredSets(a, arrays[k].sets);
        }
        return Context(domains, settings, arrays, int(m_shape.arrays.size()));
    }

    // False at the first index set the host could not give its value.
    bool BuildIndexSets(const Domains& domains, int a, int b, int pass) {
        const SUValue& integrals = (m_type.*m_shape.integrals).v();
        for (const Row& row : m_shape.arrays) {
            for (int d = 0; d < Rank; ++d) {
                if (row.sets[d] != nullptr &&
                    pellorin::InitialiseIndexSet(
                        m_type, m_type.*row.sets[d],
                        QV_Value(SetValue(domains, integrals, row, d), b, a, row.numbers[d]),
                        pass) != 0) {
                    return false;
                }
            }
        }
        return true;
    }

    // The declared set of dimension d: the other dimensions run over their whole domains,
    // or over {0} + INTERIOR + {ENDNODE} for a second derivative; the x dimension follows
    // the row's extent.
    SUValue SetValue(const Domains& domains, const SUValue& integrals, const Row& row, int d) {
        const long long end = domains[d]->ENDNODE.v();
        const bool second = row.extent == Extent::SecondDerivative;
        if (d > 0) {
            return second ? SUValue(Bordered(domains[d]->INTERIOR.v(), end))
                          : SUValue(UpTo(end, 1));
        }
        const int used = Used(row.direction).v();
        switch (row.extent) {
        case Extent::Nodes:
            break;
        case Extent::FirstDerivative:
            return UpTo(end, used > 0);
        case Extent::SecondDerivative: {
            if (row.direction == 0) {
                SUValue value = QV_IntSetValue(1, pellorin::ClampToInt(end * (used > 1)));
                value *= domains[0]->INTERIOR.v();
                return value;
            }
            SUValue value = UpTo(end, used > 1);
            value *= Bordered(domains[0]->INTERIOR.v(), end);
            return value;
        }
        case Extent::Integral:
            return UpTo(end, 2 * AnyIntegral(integrals, row.integrals) - 1);
        }
        return UpTo(end, 1);
    }

    // 1 when any integral of the switch is in the set, testing them in order; else 0.
    int AnyIntegral(const SUValue& integrals, unsigned bits) const {
        for (std::size_t k = 0; k < m_shape.integralNames.size(); ++k) {
            if ((bits >> k & 1u) != 0 && StringInSet(m_shape.integralNames[k].data(), integrals)) {
                return 1;
            }
        }
        return 0;
    }

    Type& m_type;
    const Shape<Type, Rank>& m_shape;
};

} // namespace pellorin::eqn
