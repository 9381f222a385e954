#include "json_text.h"

#include <cmath>

#include "json_real.h"

namespace vzhost {

void WriteJsonString(Output& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out << '"';
    std::size_t plain = 0; // start of the run of bytes written as they are
    for (std::size_t k = 0; k < text.size(); ++k) {
        const auto c = static_cast<unsigned char>(text[k]);
        if (c >= 0x20 && c != '"' && c != '\\') {
            continue;
        }
        out << text.substr(plain, k - plain);
        plain = k + 1;
        switch (c) {
        case '"':
            out << "\\\"";
            break;
        case '\\':
            out << "\\\\";
            break;
        case '\b':
            out << "\\b";
            break;
        case '\f':
            out << "\\f";
            break;
        case '\n':
            out << "\\n";
            break;
        case '\r':
            out << "\\r";
            break;
        case '\t':
            out << "\\t";
            break;
        default:
            out << "\\u00" << kHex[c >> 4] << kHex[c & 15];
        }
    }
    out << text.substr(plain);
    out << '"';
}

void WriteJsonReal(Output& out, double value) {
    if (!std::isfinite(value)) {
        out << "null";
        return;
    }
    char text[32];
    out << std::string_view(text, JsonRealText(value, text));
}

} // namespace vzhost
