// The stand-in host's share of a compiled libc++ (its headers are used without one): the
// global allocation functions and the new-handler, on the C runtime's malloc (the stand-in's
// release functions, release.cpp, give back to free what they did not allocate), and the few
// compiled pieces of the library that the stand-in's containers, strings and numbers use.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <string>
#include <typeinfo>

extern "C" {
__declspec(dllimport) void __stdcall AcquireSRWLockExclusive(void* lock);
__declspec(dllimport) void __stdcall ReleaseSRWLockExclusive(void* lock);
}

namespace {
std::new_handler g_newHandler = nullptr;
} // namespace

namespace std {
new_handler set_new_handler(new_handler handler) noexcept {
    const new_handler previous = g_newHandler;
    g_newHandler = handler;
    return previous;
}
new_handler get_new_handler() noexcept {
    return g_newHandler;
}
} // namespace std

// As the library's: while malloc fails, the new-handler is called, if there is one, to make
// room or throw; without one, bad_alloc.
void* operator new(std::size_t size) {
    for (;;) {
        if (void* block = std::malloc(size ? size : 1)) {
            return block;
        }
        const std::new_handler handler = std::get_new_handler();
        if (handler == nullptr) {
            throw std::bad_alloc();
        }
        handler();
    }
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

namespace {

// The shortest decimal digits of a finite value that read back as it, and the exponent of the
// first: value = 0.d1d2... x 10^(exponent + 1), digits without sign or point.
int ShortestDigits(double value, char* digits, int& exponent) {
    char text[32];
    for (int precision = 1; precision <= 17; ++precision) {
        std::snprintf(text, sizeof text, "%.*e", precision - 1, value);
        if (precision == 17 || std::strtod(text, nullptr) == value) {
            break;
        }
    }
    int count = 0;
    const char* p = text;
    for (; *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            digits[count++] = *p;
        }
    }
    exponent = std::atoi(p + 1);
    while (count > 1 && digits[count - 1] == '0') {
        --count;
    }
    return count;
}

char* Append(char* out, const char* text, std::size_t length) {
    std::memcpy(out, text, length);
    return out + length;
}

} // namespace

namespace std {

// Type descriptors of different modules compare by their decorated names.
int type_info::__compare(const type_info& other) const noexcept {
    return this == &other ? 0 : std::strcmp(__data.__decorated_name, other.__data.__decorated_name);
}

bad_array_new_length::bad_array_new_length() noexcept = default;
bad_array_new_length::~bad_array_new_length() noexcept = default;
const char* bad_array_new_length::what() const noexcept {
    return "bad_array_new_length";
}

runtime_error::runtime_error(const char* text) : __imp_(text) {}
runtime_error::runtime_error(const runtime_error& other) noexcept = default;
runtime_error& runtime_error::operator=(const runtime_error& other) noexcept = default;
runtime_error::~runtime_error() noexcept = default;
const char* runtime_error::what() const noexcept {
    return __imp_.c_str();
}

length_error::~length_error() noexcept = default;
out_of_range::~out_of_range() noexcept = default;
invalid_argument::~invalid_argument() noexcept = default;

} // namespace std

namespace std::inline __1 {

unsigned __next_prime(unsigned n) {
    auto prime = [](unsigned k) {
        if (k < 2) {
            return false;
        }
        for (unsigned d = 2; d <= k / d; ++d) {
            if (k % d == 0) {
                return false;
            }
        }
        return true;
    };
    while (!prime(n)) {
        ++n;
    }
    return n;
}

namespace __itoa {
char* __u32toa(uint32_t value, char* out) noexcept {
    char digits[10];
    int count = 0;
    do {
        digits[count++] = char('0' + value % 10);
        value /= 10;
    } while (value != 0);
    while (count > 0) {
        *out++ = digits[--count];
    }
    return out;
}
} // namespace __itoa

string to_string(int value) {
    char text[16];
    return string(text, std::snprintf(text, sizeof text, "%d", value));
}
string to_string(double value) {
    char text[512];
    return string(text, std::snprintf(text, sizeof text, "%f", value));
}

// The shortest form that reads back as the value: fixed or scientific notation, whichever is
// shorter, fixed on a tie (the stand-in prints only finite values).
to_chars_result to_chars(char* first, char* last, double value) {
    char fixed[400];
    char scientific[32];
    char* f = fixed;
    char* s = scientific;
    if (std::signbit(value)) {
        *f++ = '-';
        *s++ = '-';
        value = -value;
    }
    char digits[20];
    int exponent = 0;
    const int count = value == 0 ? (digits[0] = '0', 1) : ShortestDigits(value, digits, exponent);
    *s++ = digits[0];
    if (count > 1) {
        *s++ = '.';
        s = Append(s, digits + 1, count - 1);
    }
    s += std::snprintf(s, 8, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    if (exponent >= count - 1) {
        f = Append(f, digits, count);
        for (int k = count - 1; k < exponent; ++k) {
            *f++ = '0';
        }
    } else if (exponent >= 0) {
        f = Append(f, digits, exponent + 1);
        *f++ = '.';
        f = Append(f, digits + exponent + 1, count - exponent - 1);
    } else {
        f = Append(f, "0.", 2);
        for (int k = -1; k > exponent; --k) {
            *f++ = '0';
        }
        f = Append(f, digits, count);
    }
    const char* text = f - fixed <= s - scientific ? fixed : scientific;
    const std::size_t length = text == fixed ? f - fixed : s - scientific;
    if (std::size_t(last - first) < length) {
        return {last, errc::value_too_large};
    }
    return {Append(first, text, length), errc{}};
}

void mutex::lock() {
    AcquireSRWLockExclusive(&__m_);
}
void mutex::unlock() noexcept {
    ReleaseSRWLockExclusive(&__m_);
}

__shared_count::~__shared_count() = default;
__shared_weak_count::~__shared_weak_count() = default;
void __shared_weak_count::__release_weak() noexcept {
    if (__libcpp_atomic_refcount_decrement(__shared_weak_owners_) == -1) {
        __on_zero_shared_weak();
    }
}
const void* __shared_weak_count::__get_deleter(const type_info&) const noexcept {
    return nullptr;
}

} // namespace std::inline __1
