#include "help.h"

#include <string>
#include <string_view>
#include <vector>

#include "run.h"
#include "types/distribution3d/arrays.h"
#include "types/domain/methods.h"

namespace vzhost {
namespace {

struct Command {
    const char* name;
    const char* synopsis; // the command and its options
    const char* purpose;
    const char* options; // one line per option, in full
    const char* example;
    bool domainSettings = false; // followed by the domain settings and run's other options
};

constexpr Command kCommands[] = {
    {"types", "types", "list the exported types and procedures with their identities", "",
     "vzhost types"},
    {"show", "show TYPE", "create one TYPE through its factory and list its properties in order",
     "  TYPE              a type `vzhost types` lists\n", "vzhost show DISTRIBUTION1D"},
    {"run",
     "run [TYPE] [--x SPEC] [--y SPEC] [--z SPEC] [--set NAME=VALUE]... "
     "[--format summary|listing|json]",
     "build TYPE with a domain per direction it refers to, set it up and report its equations",
     "  TYPE              the type to build (default DISTRIBUTION1D)\n"
     "  --x, --y, --z SPEC\n"
     "                    that direction's domain: comma-separated settings KEY=VALUE, a key\n"
     "                    below or any property of the domain (MINNODECOUNT=12); a direction\n"
     "                    left out gets a default domain\n",
     "vzhost run DISTRIBUTION1D --x method=CFD4,sections=2,hod=2 "
     "--set HIGHESTORDERXDERIVATIVEUSED=2 --set INTEGRALS=idx",
     true},
    {"call",
     "call INTERPOLATE X0 ARRAY1 ARRAY2 N [--output Y] [--fixed K,...] [--base 0|1] "
     "[--format summary|json]",
     "evaluate the procedure y = INTERPOLATE(x, X, Y, n) as a model calls it",
     "  X0                x, a real\n"
     "  ARRAY1 ARRAY2     X and Y, comma-separated reals\n"
     "  N                 n, an integer\n"
     "  --output Y        the value of the output variable y (default 0)\n"
     "  --fixed K,...     arguments 0 (x, then a constant), 1 or 2 (X, Y: not solver variables)\n"
     "  --base 0|1        the host's language base index (default 0)\n"
     "  --format F        summary (default) or json\n",
     "vzhost call INTERPOLATE 2.5 0,1,2,4 1,3,2,6 4 --output 3"},
    {"help", "help [COMMAND]", "this text, or a command's own (also --help, -h)", "",
     "vzhost help run"},
};

// The domain settings' short names, with the property each stands for.
void PrintDomainKeys(Output& out) {
    for (const auto& [key, property] : DomainKeys()) {
        out << "    " << LeftAligned{std::string(key) + "=...", 16} << property << '\n';
    }
}

// Names, comma-separated, wrapped at the help's width under the option column.
void PrintNames(Output& out, std::string_view lead, auto names, std::string_view tail) {
    constexpr std::size_t kIndent = 20;
    constexpr std::size_t kWidth = 92;
    std::string line = std::string(kIndent, ' ') + std::string(lead);
    const std::size_t count = std::size(names);
    std::size_t k = 0;
    for (const std::string_view name : names) {
        const std::string word = std::string(name) + (++k < count ? "," : std::string(tail));
        if (line.size() + 1 + word.size() > kWidth) {
            out << line << '\n';
            line = std::string(kIndent - 1, ' ');
        }
        line += (line.back() == '(' ? "" : " ") + word;
    }
    out << line << '\n';
}

// The domain settings' short names with the values they take, then run's other options;
// the methods and integrals as the library names them.
void PrintDomainSettings(Output& out) {
    PrintDomainKeys(out);
    out << "    type=...        the domain's type: DOMAIN (default), LENGTHDOMAIN or ANGLEDOMAIN\n";
    std::vector<std::string_view> methods;
    for (const pellorin::methods::Method& m : pellorin::methods::kMethods) {
        methods.push_back(m.name);
    }
    PrintNames(out, "methods:", methods, "; ebc: Backward or Forward; hod: 1 or 2");
    out << "  --set NAME=VALUE  a property of the model, a set's members comma-separated:\n"
           "                    HIGHESTORDERXDERIVATIVEUSED, HIGHESTORDERYDERIVATIVEUSED and\n"
           "                    HIGHESTORDERZDERIVATIVEUSED (1 or 2; at most the domain's hod),\n";
    PrintNames(out, "INTEGRALS (", pellorin::dist3d::kIntegrals, ")");
    out << "  --format F        summary (default), a listing of every equation, or one json "
           "document\n";
}

} // namespace

void PrintUsage(Output& out) {
    out << "usage: vzhost [--library PATH] COMMAND ...\n";
    for (const Command& c : kCommands) {
        out << "  vzhost " << c.synopsis << '\n';
    }
    out << "example: " << kCommands[2].example << '\n';
}

bool PrintCommandHelp(Output& out, const std::string& command) {
    for (const Command& c : kCommands) {
        if (command != c.name) {
            continue;
        }
        out << "usage: vzhost " << c.synopsis << '\n' << c.purpose << '\n';
        out << c.options;
        if (c.domainSettings) {
            PrintDomainSettings(out);
        }
        out << "example: " << c.example << '\n';
        return true;
    }
    return false;
}

} // namespace vzhost
