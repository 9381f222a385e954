// The driver end to end: what a user types and what comes back.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <utility>
#include <vector>

#include "run_vzhost.h"

namespace {

TEST(Vzhost, TypesListsTheCreatableTypesWithTheirIdentities) {
    const RunResult run = Vzhost("types");
    ASSERT_EQ(run.status, 0) << run.out;
    const auto lines = Lines(run.out);
    EXPECT_EQ(lines.size(), 15u) << run.out; // and the procedure
    EXPECT_NE(run.out.find("GENERICMODEL  Model GENERICMODEL\\tV10"), std::string::npos);
    EXPECT_NE(run.out.find("CONNECTION  Model CONNECTION\\tV10"), std::string::npos);
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

// What a run prints: the default domain, the OCFE3 layout, the forward continuity statement
// at a section join, and the size of a three-dimensional model.
TEST(Vzhost, RunPrintsTheLayoutAndTheEquations) {
    const std::vector<std::pair<std::string, std::vector<std::string>>> runs = {
        {"run", {"x domain: method BFD1, 1 section, element boundary Backward"}},
        {"run DOMAIN --x method=OCFE3",
         {"ENDNODE 9", "nodes 9, elements 3, element length 0.333333",
          "node positions: 0 0.07044 0.262893 0.333333", " 0.92956 1\n"}},
        {"run DISTRIBUTION1D --x method=OCFE3,sections=2,ebc=Forward,hod=2 --format summary",
         {"SetUpEquations 36 (36 instances", "QV_Eqn81    10     5          3, 6, 9, 12, 15"}},
        {"run DISTRIBUTION3D --x method=OCFE4 --y method=CFD4,sections=2 --z method=BFD2 "
         "--set INTEGRALS=idx,idxdydz",
         {"SetUpEquations 8262 (8262 instances"}},
    };
    for (const auto& [arguments, expected] : runs) {
        const RunResult run = Vzhost(arguments);
        ASSERT_EQ(run.status, 0) << arguments << ": " << run.out;
        for (const std::string& text : expected) {
            EXPECT_NE(run.out.find(text), std::string::npos) << arguments << ": " << run.out;
        }
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

    const RunResult json = Vzhost(model + " --format json");
    ASSERT_EQ(json.status, 0) << json.out;
    const auto document = nlohmann::json::parse(json.out);
    EXPECT_EQ(document["domains"]["x"]["endnode"], 16);
    EXPECT_EQ(document["domains"]["x"]["nodes"].size(), 17u);
    EXPECT_EQ(document["domains"]["x"]["sections"][1]["base"], 8);
    const auto& instances = document["setup"]["instances"];
    const auto& equations = document["equations"];
    ASSERT_EQ(instances.size(), 49u);
    ASSERT_EQ(equations.size(), 49u);
    for (std::size_t k = 0; k < equations.size(); ++k) {
        EXPECT_EQ(instances[k]["group"], equations[k]["group"]);
        std::vector<std::string> terms;
        for (const auto& token : equations[k]["tokens"]) {
            if (token[0] == "var") {
                terms.push_back(token[1]);
            }
        }
        EXPECT_EQ(instances[k]["incidence"].get<std::vector<std::string>>(), terms) << k;
    }
    EXPECT_EQ(equations[0]["tokens"], nlohmann::json::parse(R"j([["op",1],["var","IDX(0)"]])j"));
}

TEST(Vzhost, TwoDimensionalModelsNameTheirNodesByBothIndices) {
    const std::string model = "run DISTRIBUTION2D --x method=CFD4,sections=2 --y "
                              "method=OCFE3,ebc=Forward,hod=2 --set HIGHESTORDERXDERIVATIVEUSED=2 "
                              "--set HIGHESTORDERYDERIVATIVEUSED=2 --set INTEGRALS=idx,idy,idxdy";
    const RunResult summary = Vzhost(model + " --format summary");
    ASSERT_EQ(summary.status, 0) << summary.out;
    // The x joins stand at x node 8, ten of them, one on every y node.
    std::string joins;
    for (const std::string& line : Lines(summary.out)) {
        joins = line.rfind("QV_Eqn90 ", 0) == 0 ? line : joins;
    }
    EXPECT_NE(joins.find(" 10 "), std::string::npos) << joins;
    EXPECT_NE(joins.find(" (8, 0-9)"), std::string::npos) << joins;

    const RunResult json = Vzhost(model + " --format json");
    ASSERT_EQ(json.status, 0) << json.out;
    const auto document = nlohmann::json::parse(json.out);
    EXPECT_EQ(document["domains"]["x"]["interior"].size(), 15u);
    EXPECT_EQ(document["domains"]["y"]["interior"], nlohmann::json::parse("[1, 2, 4, 5, 7, 8]"));
    const auto& equations = document["equations"];
    ASSERT_EQ(equations.size(), 1108u);
    EXPECT_EQ(equations.back()["name"], "QV_Eqn197");
    EXPECT_EQ(equations.back()["tokens"][1], nlohmann::json::parse(R"j(["var","IDXDY(16,9)"])j"));
    EXPECT_EQ(equations.back()["tokens"][3],
              nlohmann::json::parse(R"j(["var","YDOMAIN.SECTION(1).ELEMENTLENGTH"])j"));
}

TEST(Vzhost, ThreeDimensionalModelsNameTheirNodesByThreeIndices) {
    const RunResult listing = Vzhost(
        "run DISTRIBUTION3D --x method=BFD1 --y method=BFD1 --z method=BFD1 --format listing");
    ASSERT_EQ(listing.status, 0) << listing.out;
    EXPECT_EQ(Lines(listing.out).back(),
              "QV_Eqn25    g=10  DDZ(8,8,8)*ZDOMAIN.SECTION(1).ELEMENTLENGTH "
              "+ (VALUE(8,8,7) - VALUE(8,8,8))");
}

TEST(Vzhost, BadInputGetsOneLineAndExitStatusTwo) {
    for (const char* arguments : {"show NOSUCHTYPE",
                                  "frobnicate",
                                  "",
                                  "show",
                                  "show GENERICPORT",
                                  "--library /nonexistent/lib.so types",
                                  "run --x method=FOO",
                                  "run --x sections=0",
                                  "run --x sections=-3",
                                  "run --x NUMPOLYPOINTS=-1",
                                  "run --x length=abc",
                                  "run --x length=nan",
                                  "run NOPE",
                                  "run --set FOO=1",
                                  "run --x method",
                                  "run DOMAIN --y method=BFD1",
                                  "run --format xml",
                                  "run --x type=GENERICMODEL",
                                  "run --x sections=99999999999",
                                  "run --set INTEGRALS",
                                  "run DISTRIBUTION2D --y method=FOO",
                                  "run DISTRIBUTION2D --y sections=0",
                                  "run DISTRIBUTION2D --set HIGHESTORDERZDERIVATIVE=1",
                                  "run DISTRIBUTION2D --z method=BFD1",
                                  "run DISTRIBUTION3D --z method=NOPE",
                                  "run --bogus"}) {
        const RunResult run = Vzhost(arguments);
        EXPECT_EQ(run.status, 2) << arguments << ": " << run.out;
        EXPECT_EQ(Lines(run.out).size(), 1u) << arguments << ": " << run.out;
        EXPECT_EQ(run.out.rfind("vzhost: ", 0), 0u) << run.out;
    }
}

} // namespace
