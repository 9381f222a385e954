// The driver end to end: what a user types and what comes back.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Runs the driver as a user would and collects what it prints.
struct RunResult {
    int status;
    std::string out; // standard output and standard error together
};

// `redirect` says where the two streams go; what reaches the pipe is collected.
RunResult Vzhost(const std::string& arguments, const std::string& shellPrefix = "",
                 const std::string& redirect = "2>&1") {
    const std::string command =
        shellPrefix + "exec " + std::string(VZHOST_PATH) + " " + arguments + " " + redirect;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {-1, ""};
    }
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out};
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

using nlohmann::json;

// A command line, its exit status, texts its output holds and, where not 0, how many lines
// it prints. A failure prints one line.
struct Command {
    std::string arguments;
    int status;
    std::vector<std::string> says = {};
    std::size_t lines = 0;
};

TEST(Vzhost, EachCommandPrintsWhatItFoundAndExitsWithItsStatus) {
    const std::vector<Command> commands = {
        {"types",
         0,
         {"GENERICMODEL  Model GENERICMODEL\\tV10", "CONNECTION  Model CONNECTION\\tV10"},
         15},
        // The default domain, the OCFE3 layout, the forward continuity statement at a
        // section join, the joins of two dimensions, and the size of a three-dimensional model.
        {"run", 0, {"x domain: method BFD1, 1 section, element boundary Backward"}},
        {"run DOMAIN --x method=OCFE3",
         0,
         {"ENDNODE 9", "nodes 9, elements 3, element length 0.333333",
          "node positions: 0 0.07044 0.262893 0.333333", " 0.92956 1\n"}},
        {"run DISTRIBUTION1D --x method=OCFE3,sections=2,ebc=Forward,hod=2 --format summary",
         0,
         {"SetUpEquations 36 (36 instances", "QV_Eqn81    10     5          3, 6, 9, 12, 15"}},
        {"run DISTRIBUTION2D --x method=CFD4,sections=2,hod=2 --y method=OCFE3,ebc=Forward,hod=2 "
         "--set HIGHESTORDERXDERIVATIVEUSED=2 --set HIGHESTORDERYDERIVATIVEUSED=2 --set "
         "INTEGRALS=idx,idy,idxdy",
         0,
         {"\nQV_Eqn90    14     10         (8, 0-9)\n"}},
        {"run DISTRIBUTION3D --x method=OCFE4 --y method=CFD4,sections=2 --z method=BFD2 "
         "--set INTEGRALS=idx,idxdydz",
         0,
         {"SetUpEquations 8262 (8262 instances"}},
        {"run DISTRIBUTION3D --x method=BFD1 --y method=BFD1 --z method=BFD1 --format listing",
         0,
         {"\nQV_Eqn25    g=10  DDZ(8,8,8)*ZDOMAIN.SECTION(1).ELEMENTLENGTH "
          "+ (VALUE(8,8,7) - VALUE(8,8,8))\n"}},
        {"call INTERPOLATE 2.5 0,1,2,4 1,3,2,6 4 --output 3",
         0,
         {"INTERPOLATE: routine INTERP of VARudaduro\n",
          "\nf 3.0  residual 0.0\njacobian [1.0,-2.0,", "\nroutine calls 1  status 0\n"},
         6},
        // Negative numbers are values; fixed arguments leave the incidence; the base shifts
        // the offsets only.
        {"call INTERPOLATE -0.5 -3e-07,1,2 1,2,3 3 --fixed 0,1 --base 1 --format json",
         0,
         {R"j("offsets":[1,2,5,8,9],)j", R"j("nonzeros":4,)j",
          R"j("incidence":["y","Y(1)","Y(2)","Y(3)"]}],)j",
          R"j("jacobian":[1.0,-1.499999550000135,0.499999550000135,0.0],)j"}},
        {"call INTERPOLATE 1 0,1 1,2 3", 1, {"vzhost: INTERP failed with ifail 2"}},
        {"call INTERPOLATE 1 0,0 1,2 2", 1, {"vzhost: INTERP failed with ifail 3"}},
        {"call INTERPOLATE x 0,1 1,2 2", 2, {"vzhost: X0 must be a real, not 'x'"}},
        {"call INTERPOLATE 1 0,,1 1,2 2", 2, {"ARRAY1 and ARRAY2 must be comma-separated reals"}},
        {"call INTERPOLATE 1 0,1 1,2 2.5", 2, {"vzhost: N must be an integer, not '2.5'"}},
        {"call INTERPOLATE 1 0,1 1,2 2 --fixed 3",
         2,
         {"--fixed takes arguments 0, 1 or 2, not '3'"}},
        {"call INTERPOLATE 1 0,1 1,2 2 --base 2", 2, {"vzhost: --base is 0 or 1, not '2'"}},
        {"call INTERPOLATE 1 0,1 1,2 2 --colour red", 2, {"vzhost: unknown option '--colour'"}},
        {"call SPLINE 1 0,1 1,2 2", 2, {"vzhost: unknown procedure 'SPLINE' (INTERPOLATE)"}},
        {"call INTERPOLATE 1 0,1", 2, {"vzhost: usage: vzhost call INTERPOLATE X0"}},
        {"show NOSUCHTYPE", 2},
        {"frobnicate", 2},
        {"", 2},
        {"show", 2},
        {"show GENERICPORT", 2},
        {"--library /nonexistent/lib.so types", 2},
        {"run --x method=FOO", 2},
        {"run --x sections=0", 2},
        {"run --x NUMPOLYPOINTS=-1", 2},
        {"run --x length=abc", 2},
        {"run --x length=nan", 2},
        {"run NOPE", 2},
        {"run --x method", 2},
        {"run DOMAIN --y method=BFD1", 2},
        {"run --format xml", 2},
        {"run --x type=GENERICMODEL", 2},
        {"run --x sections=99999999999", 2},
        {"run --set INTEGRALS", 2},
        {"run DISTRIBUTION2D --set HIGHESTORDERZDERIVATIVE=1", 2},
        {"run DISTRIBUTION2D --z method=BFD1", 2},
        {"run --bogus", 2},
        {"run DISTRIBUTION2D --x hod=2 --y method=CFD4 --x method=OCFE3",
         2,
         {"--x is given twice"}},
        // The usage on standard output: every command, or one command's options in full.
        {"--help",
         0,
         {"usage: vzhost", "\n  vzhost run [TYPE] [--x SPEC]", "\nexample: vzhost run "}},
        {"-h", 0, {"\n  vzhost call INTERPOLATE X0 ARRAY1 ARRAY2 N [--output Y]"}},
        {"help", 0, {"\n  vzhost show TYPE\n"}},
        {"help run", 0, {"method=...", "DISCRETIZATIONMETHOD", "INTEGRALS (idx,", "\nexample: "}},
        {"run DISTRIBUTION2D --help", 0, {"HIGHESTORDERYDERIVATIVEUSED", "spacing=..."}},
        {"call --help", 0, {"--fixed K,...", "\nexample: vzhost call "}},
        {"help frobnicate", 2},
        {"help run call", 2},
        // call reads numbers as run does: finite decimals, denormals included, nothing else.
        {"call INTERPOLATE 1e-320 0,1 1,2 2", 0, {"\nf 1.0"}},
        {"call INTERPOLATE nan 0,1 1,2 2", 2, {"X0 must be a real, not 'nan'"}},
        {"call INTERPOLATE inf 0,1 1,2 2", 2},
        {"call INTERPOLATE 0x1 0,1 1,2 2", 2},
        {"call INTERPOLATE ' 1' 0,1 1,2 2", 2},
        {"call INTERPOLATE +1 0,1 1,2 2", 2},
        {"call INTERPOLATE 1e400 0,1 1,2 2", 2},
        {"call INTERPOLATE 1 0,inf 1,2 2", 2},
        {"call INTERPOLATE 1 0,1 1,2 ' 2'", 2},
        {"call INTERPOLATE 1 0,1 1,2 0x2", 2},
        {"call INTERPOLATE 1 0,1 1,2 2 --output nan", 2},
        {"run DOMAIN --x 'MINNODECOUNT= 5'", 2, {"' 5' is not an integer"}},
        {"run DOMAIN --x 'length=1 '", 2},
        {"run DOMAIN --x length=+1", 2},
        // A minimum node count is raised to whole elements of three nodes.
        {"run DOMAIN --x method=OCFE3,MINNODECOUNT=10",
         0,
         {"ENDNODE 12", "nodes 12, elements 4, element length 0.25", " 0.94717 1\n"}},
        // Node counts beyond 32 bits cannot be held, however much memory there is, whether
        // from MINNODECOUNT or from the spacing.
        {"run DOMAIN --x method=OCFE4,MINNODECOUNT=2147483646",
         1,
         {"vzhost: out of memory: the model is too large for this machine"}},
        {"run DOMAIN --x spacing=1e-300", 1, {"vzhost: out of memory: the model is too large"}},
        {"run DISTRIBUTION1D --x method=OCFE3,spacing=4e-10 --format json",
         1,
         {"vzhost: out of memory: the model is too large"}},
        // A value echoed in an error keeps it on one line: control characters read \n, \t, \xNN.
        {R"c(call INTERPOLATE "$(printf '1\nx')" 0,1 0,1 2)c", 2, {"not '1\\nx'\n"}},
        {R"c(call INTERPOLATE 1 0,1 0,1 2 --format "$(printf 'a\tb')")c", 2, {"'a\\tb'"}},
        {R"c(run "$(printf 'NO\rTYPE')")c", 2, {"unknown type 'NO\\x0dTYPE'"}},
        {R"c(run DOMAIN --x "$(printf 'method=A\001B')")c", 2, {"'A\\x01B' is not one of"}},
        {R"c("$(printf 'frob\nnicate\n\177x')")c", 2, {"'frob\\nnicate\\n\\x7fx'"}},
        {R"c(--library "$(printf '/no\nwhere.so')" types)c", 2, {"/no\\nwhere.so"}},
    };
    for (const Command& c : commands) {
        const RunResult run = Vzhost(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << ": " << run.out;
        for (const std::string& text : c.says) {
            EXPECT_NE(run.out.find(text), std::string::npos) << c.arguments << ": " << run.out;
        }
        if (c.status != 0) {
            EXPECT_EQ(Lines(run.out).size(), 1u) << c.arguments << ": " << run.out;
            EXPECT_EQ(run.out.rfind("vzhost: ", 0), 0u) << c.arguments << ": " << run.out;
        } else if (c.lines != 0) {
            EXPECT_EQ(Lines(run.out).size(), c.lines) << c.arguments << ": " << run.out;
        }
    }
}

// Output that cannot be written (here to a full device) is no success: each command that
// would have printed ends with status 1 and one line on standard error.
TEST(Vzhost, OutputThatCannotBeWrittenFailsTheCommand) {
    for (const char* arguments :
         {"types", "show DOMAIN", "run DISTRIBUTION1D --format json", "run DISTRIBUTION3D",
          "call INTERPOLATE 2.5 0,1,2,4 1,3,2,6 4", "--help"}) {
        const RunResult run = Vzhost(arguments, "", "2>&1 >/dev/full");
        EXPECT_EQ(run.status, 1) << arguments;
        EXPECT_EQ(run.out, "vzhost: cannot write the output\n") << arguments;
    }
    // A model that fails keeps its own status and line.
    const RunResult failed = Vzhost("run --x method=OCFE3,NUMPOLYPOINTS=1", "", "2>&1 >/dev/full");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out, "vzhost: DISTRIBUTION1D failed: SetUpEquations returned -1\n");
}

