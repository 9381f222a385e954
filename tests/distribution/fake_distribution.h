// A one-dimensional distribution made of plain host objects, for driving the equation engine
// without a domain type: the layout computed from the discretisation rules (interior points at
// the exact Gauss positions), the arrays as variables, and a model that receives both walks.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <vuzizev/vuzizev.h>

#include "tests/distribution/exact_field.h"
#include "types/distribution/registration.h"

namespace testsupport {

namespace eqn = pellorin::eqn;

struct Section {
    int base = 0;
    int nodeCount = 0;
    int elements = 0;
    double elementLength = 0.0;
};

struct Layout {
    std::string method; // upper case
    int polyPoints = 0;
    std::vector<Section> sections;
    std::vector<double> x; // node positions, 0 to ENDNODE
    int EndNode() const { return static_cast<int>(x.size()) - 1; }
};

// Sections of length 1 with the given node counts, laid out as a domain does for `method`.
Layout MakeLayout(const std::string& method, const std::vector<int>& nodeCounts);

struct Settings {
    int used = 1;     // HIGHESTORDERXDERIVATIVEUSED
    int declared = 1; // HIGHESTORDERXDERIVATIVE
    bool idx = false; // "idx" in INTEGRALS
    std::string ebc = "Backward";
};

class FakeDistribution : public eqn::EquationContext {
public:
    FakeDistribution(Layout layout, Settings settings);

    int UsedOrder(int) override { return settings.used; }
    int DeclaredOrder(int) override { return settings.declared; }
    bool IntegralRequested(int) override { return settings.idx; }
    const char* Method(int) override { return layout.method.c_str(); }
    const char* ElementBoundary(int) override { return settings.ebc.c_str(); }
    int SectionCount(int) override { return int(layout.sections.size()); }
    int PolyPoints(int) override { return layout.polyPoints; }
    int EndNode(int) override { return layout.EndNode(); }
    const QV_SetValue* Interior(int) override { return nullptr; }
    int Base(int, int s) override { return layout.sections.at(s - 1).base; }
    int NodeCount(int, int s) override { return layout.sections.at(s - 1).nodeCount; }
    int ElementCount(int, int s) override { return layout.sections.at(s - 1).elements; }
    double ElementLengthValue(int, int s) override;
    QV_VarParam* ArrayElement(int array, const int* index) override;
    QV_VarParam* SectionParameter(int direction, int parameter, int s) override;

    Layout layout;
    Settings settings;
    std::pair<int, int> failLookup{-2, 0}; // (array or -1 for h, index): its lookup answers null
    ExactField field;                      // every array element and h

private:
    std::vector<std::unique_ptr<QV_REALVARIABLE>> m_arrays[4];
    std::vector<std::unique_ptr<QV_REALPARAMETER>> m_spacing;
};

class EquationModel : public QV_ModelTypeEx2 {};

// Both walks, as a type's SetUpEquations and JacPattern make them.
struct Walks {
    eqn::WalkOutcome instances;
    eqn::WalkOutcome expressions;
    int counter = 0; // the JacPattern counter after the walk
};
Walks RunWalks(FakeDistribution& distribution, EquationModel& model, int groupBase = 0);

} // namespace testsupport
