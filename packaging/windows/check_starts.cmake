# Fails unless EMULATOR runs the Windows program PROGRAM and it says "aplpatch VERSION". Wine
# without 32-bit support fails to start a 32-bit program yet ends with status 0 and prints
# nothing, and then every test of that build would find nothing to run and seem to pass.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${EMULATOR} ${PROGRAM} --version RESULT_VARIABLE result OUTPUT_VARIABLE output
                ERROR_VARIABLE errors)
if(NOT result EQUAL 0 OR NOT output STREQUAL "aplpatch ${VERSION}\n")
  message(FATAL_ERROR "${PROGRAM} --version under ${EMULATOR} ended with ${result} and printed "
                      "\"${output}\" (errors: \"${errors}\"), not \"aplpatch ${VERSION}\": Wine cannot "
                      "run it (a 32-bit program needs 32-bit Wine, Debian's wine32)")
endif()