// A model whose equations could not be set up stops there: JacPattern does not run, and each
// report says so, after what SetUpEquations registered.
TEST(Vzhost, ARunWhoseSetUpFailsStopsBeforeJacPattern) {
    const std::string model =
        "run DISTRIBUTION3D --z method=OCFE3,sections=2,spacing=9,"
        "MINNODECOUNT=-1 --set INTEGRALS=idx,idy,idz,idxdy,idxdz,idydz,idxdydz";
    const std::string failed = "vzhost: DISTRIBUTION3D failed: SetUpEquations returned -1\n";
    EXPECT_EQ(Vzhost(model + " --format listing", "", "2>/dev/null").out, "JacPattern not run\n");
    const RunResult summary = Vzhost(model + " --format summary", "", "2>/dev/null");
    EXPECT_EQ(summary.status, 1);
    EXPECT_NE(summary.out.find("\nSetUpEquations -1 (0 instances, 0 incidence entries); "
                               "JacPattern not run\n"),
              std::string::npos)
        << summary.out;
    const RunResult json = Vzhost(model + " --format json", "", "2>/dev/null");
    const auto document = json::parse(json.out);
    EXPECT_EQ(document["jacpattern"], json::parse(R"j({"ran":false})j"));
    EXPECT_EQ(document["equations"].size(), 0u);
    EXPECT_EQ(document["setup"]["result"], -1);
    for (const char* format : {"summary", "listing", "json"}) {
        const RunResult error = Vzhost(model + " --format " + format, "", "2>&1 >/dev/null");
        EXPECT_EQ(error.status, 1) << format;
        EXPECT_EQ(error.out, failed) << format;
    }
}

