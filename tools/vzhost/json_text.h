// JSON scalars written straight to the output, so that a document of any size is written as
// it is produced.
#pragma once

#include <string_view>
#include <vector>

#include "output.h"

namespace vzhost {

// A JSON string: quotes, backslashes and control characters escaped, other bytes as they are.
void WriteJsonString(Output& out, std::string_view text);
// A number in its shortest form that reads back exactly (3.0, 0.1, 1e-07); null when not finite.
void WriteJsonReal(Output& out, double value);

inline void WriteJson(Output& out, int value) {
    out << value;
}
inline void WriteJson(Output& out, double value) {
    WriteJsonReal(out, value);
}
inline void WriteJson(Output& out, std::string_view text) {
    WriteJsonString(out, text);
}
template <class Value>
void WriteJson(Output& out, const std::vector<Value>& values) {
    out << '[';
    for (std::size_t k = 0; k < values.size(); ++k) {
        out << (k > 0 ? "," : "");
        WriteJson(out, values[k]);
    }
    out << ']';
}

// One member of an object, "name":value, after a comma unless it is the first.
template <class Value>
void WriteJsonMember(Output& out, const char* name, const Value& value, bool first = false) {
    out << (first ? "\"" : ",\"") << name << "\":";
    WriteJson(out, value);
}

} // namespace vzhost
