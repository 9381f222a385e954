// The scalars a streamed JSON document is written with read back as what was written.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <nlohmann/json.hpp>
#include <random>
#include <string>

#include "json_text.h"

namespace {

using nlohmann::json;

TEST(JsonText, StringsAndRealsReadBackExactly) {
    for (const std::string& text :
         {std::string(""), std::string("VALUE(3,5,2)"), std::string("a \"quoted\" \\ path"),
          std::string("tab\there"), std::string("line\nbreak\r\f\b"), std::string("\x01\x1f\x7f"),
          std::string("nul\0inside", 10), std::string("\xc3\xa9t\xc3\xa9")}) {
        vzhost::Output out;
        vzhost::WriteJsonString(out, text);
        EXPECT_EQ(json::parse(out.Text()).get<std::string>(), text) << out.Text();
        EXPECT_EQ(out.Text(), json(text).dump()) << "written as the library writes it";
    }
    for (const double value : {0.0, -0.0, 3.0, 0.1, 1.0 / 3, 1e-7, 1e-320, 1e300, -2.5e-12,
                               std::numeric_limits<double>::max()}) {
        vzhost::Output out;
        vzhost::WriteJsonReal(out, value);
        EXPECT_EQ(json::parse(out.Text()).get<double>(), value) << out.Text();
        EXPECT_TRUE(json::parse(out.Text()).is_number_float()) << out.Text();
    }
    vzhost::Output notANumber;
    vzhost::WriteJsonReal(notANumber, std::nan(""));
    EXPECT_EQ(notANumber.Text(), "null");
}

// Every real is written with the digits the JSON library writes (the documents' digits before
// the driver wrote its own): at the edges of the exponent range, at powers of two, where the
// lower neighbour is closer, at powers of ten, and at random bits, fractions and magnitudes.
TEST(JsonText, RealsHaveTheDigitsTheJsonLibraryGives) {
    std::vector<double> values = {5e-324,
                                  std::numeric_limits<double>::max(),
                                  std::numeric_limits<double>::min(),
                                  0.1,
                                  1.0 / 3,
                                  1e21,
                                  1e15,
                                  123456789012345.6,
                                  1e-5,
                                  0.0001};
    for (int e = -1075; e <= 1024; ++e) {
        const double power = std::ldexp(1.0, e);
        values.insert(values.end(),
                      {power, std::nextafter(power, 0.0), std::nextafter(power, HUGE_VAL)});
    }
    for (int k = -325; k <= 309; ++k) {
        values.push_back(std::pow(10.0, k));
    }
    std::mt19937_64 random(35);
    for (int k = 0; k < 200000; ++k) {
        const std::uint64_t bits = random();
        double value = 0.0;
        std::memcpy(&value, &bits, sizeof value);
        values.insert(values.end(),
                      {value, double(random() % 100000) / double(1 + random() % 1000),
                       std::ldexp(double(random() >> 11), int(random() % 2200) - 1100)});
    }
    for (const double value : values) {
        if (!std::isfinite(value)) {
            continue;
        }
        for (const double real : {value, -value}) {
            vzhost::Output out;
            vzhost::WriteJsonReal(out, real);
            ASSERT_EQ(out.Text(), json(real).dump());
        }
    }
}

} // namespace