// A call whose f, residual or Jacobian is not finite prints its report as ever, then fails
// with one line naming the first such value.
TEST(Vzhost, ACallWithAResultThatIsNotFiniteFailsAfterItsReport) {
    struct Case {
        const char* call;
        const char* report;
        const char* error;
    };
    for (const Case& c :
         {Case{"1e308 0,1 0,2 2", "f null  residual null\njacobian [1.0,-2.0,null,null,1e+308",
               "f is inf"},
          Case{"0 0,1 -1e308,1 2 --output 1e308", "f -1e+308  residual null\n", "residual is inf"},
          Case{"0 0,1e-320 0,1 2", "f 0.0  residual 0.0\njacobian [1.0,null,null,null,-1.0,0.0]",
               "jacobian(2) is -inf"}}) {
        const std::string call = std::string("call INTERPOLATE ") + c.call;
        const RunResult out = Vzhost(call, "", "2>/dev/null");
        EXPECT_EQ(out.status, 1) << call;
        EXPECT_NE(out.out.find(c.report), std::string::npos) << call << ": " << out.out;
        EXPECT_NE(out.out.find("status 0\n"), std::string::npos) << call << ": " << out.out;
        EXPECT_EQ(Vzhost(call, "", "2>&1 >/dev/null").out,
                  std::string("vzhost: INTERPOLATE gave a value that is not finite: ") + c.error +
                      "\n")
            << call;
    }
    const RunResult json =
        Vzhost("call INTERPOLATE 1e308 0,1 0,2 2 --format json", "", "2>/dev/null");
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(json::parse(json.out)["f"], nullptr);
}

