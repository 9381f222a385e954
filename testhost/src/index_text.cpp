// Index strings: how the matrix writes an element's index values and reads them back.
#include <charconv>
#include <climits>
#include <cstring>
#include <string>

#include "control.h"
#include "vuzizev/matrix.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

const char* SkipBlanks(const char* p) {
    while (IsBlank(*p)) {
        ++p;
    }
    return p;
}

// Blanks, then at most one opening parenthesis and the blanks after it.
const char* SkipLead(const char* p) {
    p = SkipBlanks(p);
    return *p == '(' ? SkipBlanks(p + 1) : p;
}

// Reads a string index at p up to terminator into out (when out is not null) and gives
// its length; null when the text is malformed, else where reading stopped (past the
// terminator).
const char* ScanString(const char* p, char terminator, char* out, std::size_t& length) {
    length = 0;
    if (*p == '"') {
        for (++p; *p != '"'; ++p) {
            if (*p == 0) {
                return nullptr;
            }
            if (*p == '\\' && (p[1] == '"' || p[1] == '\\')) {
                ++p;
            }
            if (out != nullptr) {
                out[length] = *p;
            }
            ++length;
        }
        p = SkipBlanks(p + 1);
    } else {
        const char* end = std::strchr(p, terminator);
        if (end == nullptr) {
            return nullptr;
        }
        const char* last = end;
        while (last > p && IsBlank(last[-1])) {
            --last;
        }
        length = std::size_t(last - p);
        if (length == 0 || std::memchr(p, '"', length) != nullptr) {
            return nullptr;
        }
        if (out != nullptr) {
            std::memcpy(out, p, length);
        }
        p = end;
    }
    return *p == terminator ? p + 1 : nullptr;
}

} // namespace

void QV_Matrix::AddIndexToString(int value, int k) {
    if (k <= 0 || m_indexString.empty()) {
        m_indexString.assign(1, '(');
        m_integerIndexCount = 0;
    } else {
        m_indexString.back() = ',';
    }
    char digits[16];
    const char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    m_indexString.append(digits, std::size_t(end - digits));
    m_indexString += ')';
    if (m_integerIndexCount >= 0 && m_integerIndexCount < 2) {
        m_integerIndex[m_integerIndexCount++] = value;
    } else {
        m_integerIndexCount = -1;
    }
}

void QV_Matrix::AddIndexToString(const char* value, int k) {
    if (k <= 0 || m_indexString.empty()) {
        m_indexString.assign(1, '(');
    } else {
        m_indexString.back() = ',';
    }
    m_integerIndexCount = -1;
    m_indexString += '"';
    for (const char* p = value != nullptr ? value : ""; *p != 0; ++p) {
        if (*p == '"' || *p == '\\') {
            m_indexString += '\\';
        }
        m_indexString += *p;
    }
    m_indexString += "\")";
}

bool QV_Matrix::ReadIndex(const char*& cursor, int& out, char terminator) {
    if (cursor == nullptr || terminator == 0) {
        return false;
    }
    const char* p = SkipLead(cursor);
    const bool negative = *p == '-';
    if (*p == '-' || *p == '+') {
        ++p;
    }
    if (*p < '0' || *p > '9') {
        return false;
    }
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            return false;
        }
    }
    value = negative ? -value : value;
    if (value > INT_MAX || value < INT_MIN) {
        return false;
    }
    p = SkipBlanks(p);
    if (*p != terminator) {
        return false;
    }
    out = int(value);
    cursor = p + 1;
    return true;
}

bool QV_Matrix::ReadIndex(const char*& cursor, char* buffer, char terminator) {
    constexpr std::size_t capacity = vzt::detail::kIndexBufferSize;
    if (cursor == nullptr || buffer == nullptr || terminator == 0) {
        return false;
    }
    const char* p = SkipLead(cursor);
    std::size_t length = 0;
    // Measure first, so that nothing is written unless the whole index fits.
    const bool whole = ScanString(p, terminator, nullptr, length) != nullptr;
    vzt::detail::Record({.kind = vzt::EventKind::ReadIndex, .a = whole ? long(length) : -1});
    if (!whole || length >= capacity) {
        return false;
    }
    cursor = ScanString(p, terminator, buffer, length);
    buffer[length] = 0;
    return true;
}

bool vzt::detail::AtEndOfIndex(const char* cursor) {
    return cursor != nullptr && *SkipBlanks(cursor) == 0;
}
