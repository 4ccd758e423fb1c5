# Cross-building for 64-bit Windows with Debian's mingw-w64 (the POSIX-threads flavour, which C++ threads
# need); the programs and tests run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(COILRUN_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${COILRUN_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${COILRUN_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${COILRUN_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${COILRUN_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Programs made during the build and the tests run under Wine, through the project's wrapper.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
