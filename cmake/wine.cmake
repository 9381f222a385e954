# Runs the cross-built Windows programs under Wine: every test program through CMake's
# cross-compiling emulator, in one Wine prefix inside the build folder. A wineserver kept alive
# for the whole test run (the fixture "wine", tests/windows) spares each program a cold start.
include_guard(GLOBAL)

find_program(PELLORIN_WINE NAMES wine wine-stable REQUIRED)
find_program(PELLORIN_WINESERVER NAMES wineserver REQUIRED)
find_program(PELLORIN_ENV NAMES env REQUIRED)

set(PELLORIN_WINEPREFIX ${CMAKE_BINARY_DIR}/wine)
# No Wine debug output, and no offer to install Wine's .NET and HTML runtimes into a new prefix.
set(PELLORIN_WINE_ENVIRONMENT WINEPREFIX=${PELLORIN_WINEPREFIX} WINEDEBUG=-all
    "WINEDLLOVERRIDES=mscoree,mshtml=")
set(PELLORIN_WINE_COMMAND ${PELLORIN_ENV} ${PELLORIN_WINE_ENVIRONMENT} ${PELLORIN_WINE})
set(CMAKE_CROSSCOMPILING_EMULATOR ${PELLORIN_WINE_COMMAND})
