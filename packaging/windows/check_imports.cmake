# Fails unless the Windows program PROGRAM loads no DLL but those that Windows itself ships, so that
# it runs on a machine where nothing else is installed. Reads the import table with OBJDUMP -p.
cmake_minimum_required(VERSION 3.25)
execute_process(COMMAND ${OBJDUMP} -p ${PROGRAM} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "${OBJDUMP} -p ${PROGRAM} failed: ${result}")
endif()

string(REGEX MATCHALL "DLL Name: [^\r\n]+" entries "${dump}")
set(imported)
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^DLL Name: *" "" name "${entry}")
  string(STRIP "${name}" name)
  string(TOLOWER "${name}" name)
  list(APPEND imported ${name})
endforeach()
message(STATUS "${PROGRAM} imports: ${imported}")

if(NOT "kernel32.dll" IN_LIST imported)
  message(FATAL_ERROR "no import of kernel32.dll found: is ${PROGRAM} a Windows program?")
endif()

# rstrtmgr.dll (the Restart Manager, which names the programs holding a file) ships from Vista on.
set(shipped_with_windows advapi32.dll kernel32.dll msvcrt.dll ntdll.dll rstrtmgr.dll shell32.dll user32.dll)
set(foreign)
foreach(name IN LISTS imported)
  if(NOT name IN_LIST shipped_with_windows AND NOT name MATCHES "^api-ms-win-")
    list(APPEND foreign ${name})
  endif()
endforeach()
if(foreign)
  message(FATAL_ERROR "${PROGRAM} needs DLLs that Windows does not ship: ${foreign}")
endif()
