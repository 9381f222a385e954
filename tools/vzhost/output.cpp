#include "output.h"

namespace vzhost {

Output& Output::operator<<(long long value) {
    char digits[24];
    const int length = std::snprintf(digits, sizeof digits, "%lld", value);
    return *this << std::string_view(digits, std::size_t(length));
}

Output& Output::operator<<(double value) {
    char digits[32];
    const int length = std::snprintf(digits, sizeof digits, "%g", value);
    return *this << std::string_view(digits, std::size_t(length));
}

void Output::Drain() {
    if (!m_buffer.empty() &&
        std::fwrite(m_buffer.data(), 1, m_buffer.size(), m_file) != m_buffer.size()) {
        m_failed = true;
    }
    m_buffer.clear();
}

bool Output::Flush() {
    if (m_file == nullptr) {
        return true;
    }
    Drain();
    if (std::fflush(m_file) != 0 || std::ferror(m_file) != 0) {
        m_failed = true;
    }
    return !m_failed;
}

Output& operator<<(Output& out, LeftAligned column) {
    out << column.text;
    for (std::size_t k = column.text.size(); k < column.width; ++k) {
        out << ' ';
    }
    return out;
}

} // namespace vzhost
