# The 64-bit Windows programs (x64), for 64-bit Windows only.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(aplpatch_mingw_prefix x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
