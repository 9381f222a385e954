#include "tests/distribution/fake_distribution.h"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "types/distribution1d/arrays.h"
#include "types/distribution1d/outline.h"
#include "types/distribution1d/statements.h"

namespace testsupport {

namespace dist1d = pellorin::dist1d;

namespace {

struct MethodRules {
    int polyPoints;
    bool fd; // node spacing as ELEMENTLENGTH, uniform nodes
    std::vector<double> points;
};

MethodRules RulesFor(const std::string& method) {
    const double r3 = std::sqrt(3.0);
    const double r15 = std::sqrt(15.0);
    if (method == "BFD1" || method == "FFD1") {
        return {0, false, {}};
    }
    if (method == "BFD2" || method == "FFD2" || method == "CFD2") {
        return {1, true, {0.5}};
    }
    if (method == "CFD4" || method == "UBFD4") {
        return {3, true, {0.25, 0.5, 0.75}};
    }
    if (method == "OCFE2") {
        return {1, false, {0.5}};
    }
    if (method == "OCFE3") {
        return {2, false, {(3 - r3) / 6, (3 + r3) / 6}};
    }
    if (method == "OCFE4") {
        return {3, false, {0.5 - r15 / 10, 0.5, 0.5 + r15 / 10}};
    }
    throw std::invalid_argument("no layout rules for " + method);
}

} // namespace

Layout MakeLayout(const std::string& method, const std::vector<int>& nodeCounts) {
    const MethodRules rules = RulesFor(method);
    const int np = rules.polyPoints;
    Layout layout{method, np, {}, {0.0}};
    for (std::size_t s = 0; s < nodeCounts.size(); ++s) {
        Section section{layout.EndNode(), nodeCounts[s], nodeCounts[s] / (np + 1)};
        const double spacing = 1.0 / section.nodeCount;
        const double h = (np == 0 || rules.fd) ? spacing : (np + 1) * spacing;
        const double stretch = rules.fd ? np + 1 : 1;
        section.elementLength = h;
        for (int e = 1; e <= section.elements; ++e) {
            for (int p = 0; p < np; ++p) {
                layout.x.push_back(double(s) + ((e + rules.points[p]) - 1.0) * h * stretch);
            }
            layout.x.push_back(double(s) + (e * h) * stretch);
        }
        layout.sections.push_back(section);
    }
    return layout;
}

FakeDistribution::FakeDistribution(Layout l, Settings s)
    : layout(std::move(l)), settings(std::move(s)), field({layout.x}) {
    for (int array = 0; array < 4; ++array) {
        field.SetFactors(array, {Factor(array)}); // VALUE, DDX, D2DX2, IDX in Factor's order
        for (int i = 0; i <= layout.EndNode(); ++i) {
            const bool derivative = array == eqn::ArrayId(dist1d::kArrays, "DDX") ||
                                    array == eqn::ArrayId(dist1d::kArrays, "D2DX2");
            m_arrays[array].push_back(derivative ? std::make_unique<QV_PARTIALDERIVATIVE>()
                                                 : std::make_unique<QV_REALVARIABLE>());
            field.Add(m_arrays[array].back().get(), array, {i});
        }
    }
    for (int k = 1; k <= SectionCount(0); ++k) {
        m_spacing.push_back(std::make_unique<QV_REALPARAMETER>());
        field.AddLength(m_spacing.back().get(), 0, k, layout.sections[k - 1].elementLength);
    }
}

double FakeDistribution::ElementLengthValue(int, int s) {
    if (s < 1 || s > SectionCount(0)) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    return layout.sections[s - 1].elementLength;
}

QV_VarParam* FakeDistribution::ArrayElement(int array, const int* index) {
    const int i = index[0];
    if (array < 0 || array > 3 || failLookup == std::pair(array, i)) {
        return nullptr;
    }
    return i >= 0 && i <= layout.EndNode() ? m_arrays[array][i].get() : nullptr;
}

QV_VarParam* FakeDistribution::SectionParameter(int, int parameter, int s) {
    if (parameter != 0 || s < 1 || s > SectionCount(0)) {
        return nullptr;
    }
    return failLookup == std::pair(-1, s) ? nullptr : m_spacing[s - 1].get();
}

Walks RunWalks(FakeDistribution& distribution, EquationModel& model, int groupBase) {
    Walks walks;
    const eqn::Outline& outline = dist1d::EquationOutline();
    vzt::Equations(model).ClearInstances();
    walks.instances = eqn::RegisterInstances(outline, distribution, model, groupBase);

    model.ResetExpressions();
    std::vector<int> rows(vzt::Equations(model).IncidenceCount() + 1);
    std::vector<int> cols(rows.size());
    vzt::SetJacobianBufferEnd(model, rows.data() + rows.size(), cols.data() + cols.size());
    int* r = rows.data();
    int* c = cols.data();
    walks.expressions = eqn::RegisterExpressions(outline, distribution, model, model, groupBase,
                                                 walks.counter, r, c);
    return walks;
}

} // namespace testsupport
