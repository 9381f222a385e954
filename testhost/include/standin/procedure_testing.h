// Observation and control of the stand-in host's procedure services, for tests and the
// driver. The type library never includes this header.
#pragma once

#include <string>
#include <vector>

#include "vuzizev/api.h"
#include "vuzizev/procedure.h"

namespace vzt {

// What the host answers a procedure. Reset() puts the defaults back.
struct ProcedureSettings {
    int languageBase = 0;
    bool fortran = false;
    bool alwaysCall = false;
    bool presetOutputs = false;
    bool postsetInputs = false;
    bool componentList = false; // ComponentListName yields a list
    // When set, LastCall answers for this type only, whatever the calls were.
    bool forceLastCall = false;
    int forcedLastCall = QV_ProcedureType::CallNone;
    // SetMode throws std::runtime_error (a host failure during construction).
    bool setModeThrows = false;
    // What UpdateController answers: the controller told of values written back.
    QV_IncrementalUpdate* updateController = nullptr;
};
VZ_API ProcedureSettings& Procedures();

// Routines the host finds by library and name before it looks for a library file; a null
// address stands for a library that yields none.
VZ_API void RegisterRoutine(const std::string& library, const std::string& name,
                            QV_ExternalRoutine routine);
VZ_API void ClearRoutines();
// The folder from which the host loads routine libraries by file
// (<folder>/<library>.so, or .dll on Windows); empty: the system's search path.
VZ_API void SetRoutineDirectory(const std::string& folder);
// Why the last EnsureCompatibleDLLLoaded failed.
VZ_API const std::string& RoutineLoadError();

// What the host saw of its procedures since the last Reset: every service call in order
// (one line each, e.g. "LastCall 4 false", "CheckIFailAndOutputs 0 4 true"), the routine
// calls the host checked and the last failure indicator checked.
VZ_API const std::vector<std::string>& ProcedureLog();
VZ_API void LogProcedureEvent(const std::string& line);
VZ_API int RoutineChecks();
VZ_API int LastIFail();

// A procedure's value buffer as the host keeps it, and its length in 8-byte slots.
VZ_API const double* ProcedureValues(const QV_ProcedureType_C& procedure);
VZ_API int ProcedureValueSlots(const QV_ProcedureType_C& procedure);

// Clears the settings, the routines registered, the log and the counts.
VZ_API void ResetProcedures();

} // namespace vzt
