#include "numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vzt {
namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool ParseInteger(std::string_view text, int& value) {
    const std::size_t first = !text.empty() && text[0] == '-' ? 1 : 0;
    if (first == text.size()) {
        return false;
    }
    long long magnitude = 0;
    for (std::size_t k = first; k < text.size(); ++k) {
        if (!IsDigit(text[k])) {
            return false;
        }
        magnitude = magnitude * 10 + (text[k] - '0');
        if (magnitude > 2147483648LL) {
            return false;
        }
    }
    const long long signedValue = first == 1 ? -magnitude : magnitude;
    if (signedValue > 2147483647LL) {
        return false;
    }
    value = int(signedValue);
    return true;
}

bool ParseReal(std::string_view text, double& value) {
    // strtod reads blanks, "+", hexadecimal, "inf" and "nan" too: only the characters of a
    // decimal, starting with a digit or a point after the sign, reach it.
    for (const char c : text) {
        if (!IsDigit(c) && c != '.' && c != 'e' && c != 'E' && c != '-' && c != '+') {
            return false;
        }
    }
    const std::size_t first = !text.empty() && text[0] == '-' ? 1 : 0;
    if (first == text.size() || !(IsDigit(text[first]) || text[first] == '.')) {
        return false;
    }
    const std::string terminated(text);
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(terminated.c_str(), &end);
    if (end != terminated.c_str() + terminated.size() || !std::isfinite(parsed) ||
        (errno == ERANGE && parsed == 0.0)) {
        return false;
    }
    value = parsed;
    return true;
}

std::string IntegerText(long long value) {
    char digits[24];
    const int length = std::snprintf(digits, sizeof digits, "%lld", value);
    return std::string(digits, std::size_t(length));
}

} // namespace vzt
