#include <standin/equations.h>

#include "domain_layout.h"
#include "json_text.h"
#include "model_reader.h"
#include "report.h"

namespace vzhost {
namespace {

void WriteDomain(Output& out, const DomainLayout& d) {
    out << '{';
    WriteJsonMember(out, "elementboundary", d.boundary, true);
    WriteJsonMember(out, "endnode", d.endNode);
    WriteJsonMember(out, "interior", d.interior);
    WriteJsonMember(out, "method", d.method);
    WriteJsonMember(out, "nodes", d.nodes);
    out << ",\"sections\":[";
    for (std::size_t k = 0; k < d.layout.size(); ++k) {
        const SectionLayout& s = d.layout[k];
        out << (k > 0 ? "," : "") << '{';
        WriteJsonMember(out, "base", s.base, true);
        WriteJsonMember(out, "elementlength", s.elementLength);
        WriteJsonMember(out, "interior", s.interior);
        WriteJsonMember(out, "length", s.length);
        WriteJsonMember(out, "location", s.location);
        WriteJsonMember(out, "nodecount", s.nodeCount);
        WriteJsonMember(out, "numelements", s.numElements);
        out << '}';
    }
    out << "]}";
}

// Writes terms' names through one buffer.
class NameWriter {
public:
    explicit NameWriter(const TermNames& names) : m_names(names) {}
    void operator()(Output& out, const QV_VarParam* term) {
        m_text.clear();
        m_names.Append(m_text, term);
        WriteJsonString(out, m_text);
    }

private:
    const TermNames& m_names;
    std::string m_text;
};

void WriteToken(Output& out, const QV_Token& token, const QV_EquationStore& store,
                NameWriter& name) {
    switch (token.kind) {
    case QV_Token::Kind::Op:
        out << "[\"op\"," << token.op << ']';
        return;
    case QV_Token::Kind::Integer:
        out << "[\"int\"," << token.integer << ']';
        return;
    case QV_Token::Kind::Real:
        out << "[\"real\",";
        WriteJsonReal(out, token.real);
        out << ']';
        return;
    case QV_Token::Kind::Term:
        out << "[\"var\",";
        name(out, token.term);
        out << ']';
        return;
    case QV_Token::Kind::Text:
        out << "[\"text\",";
        WriteJsonString(out, store.Text(token.text));
        out << ']';
        return;
    }
    out << "null";
}

} // namespace

// One document, its keys in alphabetical order, written as it is read from the model.
void ReportJson(Output& out, const std::string& type, QV_ModelType& model,
                const vzt::ModelOutcome& outcome, const std::map<char, QV_ModelType*>& domains) {
    const QV_EquationStore& store = vzt::Equations(model);
    const TermNames names(model);
    NameWriter name(names);
    out << "{\"domains\":{";
    for (auto it = domains.begin(); it != domains.end(); ++it) {
        out << (it != domains.begin() ? "," : "") << '"' << it->first << "\":";
        WriteDomain(out, ReadDomain(*it->second));
    }
    out << "},\"equations\":[";
    for (std::size_t k = 0; k < store.EquationCount(); ++k) {
        const QV_EquationView equation = store.Equation(k);
        out << (k > 0 ? "," : "") << "{\"group\":" << equation.group << ",\"name\":";
        WriteJsonString(out, equation.name);
        out << ",\"tokens\":[";
        for (std::size_t t = 0; t < equation.tokenCount; ++t) {
            out << (t > 0 ? "," : "");
            WriteToken(out, equation.tokens[t], store, name);
        }
        out << "]}";
    }
    out << "],\"jacpattern\":{";
    if (outcome.jacPatternRan) {
        out << "\"result\":" << outcome.jacPatternResult;
    } else {
        out << "\"ran\":false";
    }
    out << "},\"setup\":{\"instances\":[";
    for (std::size_t k = 0; k < store.InstanceCount(); ++k) {
        const QV_InstanceView instance = store.Instance(k);
        out << (k > 0 ? "," : "") << "{\"group\":" << instance.group << ",\"incidence\":[";
        for (std::size_t t = 0; t < instance.incidenceCount; ++t) {
            out << (t > 0 ? "," : "");
            name(out, instance.incidence[t]);
        }
        out << "]}";
    }
    out << "],\"result\":" << outcome.setUpResult << "},\"type\":";
    WriteJsonString(out, type);
    out << "}\n";
}

} // namespace vzhost
