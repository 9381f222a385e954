// A real as the JSON documents write it: the short digits that read back as exactly that
// double, with the point placed as printf's %g would (3.0, 0.1, 1e-07, 1.5e+300).
#pragma once

#include <cstddef>

namespace vzhost {

// Writes finite value to text (room for 32 bytes); returns the length written.
std::size_t JsonRealText(double value, char* text);

} // namespace vzhost
