// Numbers read from and written as text alike on every platform: through the C library in the
// C locale (the programs never set another), with no compiled C++ runtime behind them.
#pragma once

#include <string>
#include <string_view>

namespace vzt {

// A number is its decimal digits alone, after an optional "-": no blanks, "+", hexadecimal,
// infinity or NaN. False, with value unchanged, when text is not such an int.
bool ParseInteger(std::string_view text, int& value);
// A finite decimal in the same spelling ("1e-320" included); false when it overflows or
// underflows to zero.
bool ParseReal(std::string_view text, double& value);

// The decimal digits of value, as printf's %lld writes them.
std::string IntegerText(long long value);

} // namespace vzt
