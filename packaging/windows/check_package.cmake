# Builds the Windows zip with CPACK from CONFIG into WORK and fails unless it holds exactly, in the
# folder TOP, the install text with its lines ending in CR LF and the two programs, each in the
# folder named for its kind and carrying its manifest.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/pe_file.cmake)
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CPACK} --config ${CONFIG} -B ${WORK} RESULT_VARIABLE result OUTPUT_VARIABLE output
                ERROR_VARIABLE output)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${output}")
endif()

file(GLOB zips ${WORK}/*.zip)
list(LENGTH zips count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one zip in ${WORK}, found: ${zips}")
endif()

file(MAKE_DIRECTORY ${WORK}/unpacked)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${zips} WORKING_DIRECTORY ${WORK}/unpacked
                RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "cannot unpack ${zips}")
endif()
file(GLOB_RECURSE files RELATIVE ${WORK}/unpacked ${WORK}/unpacked/*)
list(SORT files)
set(expected ${TOP}/32-bit/aplpatch.exe ${TOP}/64-bit/aplpatch.exe ${TOP}/INSTALL.txt)
if(NOT files STREQUAL expected)
  message(FATAL_ERROR "the zip holds ${files}, expected ${expected}")
endif()

set(folders 32-bit 64-bit)
set(machines x86 x64)
foreach(folder machine IN ZIP_LISTS folders machines)
  set(program ${WORK}/unpacked/${TOP}/${folder}/aplpatch.exe)
  pe_machine(${program} built_for)
  if(NOT built_for STREQUAL machine)
    message(FATAL_ERROR "${folder}/aplpatch.exe in the zip is built for ${built_for}, not ${machine}")
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -DPROGRAM=${program}
                          -P ${CMAKE_CURRENT_LIST_DIR}/check_manifest.cmake
                  RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${folder}/aplpatch.exe in the zip lacks its manifest")
  endif()
endforeach()
# file(READ) drops CRs from text, so count line ends in the bytes (the text is ASCII, so the
# matches fall on byte boundaries).
file(READ ${WORK}/unpacked/${TOP}/INSTALL.txt text HEX)
string(REGEX MATCHALL "0d0a" crlf "${text}")
string(REGEX MATCHALL "0a" lf "${text}")
list(LENGTH crlf crlf_count)
list(LENGTH lf lf_count)
if(crlf_count EQUAL 0 OR NOT crlf_count EQUAL lf_count)
  message(FATAL_ERROR "INSTALL.txt does not end all its lines in CR LF")
endif()
file(REMOVE_RECURSE ${WORK})
