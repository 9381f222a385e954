// JSON scalars written straight to a stream, so that a document of any size is written as
// it is produced.
#pragma once

#include <ostream>
#include <string_view>
#include <vector>

namespace vzhost {

// A JSON string: quotes, backslashes and control characters escaped, other bytes as they are.
void WriteJsonString(std::ostream& out, std::string_view text);
// A number in its shortest form that reads back exactly (3.0, 0.1, 1e-07); null when not finite.
void WriteJsonReal(std::ostream& out, double value);
void WriteJsonArray(std::ostream& out, const std::vector<int>& values);
void WriteJsonArray(std::ostream& out, const std::vector<double>& values);

} // namespace vzhost
