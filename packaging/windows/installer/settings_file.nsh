; The settings file beside the installed copy, aplpatch.ini, from the features left ticked: written
; whole when there is none, written through a temporary file of its own that is renamed into place;
; when there is one (an update, or a file the pilot wrote), only the features whose value the
; choice changes are set, so that the pilot's comments and lines stay.

!define SETTINGS_NAME "aplpatch.ini"

!macro WRITE_FEATURE_LINES INDEX NAME EXPLANATION
  FileWrite $0 "$\r$\n; ${EXPLANATION}$\r$\n"
  ${If} ${SectionIsSelected} ${sec_feature_${INDEX}}
    FileWrite $0 "${NAME} = on$\r$\n"
  ${Else}
    FileWrite $0 "${NAME} = off$\r$\n"
  ${EndIf}
!macroend

!macro UPDATE_FEATURE_LINE INDEX NAME EXPLANATION
  ReadINIStr $1 "$CompilerFolder\${SETTINGS_NAME}" features "${NAME}"
  Push $1
  Call IsOffValue
  Pop $1
  ${If} ${SectionIsSelected} ${sec_feature_${INDEX}}
    ${If} $1 == 1
      WriteINIStr "$CompilerFolder\${SETTINGS_NAME}" features "${NAME}" "on"
    ${EndIf}
  ${ElseIf} $1 == 0
    WriteINIStr "$CompilerFolder\${SETTINGS_NAME}" features "${NAME}" "off"
  ${EndIf}
!macroend

!macro TICK_FROM_FILE INDEX NAME EXPLANATION
  ReadINIStr $1 "$CompilerFolder\${SETTINGS_NAME}" features "${NAME}"
  Push $1
  Call IsOffValue
  Pop $1
  ${If} $1 == 1
    !insertmacro UnselectSection ${sec_feature_${INDEX}}
  ${Else}
    !insertmacro SelectSection ${sec_feature_${INDEX}}
  ${EndIf}
!macroend

; Pushes 1 when the value on the stack, as the settings file holds it (a comment may follow it),
; switches a feature off, otherwise 0.
Function IsOffValue
  Exch $0
  Push $1
  ; The first word: what follows a blank, a tab or a comment sign is no part of the value.
  StrCpy $1 0
  ${Do}
    StrCpy $2 $0 1 $1
    ${If} $2 == ""
    ${OrIf} $2 == " "
    ${OrIf} $2 == "$\t"
    ${OrIf} $2 == ";"
    ${OrIf} $2 == "#"
      ${Break}
    ${EndIf}
    IntOp $1 $1 + 1
  ${Loop}
  StrCpy $0 $0 $1
  ${If} $0 == "off"
  ${OrIf} $0 == "false"
  ${OrIf} $0 == "no"
  ${OrIf} $0 == "0"
  ${OrIf} $0 == "disabled"
    StrCpy $0 1
  ${Else}
    StrCpy $0 0
  ${EndIf}
  Pop $1
  Exch $0
FunctionEnd

; On the features page of an update, the boxes show what the settings file there sets.
Function TickFeaturesFromSettingsFile
  ${If} ${FileExists} "$CompilerFolder\${SETTINGS_NAME}"
    !insertmacro FOR_EACH_FEATURE TICK_FROM_FILE
  ${EndIf}
FunctionEnd

Function WriteSettingsFile
  StrCpy $R0 "$CompilerFolder\${SETTINGS_NAME}"
  ${If} ${FileExists} $R0
    DetailPrint "Settings: $R0 is there already; only the features changed here are set in it"
    !insertmacro FOR_EACH_FEATURE UPDATE_FEATURE_LINE
    Return
  ${EndIf}

  ClearErrors
  GetTempFileName $R1 $CompilerFolder
  ${If} ${Errors}
    DetailPrint "Settings: cannot create a file in $CompilerFolder; every feature stays on"
    MessageBox MB_OK|MB_ICONEXCLAMATION "The settings file $R0 cannot be written; every feature stays on. aplpatch --write-settings writes one later." /SD IDOK
    Return
  ${EndIf}
  FileOpen $0 $R1 w
  ${If} ${Errors}
    Delete $R1
    DetailPrint "Settings: cannot write $R0; every feature stays on"
    MessageBox MB_OK|MB_ICONEXCLAMATION "The settings file $R0 cannot be written; every feature stays on." /SD IDOK
    Return
  ${EndIf}
  FileWrite $0 "; Settings of aplpatch, read at every run: which additions the rewrite gives a flight.$\r$\n"
  FileWrite $0 "; One feature a line, $\"name = on$\" or $\"name = off$\"; off leaves that addition out.$\r$\n"
  FileWrite $0 "; Lines that start with ; or # are comments. aplpatch --settings shows what this file sets.$\r$\n"
  FileWrite $0 "[features]$\r$\n"
  !insertmacro FOR_EACH_FEATURE WRITE_FEATURE_LINES
  FileClose $0
  ClearErrors
  Rename $R1 $R0
  ${If} ${Errors}
    Delete $R1
    DetailPrint "Settings: cannot write $R0; every feature stays on"
    MessageBox MB_OK|MB_ICONEXCLAMATION "The settings file $R0 cannot be written; every feature stays on." /SD IDOK
    Return
  ${EndIf}
  DetailPrint "Settings: wrote $R0"
  ; Only a file that the installer wrote goes when aplpatch is uninstalled.
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" SettingsWritten 1
FunctionEnd
