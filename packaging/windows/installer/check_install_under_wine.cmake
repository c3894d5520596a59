# Runs the installer SETUP silently under WINE (in the prefix that WINEPREFIX names) as an
# administrator would, in front of a copy of the stand-in compiler STANDIN in a folder whose name
# holds a blank, and fails unless:
# - each command line it must refuse ends with status 2 and changes no file and no registry entry;
# - installing renames the compiler to aplc2.exe, puts PROGRAM in its place, writes the settings
#   file with the features asked off, adds the Start menu entries and the entry in Windows' list of
#   programs, and a flight then runs through aplpatch to the compiler;
# - installing again updates, keeping the compiler and the settings file;
# - the silent uninstaller leaves the compiler's folder, the Start menu and the registry as they
#   were before.
# WORK is the scratch folder.
cmake_minimum_required(VERSION 3.25)

file(REMOVE_RECURSE ${WORK})
set(host "${WORK}/Host Folder")
set(program_dir "${WORK}/Program")
file(MAKE_DIRECTORY "${host}")
file(COPY_FILE ${STANDIN} "${host}/Compiler.exe")
file(COPY_FILE ${CMAKE_CURRENT_LIST_DIR}/../../../examples/sample_flight.apl "${host}/FLIGHT.APL")
if(DEFINED ENV{WINEPREFIX})
  set(prefix $ENV{WINEPREFIX})
else()
  set(prefix $ENV{HOME}/.wine)
endif()
set(start_menu_glob "${prefix}/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/aplpatch")
# A settings file of the prefix's user would be read before the installer's.
file(GLOB own_settings "${prefix}/drive_c/users/*/AppData/Roaming/aplpatch/aplpatch.ini")
if(own_settings)
  message(FATAL_ERROR "${own_settings} is read before the installer's settings file: run the test in "
                      "another Wine prefix (WINEPREFIX), or move that file away")
endif()
# What a run records of itself in the user's folder goes again, when the test made the folder.
file(GLOB run_records "${prefix}/drive_c/users/*/AppData/Local/aplpatch")
set(uninstall_key "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall")

function(windows_path path out)
  string(REPLACE "/" "\\" path "${path}")
  set(${out} "Z:${path}" PARENT_SCOPE)
endfunction()
windows_path("${host}/Compiler.exe" compiler)
windows_path("${program_dir}" program_dir_w)

# Runs ARGN under Wine: sets STATUS and OUTPUT (standard output and error, without CRs).
function(run_wine)
  execute_process(COMMAND ${WINE} ${ARGN} RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output
                  TIMEOUT 120)
  string(REPLACE "\r" "" output "${output}")
  set(status "${status}" PARENT_SCOPE)
  set(output "${output}" PARENT_SCOPE)
endfunction()

# Sets OUT to every file under FOLDER with its SHA-256, one a line.
function(folder_snapshot folder out)
  file(GLOB_RECURSE files LIST_DIRECTORIES true RELATIVE "${folder}" "${folder}/*")
  list(SORT files)
  set(text "")
  foreach(file IN LISTS files)
    if(IS_DIRECTORY "${folder}/${file}")
      string(APPEND text "${file}/\n")
    else()
      file(SHA256 "${folder}/${file}" hash)
      string(APPEND text "${file} ${hash}\n")
    endif()
  endforeach()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Sets OUT to the entries of Windows' list of programs, the user's and the machine's.
function(registry_snapshot out)
  set(text "")
  foreach(root HKCU HKLM)
    execute_process(COMMAND ${WINE} reg query "${root}\\${uninstall_key}" /s OUTPUT_VARIABLE entries
                    ERROR_QUIET TIMEOUT 60)
    # A fresh prefix has no list at all until the first install makes the key, which uninstalling
    # rightly leaves (empty) behind: a missing list and an empty one are the same list.
    string(REPLACE "\r" "" entries "${entries}")
    string(REGEX REPLACE "[^\n]*Unable to find[^\n]*" "" entries "${entries}")
    string(REGEX REPLACE "\n\n+" "\n" entries "${entries}")
    string(STRIP "${entries}" entries)
    string(APPEND text "${root}:\n${entries}\n")
  endforeach()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(expect_same what before after)
  if(NOT before STREQUAL after)
    message(FATAL_ERROR "${what} changed.\nBefore:\n${before}\nAfter:\n${after}")
  endif()
endfunction()

function(expect_file_is path like what)
  file(SHA256 "${path}" actual)
  file(SHA256 "${like}" expected)
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "${path} is not ${what}")
  endif()
