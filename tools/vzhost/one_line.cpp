#include "one_line.h"

namespace vzhost {

std::string Printable(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string printable;
    printable.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            printable += "\\n";
        } else if (c == '\t') {
            printable += "\\t";
        } else if (byte < 0x20 || byte == 0x7f) {
            printable += "\\x";
            printable += kHex[byte >> 4];
            printable += kHex[byte & 15];
        } else {
            printable += c;
        }
    }
    return printable;
}

std::string Printable(const char* text) {
    return text != nullptr ? Printable(std::string_view(text)) : std::string();
}

std::string ErrorLine(std::string_view message) {
    return "vzhost: " + Printable(message) + "\n";
}

} // namespace vzhost
