#include "report.h"

#include <algorithm>
#include <cstdlib>
#include <iomanip>
#include <nlohmann/json.hpp>
#include <sstream>
#include <vector>

#include <standin/expressions.h>

#include "describe.h"
#include "model_reader.h"

namespace vzhost {
namespace {

using nlohmann::json;

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

// 1-8, 10, 12-17
std::string Ranges(const std::vector<int>& sorted) {
    std::ostringstream text;
    for (std::size_t i = 0; i < sorted.size();) {
        std::size_t j = i;
        while (j + 1 < sorted.size() && sorted[j + 1] == sorted[j] + 1) {
            ++j;
        }
        text << (i > 0 ? ", " : "") << sorted[i];
        if (j > i) {
            text << "-" << sorted[j];
        }
        i = j + 1;
    }
    return sorted.empty() ? "none" : text.str();
}

void SummariseDomain(std::ostream& out, char direction, const DomainLayout& d) {
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
        const char* name = equation.tokens[t].term->PropertyName();
        for (const char* p = name; *p == '(' || *p == ','; ++p) {
            char* end = nullptr;
            index.push_back(int(std::strtol(p + 1, &end, 10)));
            p = end - 1;
        }
    }
    return index;
}

// The nodes of one index, as ranges (1-8, 10); several indices each over its own values,
// as (1-16, 0-8).
std::string NodeRanges(const std::vector<std::vector<int>>& nodes) {
    const std::size_t rank = nodes.empty() ? 1 : nodes.front().size();
    std::string out;
    for (std::size_t d = 0; d < rank; ++d) {
        std::vector<int> values;
        for (const std::vector<int>& node : nodes) {
            values.push_back(d < node.size() ? node[d] : -1);
        }
        if (rank > 1) {
            std::sort(values.begin(), values.end());
            values.erase(std::unique(values.begin(), values.end()), values.end());
        }
        out += (d > 0 ? ", " : "") + Ranges(values);
    }
    return rank > 1 ? "(" + out + ")" : out;
}

void SummariseEquations(std::ostream& out, const QV_EquationStore& store,
                        const vzt::ModelOutcome& outcome) {
    out << "SetUpEquations " << outcome.setUpResult << " (" << store.InstanceCount()
        << " instances, " << store.IncidenceCount() << " incidence entries); JacPattern "
        << outcome.jacPatternResult << " (" << store.EquationCount() << " equations, "
        << store.TokenCount() << " tokens, " << outcome.rowsWritten << " rows entries)\n";
    struct Statement {
        int group = 0;
        std::vector<std::vector<int>> nodes;
    };
    std::vector<std::string> order;
    std::map<std::string, Statement> statements;
    for (std::size_t k = 0; k < store.EquationCount(); ++k) {
        const QV_EquationView equation = store.Equation(k);
        auto [it, isNew] = statements.try_emplace(equation.name);
        if (isNew) {
            order.push_back(equation.name);
            it->second.group = equation.group;
        }
        it->second.nodes.push_back(AnchorOf(equation));
    }
    if (order.empty()) {
        return;
    }
    out << std::left << std::setw(12) << "statement" << std::setw(7) << "group" << std::setw(11)
        << "instances"
        << "at nodes\n";
    for (const std::string& name : order) {
        Statement& s = statements[name];
        out << std::setw(12) << name << std::setw(7) << s.group << std::setw(11) << s.nodes.size()
            << NodeRanges(s.nodes) << '\n';
    }
    out << std::right;
}

json DomainJson(const DomainLayout& d) {
    json sections = json::array();
    for (const SectionLayout& s : d.layout) {
        sections.push_back({{"base", s.base},
                            {"nodecount", s.nodeCount},
                            {"numelements", s.numElements},
                            {"elementlength", s.elementLength},
                            {"location", s.location},
                            {"length", s.length},
                            {"interior", s.interior}});
    }
    return {{"method", d.method}, {"elementboundary", d.boundary}, {"endnode", d.endNode},
            {"nodes", d.nodes},   {"interior", d.interior},        {"sections", sections}};
}

json TokenJson(const QV_Token& token, const QV_EquationStore& store, const TermNames& names) {
    switch (token.kind) {
    case QV_Token::Kind::Op:
        return {"op", token.op};
    case QV_Token::Kind::Integer:
        return {"int", token.integer};
    case QV_Token::Kind::Real:
        return {"real", token.real};
    case QV_Token::Kind::Term:
        return {"var", names(token.term)};
    case QV_Token::Kind::Text:
        return {"text", store.Text(token.text)};
    }
    return {};
}

} // namespace

void Report(std::ostream& out, Format format, const std::string& type, QV_ModelType& model,
            const vzt::ModelOutcome& outcome, const std::map<char, QV_ModelType*>& domains) {
    const QV_EquationStore& store = vzt::Equations(model);
    if (format == Format::Summary) {
        out << type << "  " << Printable(model.QV_DefaultDESCRIPTION()) << '\n';
        for (const auto& [direction, domain] : domains) {
            SummariseDomain(out, direction, ReadDomain(*domain));
        }
        SummariseEquations(out, store, outcome);
        return;
    }
    const TermNames names(model);
    if (format == Format::Listing) {
        for (std::size_t k = 0; k < store.EquationCount(); ++k) {
            const QV_EquationView equation = store.Equation(k);
            out << std::left << std::setw(10) << equation.name << std::right
                << "  g=" << equation.group << "  " << vzt::Infix(equation, store, std::cref(names))
                << '\n';
        }
        return;
    }
    json document;
    document["type"] = type;
    document["domains"] = json::object();
    for (const auto& [direction, domain] : domains) {
        document["domains"][std::string(1, direction)] = DomainJson(ReadDomain(*domain));
    }
    json instances = json::array();
    for (std::size_t k = 0; k < store.InstanceCount(); ++k) {
        const QV_InstanceView instance = store.Instance(k);
        json incidence = json::array();
        for (std::size_t t = 0; t < instance.incidenceCount; ++t) {
            incidence.push_back(names(instance.incidence[t]));
        }
        instances.push_back({{"group", instance.group}, {"incidence", incidence}});
    }
    document["setup"] = {{"result", outcome.setUpResult}, {"instances", instances}};
    json equations = json::array();
    for (std::size_t k = 0; k < store.EquationCount(); ++k) {
        const QV_EquationView equation = store.Equation(k);
        json tokens = json::array();
        for (std::size_t t = 0; t < equation.tokenCount; ++t) {
            tokens.push_back(TokenJson(equation.tokens[t], store, names));
        }
        equations.push_back(
            {{"name", equation.name}, {"group", equation.group}, {"tokens", tokens}});
    }
    document["jacpattern"] = {{"result", outcome.jacPatternResult}};
    document["equations"] = equations;
    out << document.dump() << '\n';
}

} // namespace vzhost
