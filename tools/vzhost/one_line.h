// Text that must stay on one line: identities, and the error each failure prints.
#pragma once

#include <string>
#include <string_view>

namespace vzhost {

// The text with every control character written as \n, \t or \xNN (\x0d, \x7f), so that it
// reads on one line; an identity's tab reads \t. Null reads as nothing.
std::string Printable(std::string_view text);
std::string Printable(const char* text);

// The line a failure prints on standard error: "vzhost: ", the message made printable, and
// the line's end; whatever value the message echoes, it stays one line.
std::string ErrorLine(std::string_view message);

} // namespace vzhost
