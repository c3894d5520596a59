; The page on which the pilot chooses the host's adventure compiler: a path field with a file
; picker, the compilers found in the usual places, and what the installer would do with the one
; chosen.

Var CompilerField
Var Suggestions
Var CheckLabel

Function CompilerPage
  ${If} $Elevated == 1
    Abort
  ${EndIf}
  !insertmacro MUI_HEADER_TEXT "The host's adventure compiler" "aplpatch takes the place of the program that TALKRADAR calls to compile its adventures."
  nsDialogs::Create 1018
  Pop $0
  ${If} $0 == error
    Abort
  ${EndIf}

  ${NSD_CreateLabel} 0 0 100% 26u "Choose the adventure compiler that TALKRADAR calls. It is renamed to aplc2.exe in its folder and aplpatch takes its name, so that every adventure the host generates goes through aplpatch first."
  Pop $0
  ${NSD_CreateText} 0 30u 78% 13u $Compiler
  Pop $CompilerField
  ${NSD_OnChange} $CompilerField OnCompilerChange
  ${NSD_CreateBrowseButton} 80% 29u 20% 15u "&Browse..."
  Pop $0
  ${NSD_OnClick} $0 OnBrowse

  ${NSD_CreateLabel} 0 50u 100% 10u "Found on this computer (click one to take it):"
  Pop $0
  ${NSD_CreateListBox} 0 61u 100% 38u ""
  Pop $Suggestions
  ${NSD_OnChange} $Suggestions OnSuggestion
  Call FillSuggestions

  ${NSD_CreateLabel} 0 103u 100% 36u ""
  Pop $CheckLabel
  Call ShowCheck
  nsDialogs::Show
FunctionEnd

Function CompilerPageLeave
  ${NSD_GetText} $CompilerField $Compiler
  Call CheckCompiler
  ${If} $Problem != ""
    MessageBox MB_OK|MB_ICONEXCLAMATION $Problem
    Abort
  ${EndIf}
  ${If} $IsUpdate == 1
    MessageBox MB_YESNO|MB_ICONQUESTION "aplpatch is installed in front of this compiler already (aplc2.exe beside it is the compiler). Update it to aplpatch ${VERSION}?" IDYES +2
    Abort
  ${EndIf}
  ; The features page shows what a settings file there sets already.
  Call TickFeaturesFromSettingsFile
FunctionEnd

Function OnBrowse
  Pop $0
  ${NSD_GetText} $CompilerField $0
  nsDialogs::SelectFileDialog open $0 "Programs (*.exe)|*.exe|All files|*.*"
  Pop $0
  ${If} $0 != ""
    ${NSD_SetText} $CompilerField $0
  ${EndIf}
FunctionEnd

Function OnSuggestion
  Pop $0
  ${NSD_LB_GetSelection} $Suggestions $0
  ${If} $0 != ""
    ${NSD_SetText} $CompilerField $0
  ${EndIf}
FunctionEnd

Function OnCompilerChange
  Pop $0
  Call ShowCheck
FunctionEnd

; Says under the field what installing would do with the file in it, or why it cannot be taken.
Function ShowCheck
  ${NSD_GetText} $CompilerField $Compiler
  ${If} $Compiler == ""
    ${NSD_SetText} $CheckLabel "No compiler chosen yet."
    Return
  ${EndIf}
  Call CheckCompiler
  ${If} $Problem != ""
    ${NSD_SetText} $CheckLabel $Problem
  ${ElseIf} $IsUpdate == 1
    ${NSD_SetText} $CheckLabel "aplpatch is installed in front of this compiler already: Next updates it."
  ${Else}
    ${GetFileName} $Compiler $0
    ${NSD_SetText} $CheckLabel "Next: $0 becomes aplc2.exe in $CompilerFolder, and aplpatch takes the name $0."
  ${EndIf}
FunctionEnd

; Lists the programs named apl*.exe (aplc2.exe aside) in the folders whose name starts with
; TALKRADAR at the top of both Program Files folders and of the system drive, and one level below
; them. When the field is empty, the first one found is put in it.
Function FillSuggestions
  StrCpy $R7 ""
  StrCpy $R8 "|"  ; the folders searched already
  ${ForEach} $R1 0 3 + 1
    ${If} $R1 == 0
      StrCpy $R2 $PROGRAMFILES32
    ${ElseIf} $R1 == 1
      StrCpy $R2 $PROGRAMFILES64
    ${ElseIf} $R1 == 2
      ; What a 64-bit installer is told for the one above is not always the 32-bit folder.
      ReadEnvStr $R2 "ProgramFiles(x86)"
    ${Else}
      StrCpy $R2 $WINDIR 2
    ${EndIf}
    ${StrLoc} $R3 $R8 "|$R2|" ">"
    ${If} $R2 == ""
    ${OrIf} $R3 != ""
      ${Continue}
    ${EndIf}
    StrCpy $R8 "$R8$R2|"
    FindFirst $R3 $R4 "$R2\TALKRADAR*"
    ${DoWhile} $R4 != ""
      ${If} ${FileExists} "$R2\$R4\*.*"
        Push "$R2\$R4"
        Call AddCompilersIn
        FindFirst $R5 $R6 "$R2\$R4\*"
        ${DoWhile} $R6 != ""
          ${If} $R6 != "."
          ${AndIf} $R6 != ".."
          ${AndIf} ${FileExists} "$R2\$R4\$R6\*.*"
            Push "$R2\$R4\$R6"
            Call AddCompilersIn
          ${EndIf}
          FindNext $R5 $R6
        ${Loop}
        FindClose $R5
      ${EndIf}
      FindNext $R3 $R4
    ${Loop}
    FindClose $R3
  ${Next}
  ${NSD_GetText} $CompilerField $0
  ${If} $0 == ""
  ${AndIf} $R7 != ""
    ${NSD_SetText} $CompilerField $R7
  ${EndIf}
FunctionEnd

; Adds the apl*.exe of the folder on the stack (aplc2.exe aside) to the list; keeps the first in R7.
Function AddCompilersIn
  Exch $0
  Push $1
  Push $2
  FindFirst $1 $2 "$0\apl*.exe"
  ${DoWhile} $2 != ""
    ${If} $2 != "aplc2.exe"
      ${NSD_LB_AddString} $Suggestions "$0\$2"
      ${If} $R7 == ""
        StrCpy $R7 "$0\$2"
      ${EndIf}
    ${EndIf}
    FindNext $1 $2
  ${Loop}
  FindClose $1
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
