# Fails unless the Windows program PROGRAM carries the manifest that Windows reads before it starts
# a program (resource type 24, number 1), and the manifest holds all three of: the execution level
# asInvoker without uiAccess, so that Windows never asks for administrator rights; the supported
# systems Windows 7 to 11; and long paths allowed.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/pe_file.cmake)

pe_resource_text(${PROGRAM} 24 1 manifest)
if(NOT manifest)
  message(FATAL_ERROR "${PROGRAM} carries no manifest")
endif()

set(missing)
set(space "[ \t\r\n]")
if(NOT manifest MATCHES "<requestedExecutionLevel${space}[^>]*level=[\"']asInvoker[\"']"
   OR NOT manifest MATCHES "<requestedExecutionLevel${space}[^>]*uiAccess=[\"']false[\"']")
  list(APPEND missing "the execution level asInvoker with uiAccess false")
endif()

# The identifiers Windows gives its versions; Windows 11 shares the one of Windows 10.
set(supported_systems
  "Windows 7" 35138b9a-5d96-4fbd-8e2d-a2440225f93a
  "Windows 8" 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38
  "Windows 8.1" 1f676c76-80e1-4239-95bb-83d0f6d0da78
  "Windows 10 and 11" 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a)
string(TOLOWER "${manifest}" lower_manifest)
while(supported_systems)
  list(POP_FRONT supported_systems system id)
  if(NOT lower_manifest MATCHES "<supportedos${space}+id=[\"']{${id}}[\"']")
    list(APPEND missing "the supported system ${system} ({${id}})")
  endif()
endwhile()

if(NOT manifest MATCHES "<longPathAware${space}[^>]*>${space}*true${space}*</longPathAware>")
  list(APPEND missing "long paths allowed (longPathAware true)")
endif()

if(missing)
  list(JOIN missing "; " missing)
  message(FATAL_ERROR "the manifest of ${PROGRAM} lacks ${missing}:\n${manifest}")
endif()
message(STATUS "${PROGRAM} carries its manifest")
