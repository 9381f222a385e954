# The Microsoft-ABI build (toolchain cmake/msvc-i686.cmake): each DLL gets the small runtime
# files (cmake/msvc/runtime) that stand for what the platform's C runtime, compiler support
# library and a compiled libc++ would give it.
include_guard(GLOBAL)

set(runtime ${CMAKE_CURRENT_LIST_DIR}/msvc/runtime)
foreach(target Pellorin360_1 vuzizev VARudaduro)
    target_sources(${target} PRIVATE ${runtime}/startup.cpp)
endforeach()
target_sources(Pellorin360_1 PRIVATE ${runtime}/libcxx.cpp)
target_sources(vuzizev PRIVATE ${runtime}/libcxx.cpp ${runtime}/standin.cpp)
# The stand-in instantiates the standard strings it uses, which a compiled libc++ would hold.
target_compile_definitions(vuzizev PRIVATE _LIBCPP_DISABLE_EXTERN_TEMPLATE)