// Every property in order, in columns as wide as their longest entry.
TEST(Vzhost, ShowListsThePropertiesInOrderInColumns) {
    const RunResult run = Vzhost("show DISTRIBUTION1D");
    ASSERT_EQ(run.status, 0) << run.out;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 16u) << run.out;
    EXPECT_EQ(lines[0], "Model DISTRIBUTION1D\\tV10");
    EXPECT_EQ(lines[1].rfind("  1  XDOMAIN  ", 0), 0u) << lines[1];
    EXPECT_NE(lines[5].find(" INPUTSIGNAL   "), std::string::npos) << lines[5];
    EXPECT_NE(lines[5].find("  direction 4 (input)   Port CONTROLPORT\\tV10, not exported"),
              std::string::npos)
        << lines[5];
    EXPECT_NE(lines[8].find(" HIGHESTORDERXDERIVATIVEUSED  property  direction 0 (none)"),
              std::string::npos)
        << lines[8];
    const std::size_t column = lines[1].find("external");
    for (std::size_t i = 2; i < lines.size(); ++i) {
        EXPECT_TRUE(lines[i].compare(column - 2, 2, "  ") == 0 && lines[i][column] != ' ')
            << lines[i];
    }
}

TEST(Vzhost, ListingAndJsonDescribeTheSameInstances) {
    const std::string model = "run DISTRIBUTION1D --x method=CFD4,sections=2,hod=2 "
                              "--set HIGHESTORDERXDERIVATIVEUSED=2 --set INTEGRALS=idx";
    const RunResult listing = Vzhost(model + " --format listing");
    ASSERT_EQ(listing.status, 0) << listing.out;
    const auto lines = Lines(listing.out);
    ASSERT_EQ(lines.size(), 49u);
    EXPECT_EQ(lines[0], "QV_Eqn1     g=1  op1(IDX(0))");
    EXPECT_EQ(lines[1].rfind("QV_Eqn34    g=7  24*(DDX(0)*XDOMAIN.SECTION(1).ELEMENTLENGTH)", 0),
              0u)
        << lines[1];

    const RunResult run = Vzhost(model + " --format json");
    ASSERT_EQ(run.status, 0) << run.out;
    const json document = json::parse(run.out);
    EXPECT_EQ(document["domains"]["x"]["endnode"], 16);
    EXPECT_EQ(document["domains"]["x"]["nodes"].size(), 17u);
    EXPECT_EQ(document["domains"]["x"]["sections"][1]["base"], 8);
    const json& instances = document["setup"]["instances"];
    const json& equations = document["equations"];
    ASSERT_EQ(instances.size(), 49u);
    ASSERT_EQ(equations.size(), 49u);
    for (std::size_t k = 0; k < equations.size(); ++k) {
        EXPECT_EQ(instances[k]["group"], equations[k]["group"]);
        std::vector<std::string> terms;
        for (const json& token : equations[k]["tokens"]) {
            if (token[0] == "var") {
                terms.push_back(token[1]);
            }
        }
        EXPECT_EQ(instances[k]["incidence"].get<std::vector<std::string>>(), terms) << k;
    }
    EXPECT_EQ(equations[0]["tokens"], json::parse(R"j([["op",1],["var","IDX(0)"]])j"));
}

