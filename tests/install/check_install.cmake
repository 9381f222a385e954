# Installs the build into a scratch prefix, moves the prefix, and runs the installed driver
# there: it must find the installed libraries by itself, none from the build tree.
# Run as: cmake -DBUILD_DIR=<build> -DPREFIX=<scratch> -DFILES=<installed files> -P ...
function(fail message)
    message(FATAL_ERROR "${message}")
endfunction()

file(REMOVE_RECURSE "${PREFIX}" "${PREFIX}-moved")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
    fail("cmake --install failed")
endif()
file(RENAME "${PREFIX}" "${PREFIX}-moved")
set(prefix "${PREFIX}-moved")
foreach(file IN LISTS FILES)
    if(NOT EXISTS "${prefix}/${file}")
        fail("not installed: ${file}")
    endif()
endforeach()

file(GET_RUNTIME_DEPENDENCIES EXECUTABLES "${prefix}/bin/vzhost"
     RESOLVED_DEPENDENCIES_VAR resolved UNRESOLVED_DEPENDENCIES_VAR unresolved
     POST_INCLUDE_REGEXES "vuzizev" POST_EXCLUDE_REGEXES ".*")
list(FILTER resolved INCLUDE REGEX "vuzizev")
list(FILTER unresolved INCLUDE REGEX "vuzizev")
if(resolved)
    file(REAL_PATH "${resolved}" resolved)
endif()
if(unresolved OR NOT resolved MATCHES "^${prefix}/lib/")
    fail("the installed vzhost finds its host library at '${resolved}${unresolved}'")
endif()

execute_process(COMMAND "${prefix}/bin/vzhost" run DISTRIBUTION1D --x method=CFD4,sections=2
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT status EQUAL 0 OR NOT out MATCHES "SetUpEquations [0-9]+ \\(")
    fail("the installed vzhost run DISTRIBUTION1D gave status ${status}:\n${out}${err}")
endif()
file(REMOVE_RECURSE "${prefix}")
