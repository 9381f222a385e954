#include "call.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <new>

#include <standin/equations.h>
#include <standin/procedure_testing.h>
#include <standin/testing.h>
#include <vuzizev/vuzizev.h>

#include "json_text.h"
#include "numbers.h"
#include "one_line.h"
#include "procedure_driver.h"
#include "procedures/interpolate/interpolate.h"
#include "standin/host_access.h"

namespace vzhost {
namespace {

using vzt::ParseInteger;
using vzt::ParseReal;

bool ParseReals(const std::string& text, std::vector<double>& values) {
    values.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        double value = 0.0;
        if (!ParseReal(text.substr(start, comma - start), value)) {
            return false;
        }
        values.push_back(value);
        if (comma == std::string::npos) {
            return true;
        }
        start = comma + 1;
    }
}

using Procedure = QVProc_INTERPOLATE;

// How the report names the arguments' variables, in argument order.
constexpr const char* kArgumentNames[] = {"x", "X", "Y", "n", "y"};

// The one value of a procedure with one output, else all of them.
void WriteOneOrAll(Output& out, const std::vector<double>& values) {
    if (values.size() == 1) {
        WriteJsonReal(out, values[0]);
    } else {
        WriteJson(out, values);
    }
}

// The first value of the results that is not finite, named as the report names it (f,
// residual(2), jacobian(3)) with its value; empty when all are finite.
std::string
FirstNonFinite(std::initializer_list<std::pair<const char*, const std::vector<double>*>> results) {
    for (const auto& [name, values] : results) {
        for (std::size_t k = 0; k < values->size(); ++k) {
            const double value = (*values)[k];
            if (std::isfinite(value)) {
                continue;
            }
            const bool one = values->size() == 1 && std::string_view(name) != "jacobian";
            return name +
                   (one ? std::string()
                        : "(" + vzt::IntegerText(static_cast<long long>(k + 1)) + ")") +
                   " is " +
                   (std::isnan(value) ? "nan"
                    : value > 0       ? "inf"
                                      : "-inf");
        }
    }
    return {};
}

// An option is "--" and a letter; anything else, "-0.5" included, is a value.
bool IsOption(const std::string& word) {
    return word.size() > 2 && word[0] == '-' && word[1] == '-' && std::isalpha(word[2]) != 0;
}

} // namespace

bool ParseCall(const std::vector<std::string>& words, CallOptions& options, std::string& error) {
    std::vector<std::string> positional;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (!IsOption(word)) {
            positional.push_back(word);
            continue;
        }
        if (i + 1 >= words.size()) {
            error = word + " needs a value";
            return false;
        }
        const std::string& value = words[++i];
        if (word == "--output") {
            if (!ParseReal(value, options.output)) {
                error = "--output needs a real, not '" + value + "'";
                return false;
            }
        } else if (word == "--fixed") {
            std::size_t start = 0;
            while (true) {
                const std::size_t comma = value.find(',', start);
                const std::string k = value.substr(start, comma - start);
                if (k != "0" && k != "1" && k != "2") {
                    error = "--fixed takes arguments 0, 1 or 2, not '" + k + "'";
                    return false;
                }
                options.fixed[k[0] - '0'] = true;
                if (comma == std::string::npos) {
                    break;
                }
                start = comma + 1;
            }
        } else if (word == "--base") {
            if (value != "0" && value != "1") {
                error = "--base is 0 or 1, not '" + value + "'";
                return false;
            }
            options.base = value[0] - '0';
        } else if (word == "--format") {
            if (value != "summary" && value != "json") {
                error = "unknown format '" + value + "' (summary or json)";
                return false;
            }
            options.json = value == "json";
        } else {
            error = "unknown option '" + word + "'";
            return false;
        }
    }
    if (positional.size() != 5) {
        error = "usage: vzhost call INTERPOLATE X0 ARRAY1 ARRAY2 N [--output Y] [--fixed K,...] "
                "[--base 0|1] [--format summary|json]";
        return false;
    }
    options.procedure = positional[0];
    if (options.procedure != "INTERPOLATE") {
        error = "unknown procedure '" + options.procedure + "' (INTERPOLATE)";
        return false;
    }
    if (!ParseReal(positional[1], options.x)) {
        error = "X0 must be a real, not '" + positional[1] + "'";
        return false;
    }
    if (!ParseReals(positional[2], options.table1) || !ParseReals(positional[3], options.table2)) {
        error = "ARRAY1 and ARRAY2 must be comma-separated reals";
        return false;
    }
    if (!ParseInteger(positional[4], options.count)) {
        error = "N must be an integer, not '" + positional[4] + "'";
        return false;
    }
    return true;
}

