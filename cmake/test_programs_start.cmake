# Whether this build's programs can be started here, decided by starting one: a cross-build runs its
# programs under CMAKE_CROSSCOMPILING_EMULATOR (Wine), which may be missing, broken, or unable to run
# programs of this machine type (a 32-bit program needs 32-bit Wine). A native build's always can.
#
# Sets aplpatch_programs_start (TRUE or FALSE) and, when FALSE, aplpatch_programs_do_not_start_because
# (one line). Both are also written to the cache as INTERNAL entries, APLPATCH_PROGRAMS_START and
# APLPATCH_PROGRAMS_DO_NOT_START_BECAUSE, for scripts that read the build's decision (.ci/run).
# The probe runs at every configure, so installing or removing Wine is noticed at the next one.

set(aplpatch_programs_start TRUE)
set(aplpatch_programs_do_not_start_because "")
if(CMAKE_CROSSCOMPILING)
  set(aplpatch_probe_dir ${PROJECT_BINARY_DIR}/programs-start-probe)
  set(aplpatch_probe ${aplpatch_probe_dir}/starts${CMAKE_EXECUTABLE_SUFFIX})
  file(REMOVE ${aplpatch_probe})
  try_compile(aplpatch_probe_built ${aplpatch_probe_dir}/build
              SOURCES ${CMAKE_CURRENT_LIST_DIR}/probe/starts.cpp
              LINK_OPTIONS -static
              COPY_FILE ${aplpatch_probe}
              OUTPUT_VARIABLE aplpatch_probe_build_output)
  math(EXPR aplpatch_probe_bits "${CMAKE_SIZEOF_VOID_P} * 8")
  set(aplpatch_probe_expected "started as a ${aplpatch_probe_bits}-bit program\n")
  if(NOT aplpatch_probe_built)
    set(aplpatch_programs_start FALSE)
    set(aplpatch_programs_do_not_start_because "the probe program does not build with ${CMAKE_CXX_COMPILER}")
  elseif(NOT CMAKE_CROSSCOMPILING_EMULATOR)
    set(aplpatch_programs_start FALSE)
    set(aplpatch_programs_do_not_start_because "no emulator is set for this cross-build")
  else()
    # A new Wine prefix sets itself up on the first start, which may take a minute or two.
    execute_process(COMMAND ${CMAKE_CROSSCOMPILING_EMULATOR} ${aplpatch_probe}
                    RESULT_VARIABLE aplpatch_probe_result OUTPUT_VARIABLE aplpatch_probe_output
                    ERROR_VARIABLE aplpatch_probe_errors TIMEOUT 300)
    if(NOT aplpatch_probe_output STREQUAL aplpatch_probe_expected)
      set(aplpatch_programs_start FALSE)
      # What the emulator said, on one line: its first line of errors, else of output.
      string(STRIP "${aplpatch_probe_errors}" aplpatch_probe_said)
      if(aplpatch_probe_said STREQUAL "")
        string(STRIP "${aplpatch_probe_output}" aplpatch_probe_said)
      endif()
      string(REGEX REPLACE "\n.*" "" aplpatch_probe_said "${aplpatch_probe_said}")
      if(aplpatch_probe_said STREQUAL "")
        set(aplpatch_probe_said "it printed nothing")
      else()
        set(aplpatch_probe_said "it said: ${aplpatch_probe_said}")
      endif()
      list(GET CMAKE_CROSSCOMPILING_EMULATOR 0 aplpatch_emulator)
      get_filename_component(aplpatch_emulator ${aplpatch_emulator} NAME)
      set(aplpatch_programs_do_not_start_because
          "a ${aplpatch_probe_bits}-bit test program started with ${aplpatch_emulator} ended with "
          "${aplpatch_probe_result} and did not run (${aplpatch_probe_said})")
      string(CONCAT aplpatch_programs_do_not_start_because ${aplpatch_programs_do_not_start_because})
      if(aplpatch_probe_bits EQUAL 32 AND CMAKE_SYSTEM_NAME STREQUAL "Windows")
        # An installed 32-bit Wine whose loader cannot start (a system without 32-bit support)
        # looks like a missing one from the program's side: say which it is.
        execute_process(COMMAND wine --version RESULT_VARIABLE aplpatch_wine_result
                        OUTPUT_QUIET ERROR_VARIABLE aplpatch_wine_errors TIMEOUT 60)
        if(NOT aplpatch_wine_result EQUAL 0 AND EXISTS /usr/lib/wine/wine)
          string(STRIP "${aplpatch_wine_errors}" aplpatch_wine_errors)
          string(REGEX REPLACE "\n.*" "" aplpatch_wine_errors "${aplpatch_wine_errors}")
          string(APPEND aplpatch_programs_do_not_start_because
                 "; 32-bit Wine is installed but its loader does not start here (${aplpatch_wine_errors}): "
                 "this system cannot run 32-bit programs")
        else()
          string(APPEND aplpatch_programs_do_not_start_because
                 "; 32-bit Windows programs need 32-bit Wine (Debian's wine32)")
        endif()
      endif()
    endif()
  endif()
endif()

set(APLPATCH_PROGRAMS_START ${aplpatch_programs_start} CACHE INTERNAL "whether this build's programs start here")
set(APLPATCH_PROGRAMS_DO_NOT_START_BECAUSE "${aplpatch_programs_do_not_start_because}"
    CACHE INTERNAL "why this build's programs do not start here")
if(NOT aplpatch_programs_start)
  message(WARNING "The test programs of this build cannot be started here, so no test that starts one "
                  "is registered (only the checks that read the built files are): "
                  "${aplpatch_programs_do_not_start_because}.")
endif()