endfunction()

# What each feature is after the first install, which switches two off.
set(features descent-request transponder-changes holding-supervision approach-tracking ground-supervision
             clearance-withdrawal missed-approach altitude-reminders wind-announcements radio-calls)
set(values on off on on on off on on on on)

# Fails unless the installed copy reads the installer's settings file, as FEATURES = VALUES.
function(expect_settings)
  run_wine("${host}/Compiler.exe" --settings)
  # The file in use is named in one of two ways, depending on whether the program also looks for
  # the pilot's own file.
  if(NOT output MATCHES "(In use: [^\n]*Host Folder.aplpatch.ini\n|Host Folder.aplpatch.ini: found)"
     OR output MATCHES "ignored")
    message(FATAL_ERROR "the installed copy does not read the installer's settings file cleanly:\n${output}")
  endif()
  foreach(feature value IN ZIP_LISTS features values)
    if(NOT output MATCHES "  ${feature} = ${value}\n")
      message(FATAL_ERROR "the settings file does not set ${feature} = ${value}:\n${output}")
    endif()
  endforeach()
endfunction()

folder_snapshot("${host}" host_before)
registry_snapshot(registry_before)

# ---- Command lines that are refused, changing nothing --------------------------------------------
file(MAKE_DIRECTORY "${WORK}/Taken")
file(COPY_FILE ${STANDIN} "${WORK}/Taken/Compiler.exe")
file(COPY_FILE ${STANDIN} "${WORK}/Taken/aplc2.exe")
file(MAKE_DIRECTORY "${WORK}/Copy")
file(COPY_FILE ${PROGRAM} "${WORK}/Copy/Compiler.exe")
windows_path("${WORK}/Taken/Compiler.exe" taken)
windows_path("${WORK}/Copy/Compiler.exe" copy)
windows_path("${WORK}/Missing/Compiler.exe" missing)
windows_path("${WORK}/Taken" folder)
windows_path("${WORK}/Taken/aplc2.exe" renamed)
# Each case: what it is, then the installer's arguments separated by |.
set(refusals
  "no compiler given" ""
  "a compiler that does not exist" "/COMPILER=${missing}"
  "a folder instead of the compiler" "/COMPILER=${folder}"
  "an aplc2.exe beside the compiler" "/COMPILER=${taken}"
  "aplpatch itself, with no aplc2.exe beside it" "/COMPILER=${copy}"
  "aplc2.exe itself" "/COMPILER=${renamed}"
  "a feature that does not exist" "/OFF=clearence-withdrawal|/COMPILER=${compiler}")

function(expect_refusals)
  folder_snapshot("${WORK}" work_before)
  while(ARGN)
    list(POP_FRONT ARGN case arguments)
    string(REPLACE "|" ";" arguments "${arguments}")
    run_wine(${SETUP} /S ${arguments} /D=${program_dir_w})
    if(NOT status EQUAL 2)
      message(FATAL_ERROR "the installer ended with ${status}, not 2 (refused), for ${case}:\n${output}")
    endif()
    folder_snapshot("${WORK}" work_after)
    expect_same("The scratch folder, after the installer was given ${case}," "${work_before}" "${work_after}")
    registry_snapshot(registry_after)
    expect_same("Windows' list of programs, after the installer was given ${case}," "${registry_before}"
                "${registry_after}")
  endwhile()
endfunction()
expect_refusals(${refusals})

# ---- Installing --------------------------------------------------------------------------------
run_wine(${SETUP} /S /OFF=clearance-withdrawal,transponder-changes "/COMPILER=${compiler}" /D=${program_dir_w})
if(NOT status EQUAL 0)
  message(FATAL_ERROR "installing ended with ${status}:\n${output}")
endif()
expect_file_is("${host}/aplc2.exe" ${STANDIN} "the compiler, renamed")
expect_file_is("${host}/Compiler.exe" ${PROGRAM} "the 64-bit aplpatch.exe")
expect_settings()
foreach(file aplpatch.exe README.txt uninstall.exe)
  if(NOT EXISTS "${program_dir}/${file}")
    message(FATAL_ERROR "the program folder lacks ${file}")
  endif()
endforeach()
file(GLOB start_menu "${start_menu_glob}/*.lnk")
list(LENGTH start_menu entries)
if(NOT entries EQUAL 4)
  message(FATAL_ERROR "the Start menu holds ${entries} entries of aplpatch, not 4: ${start_menu}")