void ListProcedures(Output& out) {
    QVProc_INTERPOLATE* procedure = new QVProc_INTERPOLATE(true, 0);
    if (procedure != nullptr) {
        out << "INTERPOLATE  procedure: routine " << procedure->ProcedureName() << " of "
            << procedure->DLLName() << '\n';
        delete procedure;
    }
}

namespace {

constexpr const char* kOutOfMemory = "out of memory: the call could not be made";

int CallUnguarded(const CallOptions& options, const std::string& routineFolder, Output& out,
                  Output& err) {
    // The host's objects and the procedure carry on without what could not be allocated, so
    // a call in which an allocation failed is not reported as a result.
    const std::size_t failedAllocations = vzt::Allocator().failedAllocations;
    const auto allocationFailed = [failedAllocations] {
        return vzt::Allocator().failedAllocations != failedAllocations;
    };
    vzt::Procedures().languageBase = options.base;
    vzt::SetRoutineDirectory(routineFolder);

    // The model that calls the procedure and its variables, named as the report shows them.
    QV_ModelTypeEx owner;
    std::map<const QV_VarParam*, std::string> names;
    auto variable = [&names](std::unique_ptr<QV_REALVARIABLE>& v, double value, bool solver,
                             const std::string& name) {
        v.reset(new QV_REALVARIABLE()); // the host's allocator: null when it fails
        if (!v) {
            throw std::bad_alloc();
        }
        vzt::Specify(*v, QV_Value(value, 0u));
        vzt::SetSolverVariable(*v, solver);
        names[v.get()] = name;
    };
    // Each argument bound as the procedure's tables describe it: an array to variables, an
    // integer to a constant, a real to a variable (a constant when fixed), an output to a
    // variable holding --output.
    using Arg = vzt::ProcedureArgument;
    const std::vector<double> inputs[] = {
        {options.x}, options.table1, options.table2, {double(options.count)}};
    std::vector<std::unique_ptr<QV_REALVARIABLE>> variables;
    std::vector<Arg> args;
    for (int k = 0; k < Procedure::TotalArgs(); ++k) {
        const bool output = k >= Procedure::InputArgs();
        const bool fixed = k < 3 && options.fixed[k];
        const bool array = Procedure::Dimensions(k) > 0;
        const std::vector<double>& values =
            output ? std::vector<double>{options.output} : inputs[k];
        if (!output && !array && (Procedure::Type(k) != 4 || fixed)) {
            args.push_back(Procedure::Type(k) == 4 ? Arg::Real(values[0])
                                                   : Arg::Integer(int(values[0])));
            continue;
        }
        std::vector<QV_VarParam*> elements;
        for (std::size_t e = 0; e < values.size(); ++e) {
            const std::string index =
                array ? "(" + vzt::IntegerText(static_cast<long long>(e + 1)) + ")" : "";
            variable(variables.emplace_back(), values[e], !fixed, kArgumentNames[k] + index);
            elements.push_back(variables.back().get());
        }
        args.push_back(array ? Arg::Array(elements) : Arg::Variable(*elements.front()));
    }

    auto* procedure = new QVProc_INTERPOLATE(true, 0);
    if (procedure == nullptr) {
        err << ErrorLine("out of memory: the procedure cannot be made");
        return 1;
    }
    std::unique_ptr<QVProc_INTERPOLATE> owned(procedure);
    vzt::Describe(*procedure, args);
    const int group = 1;
    const vzt::ProcedureEquations equations =
        vzt::SetUpProcedure(*procedure, owner, group, options.procedure.c_str());

    // One residual per equation, one Jacobian entry per nonzero, as the host sizes them.
    std::vector<double> residuals(std::size_t(std::max(equations.equations, 0)));
    int index = 0;
    const int residualStatus = procedure->Residuals(residuals.data(), index);
    std::vector<double> jacobian(std::size_t(equations.nonZeros > 0 ? equations.nonZeros : 0));
    index = 0;
    const int status =
        residualStatus < 0 ? residualStatus : procedure->Jacobian(jacobian.data(), index);
    if (allocationFailed()) {
        err << ErrorLine(kOutOfMemory);
        return 1;
    }
    if (residualStatus < 0 || status < 0) {
        if (!vzt::RoutineLoadError().empty() && vzt::RoutineChecks() == 0) {
            err << ErrorLine(std::string("cannot load routine ") + procedure->ProcedureName() +
                             " of " + procedure->DLLName() + ": " + vzt::RoutineLoadError());
        } else if (vzt::RoutineChecks() > 0 && vzt::LastIFail() != 0) {
            err << ErrorLine(std::string(procedure->ProcedureName()) + " failed with ifail " +
                             vzt::IntegerText(vzt::LastIFail()));
        } else {
            err << ErrorLine(options.procedure + " could not be evaluated (status " +
                             vzt::IntegerText(residualStatus < 0 ? residualStatus : status) + ")");
        }
        return 1;
    }

    const double* computed =
        vzt::ProcedureValues(*procedure) + procedure->GetOffset(Procedure::InputArgs());
    const std::vector<int> offsets(procedure->GetOffsets(0),
                                   procedure->GetOffsets(0) + Procedure::TotalArgs());
    struct Equation {
        const char* name;
        int group;
        std::vector<std::string> incidence;
    };
    std::vector<Equation> list;
    const QV_EquationStore& store = vzt::Equations(owner);
    for (std::size_t e = 0; e < store.EquationCount(); ++e) {
        const QV_EquationView view = store.Equation(e);
        Equation& equation = list.emplace_back(Equation{view.name, view.group, {}});
        for (std::size_t t = 0; t < view.tokenCount; ++t) {
            if (view.tokens[t].kind == QV_Token::Kind::Term) {
                equation.incidence.push_back(names[view.tokens[t].term]);
            }
        }
    }
    const std::vector<double> f(computed, computed + residuals.size());
    const std::string nonFinite =
        FirstNonFinite({{"f", &f}, {"residual", &residuals}, {"jacobian", &jacobian}});
    const auto finish = [&] {
        if (nonFinite.empty()) {
            return 0;
        }
        err << ErrorLine(options.procedure + " gave a value that is not finite: " + nonFinite);
        return 1;
    };
    if (options.json) {
        out << '{';
        WriteJsonMember(out, "procedure", options.procedure, true);
        WriteJsonMember(out, "routine", procedure->ProcedureName());
        WriteJsonMember(out, "offsets", offsets);
        WriteJsonMember(out, "slots", vzt::ProcedureValueSlots(*procedure));
        WriteJsonMember(out, "nonzeros", equations.nonZeros);
        out << ",\"equations\":[";
        for (std::size_t e = 0; e < list.size(); ++e) {
            out << (e > 0 ? ",{" : "{");
            WriteJsonMember(out, "name", list[e].name, true);
            WriteJsonMember(out, "group", list[e].group);
            WriteJsonMember(out, "incidence", list[e].incidence);
            out << '}';
        }
        out << "],\"f\":";
        WriteOneOrAll(out, f);
        WriteJsonMember(out, "residuals", residuals);
        WriteJsonMember(out, "jacobian", jacobian);
        WriteJsonMember(out, "calls", vzt::RoutineChecks());
        WriteJsonMember(out, "status", status);
        out << "}\n";
        return finish();
    }
    out << options.procedure << ": routine " << procedure->ProcedureName() << " of "
        << procedure->DLLName() << '\n';
    out << "offsets ";
    WriteJson(out, offsets);
    out << "  slots " << vzt::ProcedureValueSlots(*procedure) << '\n';
    for (const Equation& equation : list) {
        out << "equation " << equation.name << "  group " << equation.group << "  incidence";
        for (const std::string& name : equation.incidence) {
            out << ' ' << name;
        }
        out << '\n';
    }
    out << "f ";
    WriteOneOrAll(out, f);
    out << "  residual ";
    WriteOneOrAll(out, residuals);
    out << "\njacobian ";
    WriteJson(out, jacobian);
    out << "\nroutine calls " << vzt::RoutineChecks() << "  status " << status << '\n';
    return finish();
}

} // namespace

int Call(const CallOptions& options, const std::string& routineFolder, Output& out, Output& err) {
    try {
        return CallUnguarded(options, routineFolder, out, err);
    } catch (const std::bad_alloc&) {
        err << ErrorLine(kOutOfMemory);
        return 1;
    }
}

} // namespace vzhost
