// The driver reads and writes numbers through the C library; it must read and write them as
// the C++ library it replaced did: the same numbers accepted, the same bits, the same text.
#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "loader.h"
#include "numbers.h"
#include "output.h"

namespace {

// Random strings over the characters of decimals, with a few others.
std::vector<std::string> Spellings(std::size_t count) {
    std::vector<std::string> texts = {"1e-320",
                                      "1e-400",
                                      "0e-400",
                                      "4.9e-324",
                                      "2.4703282292062328e-324",
                                      "1e400",
                                      "-0",
                                      "-.5",
                                      ".",
                                      "-",
                                      "1.",
                                      "1e",
                                      "1e+",
                                      "0x1",
                                      "00012",
                                      "1e0005",
                                      "1.7976931348623157e308",
                                      "1.7976931348623159e308",
                                      "2147483647",
                                      "2147483648",
                                      "-2147483648",
                                      "-2147483649",
                                      " 1",
                                      "1 ",
                                      "+1",
                                      "inf",
                                      "nan",
                                      "",
                                      "1\n",
                                      "1,5",
                                      "٣"};
    std::mt19937 random(7);
    const char alphabet[] = "0123456789.-+eE0123456789 xin";
    for (std::size_t k = 0; k < count; ++k) {
        std::string text(1 + random() % 12, ' ');
        for (char& c : text) {
            c = alphabet[random() % (sizeof alphabet - 1)];
        }
        texts.push_back(text);
    }
    return texts;
}

TEST(Numbers, ReadAsTheCppLibraryReadsThem) {
    for (const std::string& text : Spellings(300000)) {
        const char* end = text.data() + text.size();
        double expected = 0.0;
        const auto real = std::from_chars(text.data(), end, expected);
        const bool isReal =
            !text.empty() && real.ec == std::errc() && real.ptr == end && std::isfinite(expected);
        double value = 0.0;
        ASSERT_EQ(vzt::ParseReal(text, value), isReal) << "'" << text << "'";
        if (isReal) {
            ASSERT_EQ(std::memcmp(&value, &expected, sizeof value), 0) << text;
        }
        int integer = 0;
        int expectedInteger = 0;
        const auto whole = std::from_chars(text.data(), end, expectedInteger);
        const bool isInteger = !text.empty() && whole.ec == std::errc() && whole.ptr == end;
        ASSERT_EQ(vzt::ParseInteger(text, integer), isInteger) << "'" << text << "'";
        if (isInteger) {
            ASSERT_EQ(integer, expectedInteger) << text;
        }
    }
}

TEST(Numbers, WrittenAsTheCppStreamsWroteThem) {
    for (const double value : {0.0, -0.0, 1.0 / 3, 0.07044, 2.5, 1e-320, 1e308, -DBL_MAX, 123456.5,
                               1234567.0, 1e-5, double(INFINITY), -double(INFINITY)}) {
        std::ostringstream expected;
        expected << value;
        vzhost::Output out;
        out << value;
        EXPECT_EQ(out.Text(), expected.str());
    }
    vzhost::Output out;
    out << INT_MIN << ' ' << std::size_t(4294967295u) << ' ' << LLONG_MIN;
    EXPECT_EQ(out.Text(), "-2147483648 4294967295 -9223372036854775808");
    EXPECT_EQ(vzt::IntegerText(LLONG_MIN), "-9223372036854775808");
}

TEST(Numbers, AFolderIsThePathUpToItsLastSeparator) {
    for (const auto& [path, folder] : {std::pair{"build/lib/x.so", "build/lib"},
                                       {"x.so", ""},
                                       {"/x.so", "/"},
                                       {"a/b/", "a/b"},
                                       {"a//x.so", "a"},
                                       {"//x.so", "/"}}) {
        EXPECT_EQ(vzt::FolderOf(path), folder) << path;
    }
}

} // namespace
