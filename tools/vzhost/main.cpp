// vzhost: loads the type library as the host does and drives its types.
//
//   vzhost types                the exported types with their identities
//   vzhost show TYPE            create one through its factory and list what it registered
//   vzhost run [TYPE] [--x SPEC] [--y SPEC] [--z SPEC] [--set NAME=VALUE ...]
//              [--format summary|listing|json]
//                               build TYPE (default DISTRIBUTION1D) with a domain per direction
//                               it refers to (SPEC: method=CFD4,sections=3,ebc=Forward,hod=2,
//                               length=2.0,spacing=0.1,type=LENGTHDOMAIN or any property
//                               NAME=VALUE), drive it and report what it registered
//   vzhost call INTERPOLATE X0 ARRAY1 ARRAY2 N [--output Y] [--fixed K,...] [--base 0|1]
//              [--format summary|json]
//                               run the procedure through the host's protocol and report
//                               its equation, residual and Jacobian row (exit status 1 when
//                               its routine fails)
//
//   vzhost help [COMMAND]       the usage (also --help, -h; COMMAND --help for one command)
//
// Options: --library PATH (default: ../lib/Pellorin360_1.so beside this program).
// Bad input gets a one-line error and exit status 2; a model that fails, one line and 1.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "call.h"
#include "describe.h"
#include "help.h"
#include "loader.h"
#include "one_line.h"
#include "output.h"
#include "run.h"

namespace {

constexpr int kModelFailed = 1;
constexpr int kUsageError = 2;

int Fail(const std::string& message, int status = kUsageError) {
    std::fputs(vzhost::ErrorLine(message).c_str(), stderr);
    return status;
}

int ListTypes(const vzt::TypeLibrary& library, vzhost::Output& out) {
    for (const std::string type : vzt::CreatableTypeNames()) {
        if (!library.HasType(type)) {
            continue;
        }
        QV_ModelType* object = library.Create(type);
        if (object == nullptr) {
            return Fail("the factory of " + type + " returned no object", kModelFailed);
        }
        out << type << "  " << vzhost::Printable(object->QV_DefaultDESCRIPTION()) << '\n';
        object->Release();
    }
    vzhost::ListProcedures(out);
    return 0;
}

int ShowType(const vzt::TypeLibrary& library, const std::string& type, vzhost::Output& out) {
    if (!library.HasType(type)) {
        return Fail("unknown type '" + type + "'");
    }
    QV_ModelType* object = library.Create(type);
    if (object == nullptr) {
        return Fail("the factory of " + type + " returned no object", kModelFailed);
    }
    out << vzhost::Printable(object->QV_DefaultDESCRIPTION()) << '\n';
    vzhost::DescribeProperties(out, *object);
    object->Release();
    return 0;
}

// The run command's own options; false with a message when one is wrong.
bool ParseRun(const std::vector<std::string>& words, vzhost::RunOptions& options,
              std::string& error) {
    options.type = "DISTRIBUTION1D";
    bool typeGiven = false;
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& word = words[i];
        const bool hasValue = i + 1 < words.size();
        if (word == "--x" || word == "--y" || word == "--z") {
            if (!hasValue) {
                error = word + " needs a domain's settings";
                return false;
            }
            // A second spec of one direction would silently drop the first.
            if (!options.domainSpecs.emplace(word[2], words[++i]).second) {
                error = word + " is given twice; give all its settings in one";
                return false;
            }
        } else if (word == "--set") {
            const std::string setting = hasValue ? words[++i] : "";
            const auto equals = setting.find('=');
            if (equals == std::string::npos || equals == 0) {
                error = "--set needs NAME=VALUE";
                return false;
            }
            options.settings.emplace_back(setting.substr(0, equals), setting.substr(equals + 1));
        } else if (word == "--format") {
            const std::string format = hasValue ? words[++i] : "";
            if (format == "summary") {
                options.format = vzhost::Format::Summary;
            } else if (format == "listing") {
                options.format = vzhost::Format::Listing;
            } else if (format == "json") {
                options.format = vzhost::Format::Json;
            } else {
                error = "unknown format '" + format + "' (summary, listing or json)";
                return false;
            }
        } else if (word.rfind("--", 0) == 0) {
            error = "unknown option '" + word + "'";
            return false;
        } else if (!typeGiven) {
            options.type = word;
            typeGiven = true;
        } else {
            error = "unexpected argument '" + word + "'";
            return false;
        }
    }
    return true;
}

bool AsksForHelp(const std::string& word) {
    return word == "--help" || word == "-h" || word == "help";
}

// The usage, or a command's own when a command is named before or after the request.
int Help(const std::vector<std::string>& words, vzhost::Output& out) {
    if (AsksForHelp(words[0])) {
        if (words.size() == 1) {
            vzhost::PrintUsage(out);
            return 0;
        }
        if (words.size() > 2) {
            return Fail("help takes one command");
        }
    }
    const std::string& command = AsksForHelp(words[0]) ? words[1] : words[0];
    if (!vzhost::PrintCommandHelp(out, command)) {
        return Fail("unknown command '" + command + "'; vzhost --help lists them");
    }
    return 0;
}

int Main(int argc, char** argv, vzhost::Output& out, vzhost::Output& err) {
    std::vector<std::string> words;
    std::string libraryPath = vzt::DefaultLibraryPath(argv[0]);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--library") == 0) {
            if (i + 1 >= argc) {
                return Fail("--library needs a path");
            }
            libraryPath = argv[++i];
        } else {
            words.emplace_back(argv[i]);
        }
    }
    if (words.empty()) {
        return Fail("no command; vzhost --help shows the usage");
    }
    const std::string& command = words[0];
    if (AsksForHelp(command) ||
        std::any_of(words.begin() + 1, words.end(),
                    [](const std::string& word) { return word == "--help" || word == "-h"; })) {
        return Help(words, out);
    }
    vzhost::RunOptions runOptions;
    std::string error;
    if (command == "run" && !ParseRun(words, runOptions, error)) {
        return Fail(error);
    }
    if (command == "call") {
        vzhost::CallOptions callOptions;
        if (!vzhost::ParseCall(words, callOptions, error)) {
            return Fail(error);
        }
        // Routine libraries are loaded from the type library's folder.
        const std::string folder = vzt::FolderOf(libraryPath);
        return vzhost::Call(callOptions, folder.empty() ? "." : folder, out, err);
    }
    const bool known = (command == "types" && words.size() == 1) ||
                       (command == "show" && words.size() == 2) || command == "run";
    if (!known) {
        return Fail(command == "types" || command == "show"
                        ? "usage: vzhost " + std::string(command == "show" ? "show TYPE" : "types")
                        : "unknown command '" + command + "'; vzhost --help lists them");
    }

    vzt::TypeLibrary library(libraryPath);
    if (!library.IsOpen()) {
        return Fail("cannot load the type library: " + library.Error());
    }
    if (command == "types") {
        return ListTypes(library, out);
    }
    if (command == "show") {
        return ShowType(library, words[1], out);
    }
    return vzhost::Run(library, runOptions, out, err);
}

} // namespace

int main(int argc, char** argv) {
    int status = 0;
    vzhost::Output out(stdout);
    vzhost::Output err(stderr);
    try {
        status = Main(argc, argv, out, err);
    } catch (const std::bad_alloc&) {
        err.Flush();
        return Fail("out of memory", kModelFailed);
    }
    err.Flush();
    // Output that could not be written (a full disk, say) is a result lost, not a success.
    if (!out.Flush() && status == 0) {
        return Fail("cannot write the output", kModelFailed);
    }
    return status;
}
