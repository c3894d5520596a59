# Stops the installer's build, saying what to do, when PROGRAM (the 32-bit aplpatch.exe that the
# installer holds beside the 64-bit one, or makensis itself) is missing.
cmake_minimum_required(VERSION 3.25)
if(PROGRAM STREQUAL "makensis")
  message(FATAL_ERROR "makensis is not installed, so the Windows installer is not built: "
                      "bash .ci/install-deps --windows installs it (Debian's nsis)")
endif()
if(NOT EXISTS ${PROGRAM})
  message(FATAL_ERROR "The installer takes the 32-bit aplpatch.exe from ${PROGRAM}, which is not "
                      "there: build it first: cmake --preset windows32 && cmake --build --preset windows32")
endif()
