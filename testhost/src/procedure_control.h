// Internal state of the stand-in host's procedure services.
#pragma once

#include <string>

#include "control.h"
#include "standin/procedure_testing.h"

namespace vzt::detail {

// The routine registered under (library, name), else the one the library file exports;
// false, with RoutineLoadError() telling why, when there is none.
bool FindRoutine(const char* library, const char* name, QV_ExternalRoutine& routine);
// Counts a routine call the host checked, with its failure indicator.
void CountCheck(int ifail);
// A copy of text that the host keeps for the process's life (null reads as "").
const char* KeepString(const char* text);
// Appends a line to the procedure log while the journal is on.
void Log(const std::string& line);

} // namespace vzt::detail