TEST(Vzhost, TwoDimensionalModelsNameTheirNodesByBothIndices) {
    const RunResult run = Vzhost(
        "run DISTRIBUTION2D --x method=CFD4,sections=2,hod=2 --y method=OCFE3,ebc=Forward,hod=2 "
        "--set HIGHESTORDERXDERIVATIVEUSED=2 --set HIGHESTORDERYDERIVATIVEUSED=2 --set "
        "INTEGRALS=idx,idy,idxdy --format json");
    ASSERT_EQ(run.status, 0) << run.out;
    const json document = json::parse(run.out);
    EXPECT_EQ(document["domains"]["x"]["interior"].size(), 14u);
    EXPECT_EQ(document["domains"]["y"]["interior"], json::parse("[1, 2, 4, 5, 7, 8]"));
    const json& equations = document["equations"];
    ASSERT_EQ(equations.size(), 1100u);
    EXPECT_EQ(equations.back()["name"], "QV_Eqn197");
    EXPECT_EQ(equations.back()["tokens"][1], json::parse(R"j(["var","IDXDY(16,9)"])j"));
    EXPECT_EQ(equations.back()["tokens"][3],
              json::parse(R"j(["var","YDOMAIN.SECTION(1).ELEMENTLENGTH"])j"));
}

// Node counts the machine cannot hold end the run at once with the out-of-memory message: a
// set of all the nodes that cannot be built is an allocation failure, not an empty set. So
// does a model that runs out of memory part way through its equations. The address space is
// limited so that nothing is taken from the machine; the sanitizers need more address space
// than that, so their builds leave this out.
TEST(Vzhost, NodeCountsThatCannotBeHeldEndAsOutOfMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "a limited address space";
#endif
    for (const char* model :
         {"DOMAIN --x MINNODECOUNT=2147483646", "DISTRIBUTION1D --x MINNODECOUNT=2147483646",
          "DISTRIBUTION1D --x ENDNODE=2147483647", "DISTRIBUTION1D --x MINNODECOUNT=50000000"}) {
        const RunResult run =
            Vzhost(std::string("run ") + model + " --format json", "ulimit -v 1000000; ");
        EXPECT_EQ(run.status, 1) << model << ": " << run.out;
        EXPECT_EQ(run.out.rfind("vzhost: out of memory: ", 0), 0u) << model << ": " << run.out;
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
    }
}

