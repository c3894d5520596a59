# GoogleTest for the test programs. A native build uses the installed package. A cross-build has no
# package built for its target, so it builds GoogleTest from the sources that Debian's googletest
# package installs. Without GoogleTest the build says so and goes on without the tests.
if(CMAKE_CROSSCOMPILING)
  set(APLPATCH_GOOGLETEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest sources, for cross-builds")
  if(EXISTS ${APLPATCH_GOOGLETEST_SOURCE_DIR}/CMakeLists.txt)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    add_subdirectory(${APLPATCH_GOOGLETEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    # Its warnings are not ours to fix.
    set_target_properties(gtest gtest_main PROPERTIES COMPILE_WARNING_AS_ERROR OFF)
    # Listing the tests starts the emulator, which may first have to set itself up.
    set(aplpatch_discovery_timeout 300)
  else()
    set(aplpatch_googletest_missing "no GoogleTest sources in ${APLPATCH_GOOGLETEST_SOURCE_DIR} "
                                    "(install googletest, or set APLPATCH_GOOGLETEST_SOURCE_DIR)")
  endif()
else()
  find_package(GTest QUIET)
  if(GTest_FOUND)
    set(aplpatch_discovery_timeout 5)
  else()
    set(aplpatch_googletest_missing "GoogleTest not found (install libgtest-dev)")
  endif()
endif()

if(DEFINED aplpatch_googletest_missing)
  message(WARNING "Building the programs without the tests: " ${aplpatch_googletest_missing} ".")
  set(BUILD_TESTING OFF)
else()
  include(GoogleTest)
  include(${CMAKE_CURRENT_LIST_DIR}/test_programs_start.cmake)
endif()

# Registers the tests of the GoogleTest program `target`. Listing them starts the program, so a
# build whose programs cannot start here registers none of them.
function(aplpatch_discover_tests target)
  if(aplpatch_programs_start)
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT ${aplpatch_discovery_timeout})
  endif()
endfunction()
