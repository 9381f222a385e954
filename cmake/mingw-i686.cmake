# Cross-compiles for 32-bit Windows with the mingw-w64 i686 toolchain (posix threads).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(triplet i686-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_OBJDUMP ${triplet}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The compiler's own runtime (libgcc, libstdc++, winpthread) goes into each DLL and program, so
# that they import only system libraries and each other.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# This compiler's string copies inlined at -O3 raise a spurious overlap warning (-Wrestrict)
# inside the standard library's own headers.
# Arithmetic in SSE2 registers, as on x86-64: the x87 unit's 80-bit intermediates would round
# results differently, so that the same model printed other digits on 32-bit Windows.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict -msse2 -mfpmath=sse")
