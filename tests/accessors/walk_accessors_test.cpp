// Which of the host's two accessors each equation walk of the one-dimensional distribution
// reads: SetUpEquations reads every value through v(), JacPattern through fv(), and both a
// string parameter through its conversion to text. For every value the walks read, the host
// is made to answer the two accessors differently, and each walk must follow its own
// accessor and ignore the other.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include <standin/expressions.h>

#include "standin/host_access.h"
#include "support/host_fixture.h"
#include "types/distribution1d/distribution1d.h"

namespace {

struct Configuration {
    const char* method;
    int sections = 1;
    int hod = 1;
    const char* ebc = "Backward";
};

// A domain and a distribution over it, sized and assigned as the host does before the walks.
struct Model {
    explicit Model(const Configuration& c) {
        vzt::Link(distribution.XDOMAIN, &domain);
        vzt::Specify(domain.DISCRETIZATIONMETHOD, QV_Value(c.method, 0u));
        vzt::Specify(domain.NUMSECTIONS, QV_Value(c.sections, 0u));
        vzt::Specify(domain.HIGHESTORDERDERIVATIVE, QV_Value(c.hod, 0u));
        vzt::Specify(domain.ELEMENTBOUNDARYCONDITION, QV_Value(c.ebc, 0u));
        for (QV_ModelType* m : std::initializer_list<QV_ModelType*>{&domain, &distribution}) {
            m->SetDims();
            m->ExecuteAssignments(1, 0);
        }
    }

    QV_SECTIONDATAMODEL& Section(int s) { return (*domain.SECTION.get())(s); }

    // What SetUpEquations registers: its result, then per instance the group and incidence.
    std::string SetUp() {
        QV_ModelType::m_stLastGroup = 0; // every walk starts from the same group base
        std::string out = std::to_string(distribution.SetUpEquations());
        const QV_EquationStore& store = vzt::Equations(distribution);
        for (std::size_t k = 0; k < store.InstanceCount(); ++k) {
            const QV_InstanceView instance = store.Instance(k);
            out += "\n" + std::to_string(instance.group) + ":";
            for (std::size_t t = 0; t < instance.incidenceCount; ++t) {
                out += " " + NameOf(instance.incidence[t]);
            }
        }
        return out;
    }

    // What JacPattern registers: its result, then per equation its name, group and residual.
    std::string Expressions() {
        std::vector<int> rows(kRoom);
        std::vector<int> cols(kRoom);
        int* r = rows.data();
        int* c = cols.data();
        vzt::SetJacobianBufferEnd(distribution, rows.data() + kRoom, cols.data() + kRoom);
        std::string out = std::to_string(distribution.JacPattern(r, c, nullptr));
        vzt::SetJacobianBufferEnd(distribution, nullptr, nullptr);
        const QV_EquationStore& store = vzt::Equations(distribution);
        for (std::size_t k = 0; k < store.EquationCount(); ++k) {
            const QV_EquationView e = store.Equation(k);
            out += "\n" + std::string(e.name) + " g" + std::to_string(e.group) + " " +
                   vzt::Infix(e, store, [&](const QV_VarParam* p) { return NameOf(p); });
        }
        return out;
    }

    // A term's array and index, or a section's element length; the same in every model.
    std::string NameOf(const QV_VarParam* p) {
        const std::pair<const char*, QV_Matrix*> arrays[] = {{"VALUE", distribution.VALUE.get()},
                                                             {"DDX", &distribution.DDX},
                                                             {"D2DX2", &distribution.D2DX2},
                                                             {"IDX", &distribution.IDX}};
        for (const auto& [name, array] : arrays) {
            for (std::size_t i = 0; i < vzt::Elements(*array).Size(); ++i) {
                if (vzt::Elements(*array).At(i) == p) {
                    return name + std::string(vzt::PropertyName(*p));
                }
            }
        }
        const QV_Matrix& sections = *domain.SECTION.get();
        for (std::size_t i = 0; i < vzt::Elements(sections).Size(); ++i) {
            auto* section = dynamic_cast<QV_SECTIONDATAMODEL*>(vzt::Elements(sections).At(i));
            if (section != nullptr && &section->ELEMENTLENGTH == p) {
                return "h" + std::string(vzt::PropertyName(*section));
            }
        }
        return "?";
    }

