# Read by cpack before it installs anything into the zip: stops it, saying what to do, when the
# build that the 32-bit program is taken from is missing, unbuilt or of another version.
set(aplpatch_build ${CPACK_APLPATCH_WINDOWS32_BUILD_DIR})
set(aplpatch_build_it "build it first: cmake --preset windows32 && cmake --build --preset windows32")
if(NOT EXISTS ${aplpatch_build}/CMakeCache.txt OR NOT EXISTS ${aplpatch_build}/bin/aplpatch.exe)
  message(FATAL_ERROR "The zip takes the 32-bit aplpatch.exe from ${aplpatch_build}, which holds "
                      "none: ${aplpatch_build_it}")
endif()
file(STRINGS ${aplpatch_build}/CMakeCache.txt aplpatch_version REGEX "^CMAKE_PROJECT_VERSION:")
string(REGEX REPLACE "^[^=]*=" "" aplpatch_version "${aplpatch_version}")
if(NOT aplpatch_version STREQUAL CPACK_PACKAGE_VERSION)
  message(FATAL_ERROR "The 32-bit build in ${aplpatch_build} is of version ${aplpatch_version}, "
                      "this one of ${CPACK_PACKAGE_VERSION}: ${aplpatch_build_it}")
endif()
