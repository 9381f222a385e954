#include "report.h"

#include <set>
#include <utility>
#include <vector>

#include <standin/expressions.h>

#include "describe.h"
#include "domain_layout.h"
#include "model_reader.h"
#include "numbers.h"
#include "one_line.h"
#include "standin/host_access.h"

namespace vzhost {

DomainLayout ReadDomain(const QV_ModelType& domain) {
    DomainLayout d;
    d.method = TextOf(domain, "DISCRETIZATIONMETHOD");
    d.boundary = TextOf(domain, "ELEMENTBOUNDARYCONDITION");
    d.sections = IntegerOf(domain, "NUMSECTIONS");
    d.endNode = IntegerOf(domain, "ENDNODE");
    d.interior = IntegerSetOf(domain, "INTERIOR");
    if (const QV_Matrix* sections = ArrayOf(domain, "SECTION")) {
        for (const auto& [s, element] : ElementsOf(*sections)) {
            const auto* record = dynamic_cast<const QV_Container*>(element);
            if (record == nullptr || s < 1 || s > d.sections) {
                continue;
            }
            d.layout.push_back({s, IntegerOf(*record, "BASE"), IntegerOf(*record, "NODECOUNT"),
                                IntegerOf(*record, "NUMELEMENTS"), RealOf(*record, "LOCATION"),
                                RealOf(*record, "LENGTH"), RealOf(*record, "ELEMENTLENGTH"),
                                IntegerSetOf(*record, "INTERIOR")});
        }
    }
    if (const QV_Matrix* values = ArrayOf(domain, "VALUE")) {
        for (const auto& [k, element] : ElementsOf(*values)) {
            const auto* position = dynamic_cast<const QV_REALPARAMETER*>(element);
            if (position != nullptr && k >= 0 && k <= d.endNode) {
                d.nodes.push_back(position->v());
            }
        }
    }
    return d;
}

namespace {

// What the summary and the listing say of a run that stopped before JacPattern.
constexpr const char* kJacPatternNotRun = "JacPattern not run";

// Runs of consecutive values, in the order met: 1-8, 10, 12-17.
class Runs {
public:
    void Add(int value) {
        if (!m_runs.empty() && value == m_runs.back().second + 1) {
            m_runs.back().second = value;
        } else {
            m_runs.emplace_back(value, value);
        }
    }
    std::string Text() const {
        std::string text;
        for (const auto& [first, last] : m_runs) {
            text += (text.empty() ? "" : ", ") + vzt::IntegerText(first);
            if (last > first) {
                text += "-" + vzt::IntegerText(last);
            }
        }
        return m_runs.empty() ? "none" : text;
    }

private:
    std::vector<std::pair<int, int>> m_runs;
};

std::string Ranges(const std::vector<int>& values) {
    Runs runs;
    for (int value : values) {
        runs.Add(value);
    }
    return runs.Text();
}

void SummariseDomain(Output& out, char direction, const DomainLayout& d) {
    out << direction << " domain: method " << d.method << ", " << d.sections << " section"
        << (d.sections == 1 ? "" : "s") << ", element boundary " << d.boundary << ", ENDNODE "
        << d.endNode << '\n';
    for (const SectionLayout& s : d.layout) {
        out << "  section " << s.number << ": location " << s.location << ", length " << s.length
            << ", base " << s.base << ", nodes " << s.nodeCount << ", elements " << s.numElements
            << ", element length " << s.elementLength << ", interior " << Ranges(s.interior)
            << '\n';
    }
    out << "  node positions:";
    for (double x : d.nodes) {
        out << ' ' << x;
    }
    out << '\n';
}

// The node an instance stands at: the indices of its first array term.
std::vector<int> AnchorOf(const QV_EquationView& equation) {
    std::vector<int> index;
    for (std::size_t t = 0; t < equation.tokenCount && index.empty(); ++t) {
        if (equation.tokens[t].kind != QV_Token::Kind::Term) {
            continue;
        }
        const char* name = vzt::PropertyName(*equation.tokens[t].term);
        for (const char* p = name; *p == '(' || *p == ','; ++p) {
            char* end = nullptr;
            index.push_back(int(std::strtol(p + 1, &end, 10)));
            p = end - 1;
        }
    }
    return index;
}

// The nodes a statement's instances stand at, gathered instance by instance in memory set by
// the domains, not by the instances: for one index the runs in the order met (1-8, 10), for
// several each index's distinct values as runs (1-16, 0-8).
class NodeSpread {
public:
    void Add(const std::vector<int>& node) {
        if (m_count++ == 0) {
            m_values.resize(node.size());
        }
        for (std::size_t d = 0; d < m_values.size(); ++d) {
            const int value = d < node.size() ? node[d] : -1;
            if (m_values.size() == 1) {
                m_runs.Add(value);
            } else {
                m_values[d].insert(value);
            }
        }
    }
    std::size_t Count() const { return m_count; }
    std::string Text() const {
        if (m_values.size() == 1) {
            return m_runs.Text();
        }
        std::string text;
        for (std::size_t d = 0; d < m_values.size(); ++d) {
            text += (d > 0 ? ", " : "") +
                    Ranges(std::vector<int>(m_values[d].begin(), m_values[d].end()));
        }
        return m_values.empty() ? text : "(" + text + ")";
    }

private:
    std::size_t m_count = 0;
    Runs m_runs;
    std::vector<std::set<int>> m_values;
};

void SummariseEquations(Output& out, const QV_EquationStore& store,
                        const vzt::ModelOutcome& outcome) {
    out << "SetUpEquations " << outcome.setUpResult << " (" << store.InstanceCount()
        << " instances, " << store.IncidenceCount() << " incidence entries); ";
    if (!outcome.jacPatternRan) {
        out << kJacPatternNotRun << '\n';
        return;
    }
    out << "JacPattern " << outcome.jacPatternResult << " (" << store.EquationCount()
        << " equations, " << store.TokenCount() << " tokens, " << outcome.rowsWritten
        << " rows entries)\n";
    struct Statement {
        std::string name;
        int group = 0;
        NodeSpread nodes;
    };
    std::vector<Statement> statements; // in the order first met
    std::map<std::string, std::size_t, std::less<>> byName;
    for (std::size_t k = 0; k < store.EquationCount(); ++k) {
        const QV_EquationView equation = store.Equation(k);
        auto it = byName.find(std::string_view(equation.name));
        if (it == byName.end()) {
            it = byName.emplace(equation.name, statements.size()).first;
            statements.push_back({equation.name, equation.group, {}});
        }
        statements[it->second].nodes.Add(AnchorOf(equation));
    }
    if (statements.empty()) {
        return;
    }
    out << LeftAligned{"statement", 12} << LeftAligned{"group", 7} << LeftAligned{"instances", 11}
        << "at nodes\n";
    for (const Statement& s : statements) {
        out << LeftAligned{s.name, 12} << LeftAligned{vzt::IntegerText(s.group), 7}
            << LeftAligned{vzt::IntegerText(static_cast<long long>(s.nodes.Count())), 11}
            << s.nodes.Text() << '\n';
    }
}

} // namespace

void Report(Output& out, Format format, const std::string& type, QV_ModelType& model,
            const vzt::ModelOutcome& outcome, const std::map<char, QV_ModelType*>& domains) {
    const QV_EquationStore& store = vzt::Equations(model);
    if (format == Format::Json) {
        ReportJson(out, type, model, outcome, domains);
        return;
    }
    if (format == Format::Summary) {
        out << type << "  " << Printable(model.QV_DefaultDESCRIPTION()) << '\n';
        for (const auto& [direction, domain] : domains) {
            SummariseDomain(out, direction, ReadDomain(*domain));
        }
        SummariseEquations(out, store, outcome);
        return;
    }
    if (!outcome.jacPatternRan) {
        out << kJacPatternNotRun << '\n';
        return;
    }
    const TermNames names(model);
    for (std::size_t k = 0; k < store.EquationCount(); ++k) {
        const QV_EquationView equation = store.Equation(k);
        out << LeftAligned{equation.name, 10} << "  g=" << equation.group << "  "
            << vzt::Infix(equation, store, std::cref(names)) << '\n';
    }
}

} // namespace vzhost
