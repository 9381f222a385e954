// The driver end to end: what a user types and what comes back.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct RunResult {
    int status;
    std::string out; // standard output and standard error together
};

RunResult Vzhost(const std::string& arguments) {
    const std::string command = std::string(VZHOST_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {-1, ""};
    }
    std::string out;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        out.append(buffer.data(), n);
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

TEST(Vzhost, TypesListsTheCreatableTypesWithTheirIdentities) {
    const RunResult run = Vzhost("types");
    ASSERT_EQ(run.status, 0) << run.out;
    const auto lines = Lines(run.out);
    EXPECT_EQ(lines.size(), 12u) << run.out;
    EXPECT_NE(run.out.find("GENERICMODEL  Model GENERICMODEL\\tV10"), std::string::npos);
    EXPECT_NE(run.out.find("CONNECTION  Model CONNECTION\\tV10"), std::string::npos);
}

TEST(Vzhost, ShowListsAStreamsSixPropertiesInOrderWithDirections) {
    const RunResult run = Vzhost("show GENERICSTREAM");
    ASSERT_EQ(run.status, 0) << run.out;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 7u) << run.out;
    EXPECT_EQ(lines[0], "Stream GENERICSTREAM\\tV10");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"USERNOTES", "direction 0"},
        {"COMPONENTLIST", "direction 0"},
        {"QV_UNCONNECTABLEINPUT", "direction 4"},
        {"QV_UNCONNECTABLEOUTPUT", "direction 8"},
        {"INPUTSIGNAL", "direction 4"},
        {"OUTPUTSIGNAL", "direction 8"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NE(lines[i + 1].find(" " + expected[i].first + " "), std::string::npos)
            << lines[i + 1];
        EXPECT_NE(lines[i + 1].find(expected[i].second), std::string::npos) << lines[i + 1];
    }
}

TEST(Vzhost, BadInputGetsOneLineAndExitStatusTwo) {
    for (const char* arguments : {"show NOSUCHTYPE", "frobnicate", "", "show", "show GENERICPORT",
                                  "--library /nonexistent/lib.so types"}) {
        const RunResult run = Vzhost(arguments);
        EXPECT_EQ(run.status, 2) << arguments << ": " << run.out;
        EXPECT_EQ(Lines(run.out).size(), 1u) << arguments << ": " << run.out;
        EXPECT_EQ(run.out.rfind("vzhost: ", 0), 0u) << run.out;
    }
}

} // namespace
