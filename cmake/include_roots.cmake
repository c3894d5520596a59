# Include roots of one folder each. A library's include root, in the build folder, holds nothing but
# a link named after each of the library's own source folders (build/.../include/aplpatch_platform/
# platform -> platform/). `#include "platform/platform.h"` then works in the library and in whatever
# links it, and the header of a folder that a target does not link is not found at all: an include
# against the direction of the layers fails to build.

# Gives `target` the include root that holds `folder` and any further folders named after it.
function(aplpatch_export_folders target folder)
  set(root ${PROJECT_BINARY_DIR}/include/${target})
  file(MAKE_DIRECTORY ${root})
  foreach(name IN ITEMS ${folder} ${ARGN})
    file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${name} ${root}/${name} SYMBOLIC)
  endforeach()
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "INTERFACE_LIBRARY")
    target_include_directories(${target} INTERFACE ${root})
  else()
    target_include_directories(${target} PUBLIC ${root})
  endif()
endfunction()
