// vzhost's usage: every command on one line with its options, or one command in full.
#pragma once

#include <string>

#include "output.h"

namespace vzhost {

// The commands, one line each, and an example.
void PrintUsage(Output& out);
// The command's own usage, options and example; false when there is no such command.
bool PrintCommandHelp(Output& out, const std::string& command);

} // namespace vzhost
