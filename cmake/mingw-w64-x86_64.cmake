# Cross-building the Windows programs on Debian with MinGW-w64 (the POSIX
# thread model, which std::thread and std::mutex need).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VALMERO_MINGW_PREFIX x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${VALMERO_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VALMERO_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${VALMERO_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VALMERO_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Each program needs only the DLLs every Windows has.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Test programs run under Wine, in a Wine prefix of the build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
