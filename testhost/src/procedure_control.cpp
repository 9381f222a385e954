// The procedure services' settings, log and routine registry, and the loading of routine
// libraries by file.
#include "procedure_control.h"

#include <map>
#include <set>
#include <utility>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace vzt {
namespace {

struct Loaded {
    void* handle = nullptr;
};

struct ProcedureState {
    ProcedureSettings settings;
    std::map<std::pair<std::string, std::string>, QV_ExternalRoutine> registered;
    std::map<std::string, Loaded> libraries; // by file, kept open for the process's life
    std::string folder;
    std::string loadError;
    std::vector<std::string> log;
    int checks = 0;
    int lastIFail = 0;
};

ProcedureState& State() {
    static ProcedureState state;
    return state;
}

#if defined(_WIN32)
constexpr const char* kSuffix = ".dll";
void* OpenLibrary(const std::string& path, std::string& error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (module == nullptr) {
        error = "cannot load " + path;
    }
    return reinterpret_cast<void*>(module);
}
void* FindSymbol(void* handle, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
#else
constexpr const char* kSuffix = ".so";
void* OpenLibrary(const std::string& path, std::string& error) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        error = why != nullptr ? why : "cannot load " + path;
    }
    return handle;
}
void* FindSymbol(void* handle, const char* name) {
    return dlsym(handle, name);
}
#endif

} // namespace

ProcedureSettings& Procedures() {
    return State().settings;
}

void RegisterRoutine(const std::string& library, const std::string& name,
                     QV_ExternalRoutine routine) {
    State().registered[{library, name}] = routine;
}

void ClearRoutines() {
    State().registered.clear();
}

void SetRoutineDirectory(const std::string& folder) {
    State().folder = folder;
}

const std::string& RoutineLoadError() {
    return State().loadError;
}

const std::vector<std::string>& ProcedureLog() {
    return State().log;
}

void LogProcedureEvent(const std::string& line) {
    State().log.push_back(line);
}

int RoutineChecks() {
    return State().checks;
}

int LastIFail() {
    return State().lastIFail;
}

void ResetProcedures() {
    ProcedureState& s = State();
    s.settings = ProcedureSettings{};
    s.registered.clear();
    s.folder.clear();
    s.loadError.clear();
    s.log.clear();
    s.checks = 0;
    s.lastIFail = 0;
}

namespace detail {

bool FindRoutine(const char* library, const char* name, QV_ExternalRoutine& routine) {
    ProcedureState& s = State();
    const std::string lib = library != nullptr ? library : "";
    const std::string routineName = name != nullptr ? name : "";
    auto registered = s.registered.find({lib, routineName});
    if (registered != s.registered.end()) {
        routine = registered->second;
        return true;
    }
    if (lib.empty() || lib.find_first_of("/\\") != std::string::npos) {
        s.loadError = "no routine library named '" + lib + "'";
        return false;
    }
    // Kept by file, so that a library loaded from one folder does not answer for another.
    const std::string path = (s.folder.empty() ? "" : s.folder + "/") + lib + kSuffix;
    Loaded& loaded = s.libraries[path];
    if (loaded.handle == nullptr) {
        loaded.handle = OpenLibrary(path, s.loadError);
        if (loaded.handle == nullptr) {
            s.libraries.erase(path);
            return false;
        }
    }
    void* symbol = FindSymbol(loaded.handle, routineName.c_str());
    if (symbol == nullptr) {
        s.loadError = "routine library " + lib + " has no routine " + routineName;
        return false;
    }
    routine = reinterpret_cast<QV_ExternalRoutine>(symbol);
    return true;
}

const char* KeepString(const char* text) {
    static std::set<std::string> kept;
    return kept.insert(text != nullptr ? text : "").first->c_str();
}

void CountCheck(int ifail) {
    ++State().checks;
    State().lastIFail = ifail;
}

void Log(const std::string& line) {
    if (JournalOn()) {
        State().log.push_back(line);
    }
}

} // namespace detail
} // namespace vzt
