# The JSON library (header-only) as the target nlohmann_json::nlohmann_json. A cross build takes
# the build machine's headers from a folder that holds only them: adding the machine's own
# /usr/include would put its C library's headers before the target's.
include_guard(GLOBAL)

if(NOT CMAKE_CROSSCOMPILING)
    find_package(nlohmann_json REQUIRED)
    return()
endif()

find_path(PELLORIN_JSON_INCLUDE_DIR nlohmann/json.hpp PATHS /usr/include /usr/local/include
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
set(json_include ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${json_include})
file(CREATE_LINK ${PELLORIN_JSON_INCLUDE_DIR}/nlohmann ${json_include}/nlohmann SYMBOLIC)
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${json_include})
