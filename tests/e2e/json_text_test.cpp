// The scalars a streamed JSON document is written with read back as what was written.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <nlohmann/json.hpp>
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

} // namespace