endif()

execute_process(COMMAND ${WINE} reg query "HKCU\\${uninstall_key}\\aplpatch" OUTPUT_VARIABLE entry ERROR_QUIET
                TIMEOUT 60)
string(REPLACE "\\" "/" entry_slashes "${entry}")
string(REPLACE "\\" "/" compiler_slashes "${compiler}")
foreach(value "DisplayName[ \t]+REG_SZ[ \t]+aplpatch\r?\n" "DisplayVersion[ \t]+REG_SZ[ \t]+${VERSION}\r?\n"
              "EstimatedSize[ \t]+REG_DWORD[ \t]+0x[0-9a-f]+" "UninstallString[ \t]+REG_SZ[ \t]+\""
              "QuietUninstallString[ \t]+REG_SZ[ \t]+\"[^\n]*uninstall.exe\" /S"
              "Compiler[ \t]+REG_SZ[ \t]+${compiler_slashes}\r?\n")
  if(NOT entry_slashes MATCHES "${value}")
    message(FATAL_ERROR "the entry in Windows' list of programs lacks ${value}:\n${entry}")
  endif()
endforeach()

# A flight now goes through aplpatch to the compiler, which the copy finds beside itself.
windows_path("${host}/FLIGHT.APL" flight)
run_wine("${host}/Compiler.exe" -e ${flight})
if(NOT status EQUAL 0 OR NOT output MATCHES "stand-in" OR NOT EXISTS "${host}/apl/FLIGHT.APL")
  message(FATAL_ERROR "a flight does not run through the installed aplpatch (status ${status}):\n${output}")
endif()
file(REMOVE_RECURSE "${host}/apl")
if(NOT run_records)
  file(GLOB run_records "${prefix}/drive_c/users/*/AppData/Local/aplpatch")
  if(run_records)
    file(REMOVE_RECURSE ${run_records})
  endif()
endif()
file(COPY_FILE ${CMAKE_CURRENT_LIST_DIR}/../../../examples/sample_flight.apl "${host}/FLIGHT.APL")

# While it is installed, a second compiler is refused: it would take the first one's entry.
file(MAKE_DIRECTORY "${WORK}/Second Host")
file(COPY_FILE ${STANDIN} "${WORK}/Second Host/Compiler.exe")
windows_path("${WORK}/Second Host/Compiler.exe" second)
registry_snapshot(registry_before_second)
set(registry_kept "${registry_before}")
set(registry_before "${registry_before_second}")
expect_refusals("a second compiler while the first has aplpatch" "/COMPILER=${second}")
set(registry_before "${registry_kept}")

# ---- Updating ----------------------------------------------------------------------------------
run_wine(${SETUP} /S "/COMPILER=${compiler}" /D=${program_dir_w})
if(NOT status EQUAL 0)
  message(FATAL_ERROR "installing again (an update) ended with ${status}:\n${output}")
endif()
expect_file_is("${host}/aplc2.exe" ${STANDIN} "the compiler, still")
expect_file_is("${host}/Compiler.exe" ${PROGRAM} "the 64-bit aplpatch.exe")
expect_settings()

# ---- Uninstalling ------------------------------------------------------------------------------
# The uninstaller runs from a copy of itself that it starts and does not wait for: wait until the
# entry in the list of programs, its last step, is gone.
run_wine("${program_dir}/uninstall.exe" /S)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "the uninstaller ended with ${status}:\n${output}")
endif()
foreach(attempt RANGE 120)
  execute_process(COMMAND ${WINE} reg query "HKCU\\${uninstall_key}\\aplpatch" RESULT_VARIABLE missing_entry
                  OUTPUT_QUIET ERROR_QUIET TIMEOUT 60)
  if(NOT missing_entry EQUAL 0 AND NOT EXISTS "${program_dir}")
    break()
  endif()
  execute_process(COMMAND ${CMAKE_COMMAND} -E sleep 0.5)
endforeach()
folder_snapshot("${host}" host_after)
expect_same("The compiler's folder, after uninstalling," "${host_before}" "${host_after}")
registry_snapshot(registry_after)
expect_same("Windows' list of programs, after uninstalling," "${registry_before}" "${registry_after}")
file(GLOB start_menu "${start_menu_glob}")
if(start_menu OR EXISTS "${program_dir}")
  message(FATAL_ERROR "uninstalling left ${start_menu} ${program_dir}")
endif()
file(REMOVE_RECURSE ${WORK})
