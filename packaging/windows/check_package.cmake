# Builds the Windows zip with CPACK from CONFIG into WORK and fails unless it holds exactly the
# program and the install text, in the folder TOP, with the install text's lines ending in CR LF.
cmake_minimum_required(VERSION 3.25)
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
set(expected ${TOP}/INSTALL.txt ${TOP}/aplpatch.exe)
if(NOT files STREQUAL expected)
  message(FATAL_ERROR "the zip holds ${files}, expected ${expected}")
endif()

file(READ ${WORK}/unpacked/${TOP}/aplpatch.exe head LIMIT 2 HEX)
if(NOT head STREQUAL "4d5a")
  message(FATAL_ERROR "aplpatch.exe in the zip is no Windows program")
endif()
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
