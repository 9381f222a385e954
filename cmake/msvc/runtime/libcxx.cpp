// What the stand-in and the programs take from a compiled libc++ (its headers are used without
// one, and without the Microsoft runtime's exception classes): the members of the standard
// exceptions they throw, std::bad_alloc and std::logic_error, with their base std::exception.
// (The type library throws none; it takes only std::nothrow, nothrow.cpp.)
//
// A logic_error keeps a pointer to its message rather than a counted copy: every message
// thrown with one is a string literal, which lives as long as its module.
#include <new>
#include <stdexcept>

namespace std {

exception::~exception() noexcept = default;
const char* exception::what() const noexcept {
    return "std::exception";
}

bad_alloc::bad_alloc() noexcept = default;
bad_alloc::~bad_alloc() noexcept = default;
const char* bad_alloc::what() const noexcept {
    return "std::bad_alloc";
}

__libcpp_refstring::__libcpp_refstring(const char* text) : __imp_(text) {}
__libcpp_refstring::__libcpp_refstring(const __libcpp_refstring& other) noexcept = default;
__libcpp_refstring&
__libcpp_refstring::operator=(const __libcpp_refstring& other) noexcept = default;
__libcpp_refstring::~__libcpp_refstring() = default;

logic_error::logic_error(const char* text) : __imp_(text) {}
logic_error::logic_error(const logic_error& other) noexcept = default;
logic_error& logic_error::operator=(const logic_error& other) noexcept = default;
logic_error::~logic_error() noexcept = default;
const char* logic_error::what() const noexcept {
    return __imp_.c_str();
}

} // namespace std
