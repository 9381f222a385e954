#include "tests/distribution/grid_field.h"

#include <algorithm>

#include "tests/distribution/grid_model.h"

#include <gtest/gtest.h>

#include "specify.h"

namespace pellorin::testing {

std::vector<int> SetMembers(const SUValue& set) {
    std::vector<int> out;
    for (std::size_t k = 0; k < set.Size(); ++k) {
        out.push_back(set.Integer(int(k)));
    }
    return out;
}

GridField::GridField(const std::vector<QV_DOMAIN*>& domains) {
    for (std::size_t d = 0; d < domains.size(); ++d) {
        QV_DOMAIN& domain = *domains[d];
        m_nodes.emplace_back();
        m_lengths.emplace_back();
        for (int i = 0; i <= domain.ENDNODE.v(); ++i) {
            m_nodes.back().push_back(domain.VALUE.get()->Get(i)->v());
        }
        for (int s = 1; s <= domain.NUMSECTIONS.v(); ++s) {
            QV_REALPARAMETER& h = domain.SECTION.get()->Get(s)->ELEMENTLENGTH;
            m_lengths.back().push_back(h.v());
            m_ids[&h] = {-1, {int(d), s, 0}};
        }
    }
}

void GridField::Add(const QV_VarParam* term, int array, const std::vector<int>& index) {
    Id id{array, {}};
    for (std::size_t d = 0; d < index.size(); ++d) {
        id.index[d] = index[d];
    }
    m_ids[term] = id;
}

void GridField::Set(const std::vector<Polynomial>& f) {
    for (const auto& [term, id] : m_ids) {
        double& v = m_values[term];
        if (id.array < 0) {
            v = m_lengths[id.index[0]].at(id.index[1] - 1);
            continue;
        }
        v = 1.0;
        const std::vector<Factor>& factors = m_factors.at(id.array);
        for (int d = 0; d < Rank(); ++d) {
            const int node = id.index[d];
            const double x = m_nodes[d].at(node);
            switch (factors[d]) {
            case Factor::Value:
                v *= f[d](x);
                break;
            case Factor::First:
                v *= f[d].Derivative(x);
                break;
            case Factor::Second:
                v *= f[d].SecondDerivative(x);
                break;
            case Factor::Interval:
                v *= node == 0 ? 0.0 : f[d].Integral(m_nodes[d].at(node - 1), x);
                break;
            }
        }
    }
}

} // namespace pellorin::testing

namespace pellorin::testing {

std::string Describe(const Direction& d) {
    return d.method + "_" + std::to_string(d.sections) + "s_used" + std::to_string(d.used) +
           (IsCollocation(d.method) ? "_" + d.ebc : "");
}

void Configure(QV_DOMAIN& domain, const Direction& d) {
    domain.DISCRETIZATIONMETHOD.Specify(QV_Value(d.method.c_str(), 0u));
    domain.NUMSECTIONS.Specify(QV_Value(d.sections, 0u));
    domain.HIGHESTORDERDERIVATIVE.Specify(QV_Value(2, 0u));
    domain.ELEMENTBOUNDARYCONDITION.Specify(QV_Value(d.ebc.c_str(), 0u));
}

QV_StrSetValue Members(const std::string& commaSeparated) {
    QV_StrSetValue set;
    std::size_t at = 0;
    while (at < commaSeparated.size()) {
        const std::size_t comma = std::min(commaSeparated.find(',', at), commaSeparated.size());
        set += commaSeparated.substr(at, comma - at).c_str();
        at = comma + 1;
    }
    return set;
}

void SpecifyAll(QV_Container& object, const std::string& settings) {
    for (std::size_t at = 0; at < settings.size();) {
        const std::size_t end = std::min(settings.find(';', at), settings.size());
        const std::string item = settings.substr(at, end - at);
        const std::size_t equals = item.find('=');
        QV_Containable* property = object.FindProperty(item.substr(0, equals).c_str());
        std::string error = "no property " + item.substr(0, equals);
        if (property == nullptr ||
            !vzt::SpecifyFromText(*property, item.substr(equals + 1), error)) {
            ADD_FAILURE() << error;
        }
        at = end + 1;
    }
}

QV_VarParamProp& Property(QV_Container& object, const std::string& name) {
    return dynamic_cast<QV_VarParamProp&>(*object.FindProperty(name.c_str()));
}

} // namespace pellorin::testing
