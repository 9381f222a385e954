# Cross-compiles for 32-bit Windows in the Microsoft C++ ABI (i686-pc-windows-msvc) with clang
# and lld-link. The C++ library is libc++'s, used for its headers alone; the C runtime headers,
# the Windows headers and the import libraries of the C runtime and kernel32 are Wine's
# (libwine-dev:i386). Nothing of a compiler runtime is linked in: what a module needs of one
# is supplied by the small files in cmake/msvc/ (see its README).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)

set(triple i686-pc-windows-msvc)
set(PELLORIN_LLVM_SUFFIX "-14" CACHE STRING "Suffix of the LLVM tools' names (clang-14, ...)")
set(CMAKE_C_COMPILER clang${PELLORIN_LLVM_SUFFIX})
set(CMAKE_CXX_COMPILER clang++${PELLORIN_LLVM_SUFFIX})
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_RC_COMPILER llvm-rc${PELLORIN_LLVM_SUFFIX})
set(CMAKE_AR llvm-ar${PELLORIN_LLVM_SUFFIX})
set(CMAKE_RANLIB llvm-ranlib${PELLORIN_LLVM_SUFFIX})
set(CMAKE_LINKER lld-link${PELLORIN_LLVM_SUFFIX})
set(CMAKE_MT "")
set(CMAKE_OBJDUMP llvm-objdump${PELLORIN_LLVM_SUFFIX})
set(PELLORIN_READOBJ llvm-readobj${PELLORIN_LLVM_SUFFIX})
set(PELLORIN_UNDNAME llvm-undname${PELLORIN_LLVM_SUFFIX})
set(PELLORIN_MSVC_ABI ON)

# Only libraries are linked while CMake tries the compiler: a program would need a C runtime's
# start-up code, which this build has none of.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

set(PELLORIN_LIBCXX_INCLUDE /usr/lib/llvm${PELLORIN_LLVM_SUFFIX}/include/c++/v1 CACHE PATH
    "libc++'s headers")
set(PELLORIN_WINE_INCLUDE /usr/include/wine/wine CACHE PATH "Wine's include folder")
set(PELLORIN_WINE_LIBRARIES /usr/lib/i386-linux-gnu/wine/i386-windows CACHE PATH
    "Wine's PE import libraries for i386")
set(compat ${CMAKE_CURRENT_LIST_DIR}/msvc)

# The include order: libc++'s configuration (compat/libcxx), libc++, the C runtime headers
# that compat/crt completes, the C runtime's and the Windows headers. The compiler's own
# headers (intrinsics, stdarg) stay last.
string(JOIN " " flags
    -nostdinc++ -nostdlibinc
    -isystem ${compat}/libcxx
    -isystem ${PELLORIN_LIBCXX_INCLUDE}
    -isystem ${compat}/crt
    -isystem ${PELLORIN_WINE_INCLUDE}/msvcrt
    -isystem ${PELLORIN_WINE_INCLUDE}/windows
    # The C runtime of Windows 10 (ucrtbase) and its compiler support (vcruntime140).
    -D_UCRT -D_DLL -D_MT
    # libc++'s strings are instantiated where they are used, not taken from a compiled libc++.
    -D_LIBCPP_DISABLE_EXTERN_TEMPLATE
    # Wine's _Interlocked*64 declarations clash with clang's builtins of the same names.
    -D_InterlockedAnd64=pellorin_InterlockedAnd64 -D_InterlockedOr64=pellorin_InterlockedOr64
    -D_InterlockedXor64=pellorin_InterlockedXor64
    -D_InterlockedExchangeAdd64=pellorin_InterlockedExchangeAdd64
    -D_InterlockedExchange64=pellorin_InterlockedExchange64
    -D_InterlockedCompareExchange64=pellorin_InterlockedCompareExchange64
    -D_InterlockedIncrement64=pellorin_InterlockedIncrement64
    -D_InterlockedDecrement64=pellorin_InterlockedDecrement64
    -D_InterlockedExchangePointer=pellorin_InterlockedExchangePointer
    -D_InterlockedCompareExchangePointer=pellorin_InterlockedCompareExchangePointer
    # The stand-in's statics too are built without the runtime's thread-safe helpers.
    -fno-threadsafe-statics
    # interpolate.h declares the procedure template's instance dllexport where it is extern;
    # this compiler exports it from the explicit instantiation all the same.
    -Wno-dllexport-explicit-instantiation-decl
    # Arithmetic in SSE2 registers, as on x86-64, so that results round as there.
    -msse2 -mfpmath=sse)
set(CMAKE_C_FLAGS_INIT "${flags}")
set(CMAKE_CXX_FLAGS_INIT "${flags}")
# No C runtime is chosen by the compiler (no --dependent-lib): each module names its own.
set(CMAKE_MSVC_RUNTIME_LIBRARY "")

# The C runtime's import libraries: vcruntime140 before ucrtbase, which exports the
# exception-handling functions too; kernel32 for the entry points. /safeseh:no because Wine's
# import thunks carry no SafeSEH table.
set(PELLORIN_MSVC_SYSTEM_LIBRARIES
    ${PELLORIN_WINE_LIBRARIES}/libvcruntime140.a
    ${PELLORIN_WINE_LIBRARIES}/libucrtbase.a
    ${PELLORIN_WINE_LIBRARIES}/libkernel32.a)
list(JOIN PELLORIN_MSVC_SYSTEM_LIBRARIES " " libraries)
set(CMAKE_CXX_STANDARD_LIBRARIES "${libraries}" CACHE STRING "" FORCE)
set(CMAKE_C_STANDARD_LIBRARIES "${libraries}" CACHE STRING "" FORCE)
# The compile flags reach the link too, where the include switches mean nothing.
set(link_flags "-Xlinker /nodefaultlib -Xlinker /safeseh:no -Wno-unused-command-line-argument")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "${link_flags}")
set(CMAKE_EXE_LINKER_FLAGS_INIT "${link_flags}")