// The driver's command lines in the README, as a user copies them: each runs, names every
// term it reports, and asks for second derivatives only along a domain of highest order 2.
TEST(Vzhost, EveryReadmeExampleRunsAndGivesASquareModel) {
    std::ifstream readme(README_PATH);
    ASSERT_TRUE(readme.is_open());
    std::vector<std::string> examples;
    bool continued = false;
    for (std::string line; std::getline(readme, line);) {
        if (!continued && line.rfind("build/bin/vzhost ", 0) != 0) {
            continue;
        }
        const std::string command = line.substr(0, line.find("  #"));
        if (continued) {
            examples.back() += " " + command;
        } else {
            examples.push_back(command.substr(std::string("build/bin/vzhost ").size()));
        }
        continued = !examples.back().empty() && examples.back().back() == '\\';
        if (continued) {
            examples.back().pop_back();
        }
    }
    ASSERT_GE(examples.size(), 7u);
    for (const std::string& example : examples) {
        const RunResult run = Vzhost(example);
        EXPECT_EQ(run.status, 0) << example << ": " << run.out;
        EXPECT_EQ(run.out.find("<0x"), std::string::npos) << example << ": an unnamed term";
        for (const char direction : {'X', 'Y', 'Z'}) {
            const std::string used = std::string("HIGHESTORDER") + direction + "DERIVATIVEUSED=2";
            const std::string domain = std::string("--") + char(std::tolower(direction)) + " ";
            const std::size_t spec = example.find(domain);
            if (example.find(used) != std::string::npos) {
                ASSERT_NE(spec, std::string::npos) << example;
                const std::string settings =
                    example.substr(spec, example.find(' ', spec + domain.size()) - spec);
                EXPECT_NE(settings.find("hod=2"), std::string::npos) << example;
            }
        }
    }
}

// The whole report, its keys in the documented order.
TEST(Vzhost, CallJsonGivesTheEquationTheResidualAndTheJacobianRow) {
    const RunResult run = Vzhost("call INTERPOLATE 2.5 0,1,2,4 1,3,2,6 4 --output 3 --format json");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(
        run.out,
        R"j({"procedure":"INTERPOLATE","routine":"INTERP","offsets":[0,1,5,9,10],"slots":11,)j"
        R"j("nonzeros":10,"equations":[{"name":"[1]","group":1,"incidence":["y","x",)j"
        R"j("X(1)","X(2)","X(3)","X(4)","Y(1)","Y(2)","Y(3)","Y(4)"]}],"f":3.0,)j"
        R"j("residuals":[0.0],"jacobian":[1.0,-2.0,0.0,0.0,1.5,0.5,0.0,0.0,-0.75,-0.25],)j"
        R"j("calls":1,"status":0})j"
        "\n");
}

} // namespace
