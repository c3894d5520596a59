# What both Windows toolchains share: cross-builds the native Windows console programs with
# MinGW-w64 (the POSIX-threads variant, which has std::thread) and runs them under Wine wherever
# CMake runs a built program: tests, test discovery, try_run. The including file sets
# CMAKE_SYSTEM_PROCESSOR and aplpatch_mingw_prefix, the compilers' target triple.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${aplpatch_mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${aplpatch_mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${aplpatch_mingw_prefix}-windres)
set(CMAKE_OBJDUMP ${aplpatch_mingw_prefix}-objdump CACHE FILEPATH "objdump for Windows programs")

set(CMAKE_FIND_ROOT_PATH /usr/${aplpatch_mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program links the C and C++ runtimes and the thread library in, so that it needs no DLL
# beyond those Windows ships, on a user's machine as under Wine.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/run-under-wine.sh)
