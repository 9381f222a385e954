# The Microsoft-ABI build (toolchain cmake/msvc-i686.cmake): each DLL gets the small runtime
# files (cmake/msvc/runtime) that stand for what the platform's C runtime, compiler support
# library and a compiled libc++ would give it.
include_guard(GLOBAL)

set(runtime ${CMAKE_CURRENT_LIST_DIR}/msvc/runtime)
foreach(target Pellorin360_1 vuzizev VARudaduro)
    target_sources(${target} PRIVATE ${runtime}/startup.cpp)
endforeach()
target_sources(Pellorin360_1 PRIVATE ${runtime}/nothrow.cpp)
target_sources(vuzizev PRIVATE ${runtime}/nothrow.cpp ${runtime}/libcxx.cpp ${runtime}/standin.cpp)

# The library runs its own copies of the functions that the host headers define inline, as it
# does elsewhere, rather than importing them: it imports only the host's services. (The same
# switch would keep inline members of the library's own classes out of its exports; the class
# check of tests/msvc finds any.)
target_compile_options(Pellorin360_1 PRIVATE "SHELL:-Xclang -fno-dllexport-inlines")

# A program of this build (the driver, the test program): its entry point and what it takes
# of a compiled libc++.
function(pellorin_msvc_program target)
    target_sources(${target} PRIVATE ${runtime}/program.cpp ${runtime}/startup.cpp
                                     ${runtime}/nothrow.cpp ${runtime}/libcxx.cpp
                                     ${runtime}/standin.cpp)
    target_link_options(${target} PRIVATE LINKER:/entry:mainCRTStartup
                                          LINKER:/subsystem:console)
endfunction()
if(TARGET vzhost)
    pellorin_msvc_program(vzhost)
endif()
