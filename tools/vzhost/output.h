// The driver's output: text gathered in a buffer and written to a C stream (standard output
// or standard error) a block at a time, or kept in memory for the tests. Numbers are written
// through the C library, so that no compiled C++ runtime (streams, locales) is needed.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace vzhost {

class Output {
public:
    // Writes to file; the text is only kept when file is null.
    explicit Output(std::FILE* file = nullptr) : m_file(file) {}
    ~Output() { Flush(); }
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    Output& operator<<(std::string_view text) {
        m_buffer.append(text);
        if (m_file != nullptr && m_buffer.size() >= kBlock) {
            Drain();
        }
        return *this;
    }
    Output& operator<<(const char* text) { return *this << std::string_view(text); }
    Output& operator<<(const std::string& text) { return *this << std::string_view(text); }
    Output& operator<<(char c) { return *this << std::string_view(&c, 1); }
    Output& operator<<(int value) { return *this << static_cast<long long>(value); }
    Output& operator<<(unsigned value) { return *this << static_cast<long long>(value); }
    Output& operator<<(long value) { return *this << static_cast<long long>(value); }
    Output& operator<<(unsigned long value) { return *this << static_cast<long long>(value); }
    Output& operator<<(unsigned long long value) { return *this << static_cast<long long>(value); }
    Output& operator<<(long long value);
    // As printf's %g writes it: six significant digits (0.333333, 1e+308, inf).
    Output& operator<<(double value);

    // Writes what is gathered to the file and flushes it; false when anything written so far
    // could not be (a full disk). Without a file, true.
    bool Flush();
    // What was written, when there is no file.
    const std::string& Text() const { return m_buffer; }
    void Clear() { m_buffer.clear(); }

private:
    static constexpr std::size_t kBlock = 1 << 16;
    void Drain();

    std::FILE* m_file;
    std::string m_buffer;
    bool m_failed = false;
};

// Text and a width: written left-aligned in that many columns, padded with blanks.
struct LeftAligned {
    std::string_view text;
    std::size_t width;
};
Output& operator<<(Output& out, LeftAligned column);

} // namespace vzhost
