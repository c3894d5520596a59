# GoogleTest for the test programs. A native build uses the installed package. A cross-build has no
# package built for its target, so it builds GoogleTest from the sources that Debian's googletest
# package installs.
if(CMAKE_CROSSCOMPILING)
  set(APLPATCH_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources, for cross-builds")
  if(NOT EXISTS ${APLPATCH_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    message(FATAL_ERROR "No GoogleTest sources in ${APLPATCH_GOOGLETEST_SOURCE_DIR} "
                        "(install googletest, or set APLPATCH_GOOGLETEST_SOURCE_DIR)")
  endif()
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${APLPATCH_GOOGLETEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  # Listing the tests starts the emulator, which may first have to set itself up.
  set(aplpatch_discovery_timeout 300)
else()
  find_package(GTest REQUIRED)
  set(aplpatch_discovery_timeout 5)
endif()
include(GoogleTest)
