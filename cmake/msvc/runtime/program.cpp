// A program's entry point, as the C runtime's start-up object for console programs gives it:
// runs the module's initialisers (startup.cpp), has the C runtime split the command line,
// calls main, runs what atexit registered and ends the process with main's status. And the
// program's release functions, on the C runtime's free (its allocation functions are those of
// standin.cpp, on malloc).
#include <cstdlib>
#include <new>

void operator delete(void* block) noexcept {
    std::free(block);
}
void operator delete[](void* block) noexcept {
    std::free(block);
}
void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}

extern "C" {
int PellorinStartModule();
void PellorinStopModule();
int __cdecl main(int argc, char** argv);
int __cdecl _configure_narrow_argv(int mode);

int mainCRTStartup() {
    constexpr int kUnexpandedArguments = 1;
    if (!PellorinStartModule() || _configure_narrow_argv(kUnexpandedArguments) != 0) {
        exit(255);
    }
    const int status = main(*__p___argc(), *__p___argv());
    PellorinStopModule();
    exit(status);
}
}
