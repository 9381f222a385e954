// What a DLL built by the platform's tools takes from the C runtime's start-up objects and the
// compiler's static support library, reduced to what this project's modules use. Linked into
// each DLL and program:
//
// - _DllMainCRTStartup, the entry point: at load it runs the dynamic initialisers (the type
//   library has none; a test checks it) and then the DLL's DllMain, if it has one; at unload
//   DllMain, then what atexit registered, the last registered first.
// - atexit, which the compiler calls to register the destructor of a function-local static
//   once it is built: into the DLL's own table, kept by the C runtime's onexit functions.
// - _fltused, the marker symbol that code using floating point refers to.
// - the vftable of ::type_info, which the compiler's type descriptors point to; dynamic_cast
//   and exception matching read the descriptors and never call through it.
// - _chkstk, which a function whose frame exceeds a page calls to grow the stack one page at
//   a time (the equation walks keep their grid context on the stack).

namespace {

using ExitFunction = int(__cdecl*)();
using Initialiser = void(__cdecl*)();

struct OnexitTable {
    ExitFunction* first;
    ExitFunction* last;
    ExitFunction* end;
};

OnexitTable exitFunctions;

} // namespace

// The bounds of the compiler's table of dynamic initialisers: the linker orders the sections
// .CRT$XC* by name, so every entry (.CRT$XCU) lies between these two.
#pragma section(".CRT$XCA", long, read)
#pragma section(".CRT$XCZ", long, read)
__declspec(allocate(".CRT$XCA")) const Initialiser initialisersBegin = nullptr;
__declspec(allocate(".CRT$XCZ")) const Initialiser initialisersEnd = nullptr;

extern "C" {
int __cdecl _initialize_onexit_table(OnexitTable*);
int __cdecl _register_onexit_function(OnexitTable*, ExitFunction);
int __cdecl _execute_onexit_table(OnexitTable*);

// A DLL without a DllMain of its own gets this one.
int __stdcall DllMain(void* instance, unsigned long reason, void* reserved);
int __stdcall PellorinNoDllMain(void*, unsigned long, void*) {
    return 1;
}
#pragma comment(linker, "/alternatename:_DllMain@12=_PellorinNoDllMain@12")

// What a module does first and last: the initialisers with a fresh exit table; the exit
// table. A program's entry point (program.cpp) calls them too.
int PellorinStartModule() {
    if (_initialize_onexit_table(&exitFunctions) != 0) {
        return 0;
    }
    for (const Initialiser* i = &initialisersBegin + 1; i < &initialisersEnd; ++i) {
        if (*i != nullptr) {
            (*i)();
        }
    }
    return 1;
}
void PellorinStopModule() {
    _execute_onexit_table(&exitFunctions);
}

int __stdcall _DllMainCRTStartup(void* instance, unsigned long reason, void* reserved) {
    constexpr unsigned long kProcessDetach = 0;
    constexpr unsigned long kProcessAttach = 1;
    if (reason == kProcessAttach && !PellorinStartModule()) {
        return 0;
    }
    const int result = DllMain(instance, reason, reserved);
    if (reason == kProcessDetach) {
        PellorinStopModule();
    }
    return result;
}

// Under its assembler name: the C runtime's headers declare atexit as imported from the
// runtime DLL, which exports none.
int __cdecl RegisterAtExit(void (*function)()) __asm__("_atexit");
int __cdecl RegisterAtExit(void (*function)()) {
    return _register_onexit_function(&exitFunctions, reinterpret_cast<ExitFunction>(function));
}

int _fltused = 0;
}

// One slot, the deleting destructor, which nothing calls.
namespace {
void* __thiscall TypeInfoDelete(void*, unsigned) {
    return nullptr;
}
} // namespace
extern "C" void* const typeInfoVftable[1] __asm__("??_7type_info@@6B@") = {
    reinterpret_cast<void*>(&TypeInfoDelete)};

// _chkstk: EAX holds the frame size. Touches every page from the caller's stack top down to
// the new top, so that the guard page below the stack moves page by page, then lowers ESP by
// EAX and returns to the caller.
extern "C" __attribute__((naked)) void ProbeStack() __asm__("__chkstk");
extern "C" __attribute__((naked)) void ProbeStack() {
    __asm__ volatile("pushl %ecx\n"
                     "leal 8(%esp), %ecx\n" // the caller's stack top
                     "1:\n"
                     "cmpl $0x1000, %eax\n"
                     "jb 2f\n"
                     "subl $0x1000, %ecx\n"
                     "testl %ecx, (%ecx)\n"
                     "subl $0x1000, %eax\n"
                     "jmp 1b\n"
                     "2:\n"
                     "subl %eax, %ecx\n"
                     "testl %ecx, (%ecx)\n"
                     "movl %esp, %eax\n" // the saved ECX, then the return address
                     "movl %ecx, %esp\n"
                     "movl (%eax), %ecx\n"
                     "pushl 4(%eax)\n"
                     "ret\n");
}
