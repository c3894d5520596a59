# Writes OUTPUT, the installer's list of features, from the feature table in SOURCE (the program's
# rules/features.cpp), so that the installer offers exactly the features that the program reads
# and explains them in the program's words. Stops the build when the table cannot be read.
cmake_minimum_required(VERSION 3.25)
file(READ ${SOURCE} table)
# A semicolon would split the list of entries: it is held as a placeholder until the text is written.
string(REPLACE ";" "<semicolon>" table "${table}")
string(REGEX MATCHALL "Feature::[A-Za-z]+, \"[a-z-]+\",[ \t\r\n]*\"[^\"]*\"" entries "${table}")
list(LENGTH entries count)
if(count EQUAL 0)
  message(FATAL_ERROR "${SOURCE} holds no feature entry of the form {Feature::x, \"name\", \"explanation\"}")
endif()

set(text "; Written by the build from the program's feature table; do not edit.\n")
string(APPEND text "!define FEATURE_COUNT ${count}\n")
set(names ",")
set(index 0)
string(APPEND text "!macro FOR_EACH_FEATURE MACRO\n")
foreach(entry IN LISTS entries)
  string(REGEX REPLACE "^Feature::[A-Za-z]+, \"([a-z-]+)\".*" "\\1" name "${entry}")
  string(REGEX REPLACE ".*\",[ \t\r\n]*\"([^\"]*)\"$" "\\1" explanation "${entry}")
  # NSIS reads $ as the start of a variable.
  string(REPLACE "$" "$$" explanation "${explanation}")
  string(APPEND text "  !insertmacro \${MACRO} ${index} \"${name}\" \"${explanation}\"\n")
  string(APPEND names "${name},")
  math(EXPR index "${index} + 1")
endforeach()
string(APPEND text "!macroend\n")
# Each name between commas, for looking a name up.
string(APPEND text "!define FEATURE_NAMES \"${names}\"\n")
string(REPLACE "<semicolon>" ";" text "${text}")
file(WRITE ${OUTPUT}.new "${text}")
file(COPY_FILE ${OUTPUT}.new ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.new)
