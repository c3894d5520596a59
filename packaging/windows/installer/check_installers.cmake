# Fails unless each installer is built for its machine (the x86 one runs on every Windows from 7
# on, 32- or 64-bit) and its manifest asks Windows to start it as the invoker: the installer asks
# for administrator rights itself, and only when the compiler's folder needs them.
cmake_minimum_required(VERSION 3.25)
include(${CMAKE_CURRENT_LIST_DIR}/../pe_file.cmake)

set(installers ${SETUP_X86} ${SETUP_AMD64})
set(machines x86 x64)
foreach(installer machine IN ZIP_LISTS installers machines)
  if(NOT EXISTS ${installer})
    message(FATAL_ERROR "${installer} is not built (cmake --build --preset windows builds it)")
  endif()
  pe_machine(${installer} built_for)
  if(NOT built_for STREQUAL machine)
    message(FATAL_ERROR "${installer} is built for ${built_for}, not ${machine}")
  endif()
  pe_resource_text(${installer} 24 1 manifest)
  if(NOT manifest MATCHES "level=[\"']asInvoker[\"']")
    message(FATAL_ERROR "${installer} does not ask to start as the invoker: ${manifest}")
  endif()
endforeach()
