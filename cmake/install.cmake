# Install rules: shared libraries go to lib/, programs to bin/, the host interface headers to
# include/vuzizev/. Installed programs and libraries find the installed libraries through their
# RPATH, relative to where they lie, so a prefix can be moved as a whole.
include_guard(GLOBAL)

set(PELLORIN_INSTALL_BINDIR bin)
set(PELLORIN_INSTALL_LIBDIR lib)
set(PELLORIN_INSTALL_INCLUDEDIR include)

# Installs shared libraries (the type library, the stand-in host, routine libraries) to lib/;
# on Windows the DLLs go to bin/ and their import libraries to lib/.
function(pellorin_install_libraries)
    foreach(target IN LISTS ARGN)
        if(NOT WIN32)
            set_target_properties(${target} PROPERTIES INSTALL_RPATH "$ORIGIN")
        endif()
    endforeach()
    install(TARGETS ${ARGN}
            LIBRARY DESTINATION ${PELLORIN_INSTALL_LIBDIR}
            RUNTIME DESTINATION ${PELLORIN_INSTALL_BINDIR}
            ARCHIVE DESTINATION ${PELLORIN_INSTALL_LIBDIR})
endfunction()

# Installs programs to bin/, finding the libraries in ../lib.
function(pellorin_install_programs)
    foreach(target IN LISTS ARGN)
        if(NOT WIN32)
            set_target_properties(${target} PROPERTIES INSTALL_RPATH
                                                       "$ORIGIN/../${PELLORIN_INSTALL_LIBDIR}")
        endif()
    endforeach()
    install(TARGETS ${ARGN} RUNTIME DESTINATION ${PELLORIN_INSTALL_BINDIR})
endfunction()