    static constexpr std::size_t kRoom = 1 << 16;
    QV_DOMAIN domain;
    QV_DISTRIBUTION1D distribution;
};

// A value the walks read and another value for it that changes the equations.
struct Change {
    QV_VarParamProp& property;
    QV_Value other;
};

template <class V>
Change Set(QV_VarParamProp& property, V other) {
    return {property, QV_Value(other, 0u)};
}

Change Shift(QV_INTEGERPARAMETER& property, int delta) {
    return Set(property, property.v() + delta);
}

struct ReadValue {
    const char* name;
    Configuration configuration;
    std::function<Change(Model&)> change;
};

void PrintTo(const ReadValue& r, std::ostream* out) {
    *out << r.name;
}

const ReadValue kReadValues[] = {
    {"OrderUsed",
     {"CFD2", 1, 2},
     [](auto& m) { return Set(m.distribution.HIGHESTORDERXDERIVATIVEUSED, 1); }},
    {"OrderDeclared",
     {"OCFE3", 2, 2},
     [](auto& m) { return Set(m.distribution.HIGHESTORDERXDERIVATIVE, 1); }},
    {"Integrals",
     {"BFD1", 1, 1},
     [](auto& m) { return Set(m.distribution.INTEGRALS, QV_StrSetValue("idx\"")); }},
    {"SectionCount", {"CFD2", 2, 1}, [](auto& m) { return Set(m.domain.NUMSECTIONS, 1); }},
    {"PolyPoints", {"OCFE3", 1, 1}, [](auto& m) { return Set(m.domain.NUMPOLYPOINTS, 1); }},
    {"EndNode", {"OCFE3", 2, 2, "Forward"}, [](auto& m) { return Shift(m.domain.ENDNODE, -1); }},
    {"SectionBase", {"CFD2", 2, 1}, [](auto& m) { return Shift(m.Section(2).BASE, 1); }},
    {"SectionNodes", {"CFD2", 2, 1}, [](auto& m) { return Shift(m.Section(1).NODECOUNT, -2); }},
    {"SectionElements",
     {"OCFE3", 2, 1},
     [](auto& m) { return Shift(m.Section(1).NUMELEMENTS, -1); }},
    {"SectionSpacing",
     {"CFD4", 2, 1},
     [](auto& m) { return Set(m.Section(1).ELEMENTLENGTH, 2.0 * m.Section(1).ELEMENTLENGTH.v()); }},
};

class WalkAccessors : public testsupport::HostTest,
                      public ::testing::WithParamInterface<ReadValue> {};

// What the two walks register on a model of the configuration, with the value read changed
// by change first.
struct Walks {
    std::string setUp;
    std::string expressions;
};
Walks Walk(const ReadValue& read, const std::function<void(const Change&)>& change = {}) {
    Model model(read.configuration);
    if (change) {
        change(read.change(model));
    }
    Walks walks{model.SetUp(), ""};
    walks.expressions = model.Expressions();
    vzt::ClearSecondValues(); // they belong to this model's properties
    return walks;
}

void SecondOnly(const Change& c) {
    vzt::SetSecondValue(c.property, c.other);
}

// Each walk follows its own accessor: with fv() answering another value only JacPattern
// changes, with v() answering another value (and fv() the first) only SetUpEquations does.
TEST_P(WalkAccessors, EachWalkReadsOnlyItsOwnAccessor) {
    const Walks plain = Walk(GetParam());
    const Walks second = Walk(GetParam(), SecondOnly);
    EXPECT_EQ(second.setUp, plain.setUp) << "fv() reached SetUpEquations";
    EXPECT_NE(second.expressions, plain.expressions) << "JacPattern ignored fv()";

    const Walks first = Walk(GetParam(), [](const Change& c) {
        const QV_Value value = vzt::Current(c.property);
        ASSERT_TRUE(vzt::Specify(c.property, c.other));
        vzt::SetSecondValue(c.property, value);
    });
    EXPECT_NE(first.setUp, plain.setUp) << "SetUpEquations ignored v()";
    EXPECT_EQ(first.expressions, plain.expressions) << "v() reached JacPattern";
}

INSTANTIATE_TEST_SUITE_P(EveryValueTheWalksRead, WalkAccessors, ::testing::ValuesIn(kReadValues),
                         [](const auto& info) { return std::string(info.param.name); });

// The string parameters, read through their conversion to text.
const ReadValue kTextValues[] = {
    {"Method", {"CFD2", 1, 1}, [](auto& m) { return Set(m.domain.DISCRETIZATIONMETHOD, "BFD2"); }},
    {"ElementBoundary",
     {"OCFE3", 2, 2},
     [](auto& m) { return Set(m.domain.ELEMENTBOUNDARYCONDITION, "Forward"); }},
};

class TextAccessors : public WalkAccessors {};

// Both walks read a string parameter's text as it converts to text, the value in force:
// fv() answering another value reaches neither walk, another value in force both.
TEST_P(TextAccessors, BothWalksReadTheTextInForce) {
    const Walks plain = Walk(GetParam());
    const Walks second = Walk(GetParam(), SecondOnly);
    EXPECT_EQ(second.setUp, plain.setUp) << "fv() reached SetUpEquations";
    EXPECT_EQ(second.expressions, plain.expressions) << "fv() reached JacPattern";

    const Walks other =
        Walk(GetParam(), [](const Change& c) { ASSERT_TRUE(vzt::Specify(c.property, c.other)); });
    EXPECT_NE(other.setUp, plain.setUp) << "SetUpEquations ignored the text";
    EXPECT_NE(other.expressions, plain.expressions) << "JacPattern ignored the text";
}

INSTANTIATE_TEST_SUITE_P(EveryTextTheWalksRead, TextAccessors, ::testing::ValuesIn(kTextValues),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
