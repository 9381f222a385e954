// The equation store keeps what the model sent: starts past 2^32 incidence entries, indices
// of any size, and the tokens of equations that repeat, partly repeat or leave the shape their name
// took before.
#include <cstdint>
#include <vector>

#include "support/host_fixture.h"

namespace {

using EquationStoreTest = testsupport::HostTest;

TEST(StartList, ReadsBackStartsOnEitherSideOfEach2To32Boundary) {
    constexpr std::uint64_t k4G = std::uint64_t(1) << 32;
    const std::vector<std::vector<std::uint64_t>> cases = {
        {0, 0, 5, k4G - 1},
        {0, k4G - 1, k4G, k4G, k4G + 7},
        {3, 3 * k4G + 1, 3 * k4G + 2, 7 * k4G},        // high parts skipped
        {k4G, k4G + 1, 2 * k4G - 1, 2 * k4G, 5 * k4G}, // never below 2^32
    };
    QV_StartList starts;
    for (const auto& written : cases) {
        starts.clear(); // a cleared list starts again at high part 0
        for (std::uint64_t s : written) {
            starts.push_back(s);
        }
        ASSERT_EQ(starts.size(), written.size());
        for (std::size_t k = 0; k < written.size(); ++k) {
            EXPECT_EQ(starts[k], written[k]) << k;
            // Below 2^32 the low part is the whole start.
            EXPECT_EQ(starts.IsLow(k), written[k] < k4G) << k;
            EXPECT_EQ(starts.LowPart(k), std::uint32_t(written[k])) << k;
        }
    }
}

TEST(IndexArray, ReadsBackEveryIndexWhileItWidens) {
    const std::vector<std::vector<std::uint32_t>> cases = {
        {0, 255, 3},
        {7, 256, 0, 65535},             // to two bytes
        {1, 2, 65536, 5},               // straight to four
        {300, 1, 70000, UINT32_MAX, 9}, // two, then four
    };
    for (const auto& pushed : cases) {
        QV_IndexArray indices;
        std::vector<std::uint32_t> expected;
        for (std::uint32_t index : pushed) {
            for (int repeat = 0; repeat < 600; ++repeat) { // past one chunk
                indices.push_back(index);
                expected.push_back(index);
            }
        }
        ASSERT_EQ(indices.size(), expected.size());
        for (std::size_t k = 0; k < expected.size(); ++k) {
            ASSERT_EQ(indices[k], expected[k]) << k;
        }
    }
}

// Each equation's tokens are integers, so a token names its place in the stream; a value of
// -1 is sent to an equation other than the open one. An equation that repeats an earlier one
// whole keeps no tokens of its own.
struct Sent {
    const char* name;
    int group;
    std::vector<int> tokens;
    int sharesWith = -1;
};

std::vector<int> Counting(int from, int count, int changedAt = -1) {
    std::vector<int> run;
    for (int k = 0; k < count; ++k) {
        run.push_back(k == changedAt ? -5 : from + k);
    }
    return run;
}

void ExpectTokens(const QV_EquationStore& store, std::size_t k, const std::vector<int>& tokens) {
    const QV_EquationView equation = store.Equation(k);
    ASSERT_EQ(equation.tokenCount, tokens.size()) << "equation " << k;
    for (std::size_t t = 0; t < tokens.size(); ++t) {
        const QV_Token token = equation.tokens[t];
        ASSERT_EQ(token.kind, QV_Token::Kind::Integer) << k << "/" << t;
        ASSERT_EQ(token.integer, tokens[t]) << k << "/" << t;
    }
}

TEST_F(EquationStoreTest, EveryEquationReadsBackTheTokensItWasSentWhetherOrNotItRepeatsAShape) {
    const std::vector<Sent> sent = {
        {"A", 1, {1, 2, 3}},
        {"A", 1, {1, 2, 3}, 0},              // repeats
        {"A", 1, {1, -1, 2, 3}, 0},          // repeats, a token sent elsewhere on the way
        {"A", 1, {1, 2, 4}},                 // leaves at the last token
        {"A", 1, {1, 2, 4, 5}},              // goes on past the end
        {"A", 1, {1, 2}},                    // ends early
        {"A", 1, {9}},                       // leaves at the first
        {"A", 2, {9}},                       // same tokens, another group
        {"A", 2, {}},                        // none at all
        {"A", 2, {}, 8},                     //
        {"B", 1, Counting(0, 700)},          // crosses from one chunk of tokens to the next
        {"B", 1, Counting(0, 700), 10},      //
        {"B", 1, Counting(0, 700, 600)},     // leaves in the second chunk
        {"B", 1, Counting(0, 700, 600), 12}, //
        {"A", 2, {}, 8},                     // a name's last shape survives others in between
    };
    QV_ModelTypeEx2 model;
    const QV_EquationStore& store = vzt::Equations(model);
    int counter = 0;
    std::vector<std::vector<int>> kept(sent.size());
    for (std::size_t k = 0; k < sent.size(); ++k) {
        model.AddEquation(sent[k].name, counter, sent[k].group);
        for (int value : sent[k].tokens) {
            model.AddTerm(value, value == -1 ? counter + 3 : counter - 1);
            if (value != -1) {
                kept[k].push_back(value);
                ExpectTokens(store, k, kept[k]); // the open equation reads what it has so far
            }
        }
    }
    ASSERT_EQ(store.EquationCount(), sent.size());
    EXPECT_EQ(store.MisroutedTokens(), 1u);
    for (std::size_t k = 0; k < sent.size(); ++k) {
        ExpectTokens(store, k, kept[k]);
        EXPECT_STREQ(store.Equation(k).name, sent[k].name) << k;
        EXPECT_EQ(store.Equation(k).group, sent[k].group) << k;
        if (sent[k].sharesWith >= 0) {
            EXPECT_EQ(store.Equation(k).tokens.first,
                      store.Equation(std::size_t(sent[k].sharesWith)).tokens.first)
                << k;
        }
    }
}

} // namespace
