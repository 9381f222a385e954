// vzhost call end to end: the procedure with the real routine library, as a user runs it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "run_vzhost.h"

namespace {

TEST(VzhostCall, JsonGivesTheEquationTheResidualAndTheJacobianRow) {
    const RunResult run = Vzhost("call INTERPOLATE 2.5 0,1,2,4 1,3,2,6 4 --output 3 --format json");
    ASSERT_EQ(run.status, 0) << run.out;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    EXPECT_EQ(report["offsets"], nlohmann::json({0, 1, 5, 9, 10}));
    EXPECT_EQ(report["slots"], 11);
    EXPECT_EQ(report["nonzeros"], 10);
    ASSERT_EQ(report["equations"].size(), 1u);
    EXPECT_EQ(report["equations"][0]["name"], "[1]");
    EXPECT_EQ(
        report["equations"][0]["incidence"],
        nlohmann::json({"y", "x", "X(1)", "X(2)", "X(3)", "X(4)", "Y(1)", "Y(2)", "Y(3)", "Y(4)"}));
    EXPECT_EQ(report["f"], 3.0);
    EXPECT_EQ(report["residuals"], nlohmann::json({0.0}));
    EXPECT_EQ(report["jacobian"],
              nlohmann::json({1.0, -2.0, 0.0, 0.0, 1.5, 0.5, 0.0, 0.0, -0.75, -0.25}));
    EXPECT_EQ(report["calls"], 1);
    EXPECT_EQ(report["status"], 0);
    // The keys in the documented order, the names first.
    EXPECT_EQ(run.out.rfind("{\"procedure\":\"INTERPOLATE\",\"routine\":\"INTERP\",\"offsets\"", 0),
              0u);
}

// Negative numbers are values; fixed arguments leave the incidence; the base shifts the
// offsets only.
TEST(VzhostCall, FixedArgumentsAndTheBaseIndex) {
    const RunResult run =
        Vzhost("call INTERPOLATE -0.5 -3e-07,1,2 1,2,3 3 --fixed 0,1 --base 1 --format json");
    ASSERT_EQ(run.status, 0) << run.out;
    const nlohmann::json report = nlohmann::json::parse(run.out);
    EXPECT_EQ(report["offsets"], nlohmann::json({1, 2, 5, 8, 9}));
    EXPECT_EQ(report["equations"][0]["incidence"], nlohmann::json({"y", "Y(1)", "Y(2)", "Y(3)"}));
    EXPECT_EQ(report["nonzeros"], 4);
    EXPECT_EQ(report["jacobian"].size(), 4u);
}

TEST(VzhostCall, FailuresGetOneLineAndTheirStatus) {
    struct Case {
        const char* arguments;
        int status;
        const char* message;
    };
    const std::vector<Case> cases = {
        {"call INTERPOLATE 1 0,1 1,2 3", 1, "vzhost: INTERP failed with ifail 2"},
        {"call INTERPOLATE 1 0,0 1,2 2", 1, "vzhost: INTERP failed with ifail 3"},
        {"call INTERPOLATE x 0,1 1,2 2", 2, "vzhost: X0 must be a real, not 'x'"},
        {"call INTERPOLATE 1 0,,1 1,2 2", 2,
         "vzhost: ARRAY1 and ARRAY2 must be comma-separated reals"},
        {"call INTERPOLATE 1 0,1 1,2 2.5", 2, "vzhost: N must be an integer, not '2.5'"},
        {"call INTERPOLATE 1 0,1 1,2 2 --fixed 3", 2,
         "vzhost: --fixed takes arguments 0, 1 or 2, not '3'"},
        {"call INTERPOLATE 1 0,1 1,2 2 --base 2", 2, "vzhost: --base is 0 or 1, not '2'"},
        {"call INTERPOLATE 1 0,1 1,2 2 --colour red", 2, "vzhost: unknown option '--colour'"},
        {"call SPLINE 1 0,1 1,2 2", 2, "vzhost: unknown procedure 'SPLINE' (INTERPOLATE)"},
    };
    for (const Case& c : cases) {
        const RunResult run = Vzhost(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(Lines(run.out), std::vector<std::string>{c.message}) << c.arguments;
    }
    const RunResult usage = Vzhost("call INTERPOLATE 1 0,1");
    EXPECT_EQ(usage.status, 2);
    EXPECT_EQ(Lines(usage.out).size(), 1u);
}

TEST(VzhostCall, SummaryShowsTheSameFigures) {
    const RunResult run = Vzhost("call INTERPOLATE 2.5 0,1,2,4 1,3,2,6 4 --output 3");
    ASSERT_EQ(run.status, 0) << run.out;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 6u) << run.out;
    EXPECT_EQ(lines[0], "INTERPOLATE: routine INTERP of VARudaduro");
    EXPECT_EQ(lines[3], "f 3.0  residual 0.0");
    EXPECT_EQ(lines[5], "routine calls 1  status 0");
}

} // namespace
