# The 32-bit Windows programs (x86), which run on every Windows from 7 on, 32- or 64-bit. Their
# tests need a Wine that runs 32-bit programs (Debian's wine32).
set(CMAKE_SYSTEM_PROCESSOR x86)
set(aplpatch_mingw_prefix i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
