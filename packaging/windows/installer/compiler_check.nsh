; Whether the file chosen as the host's adventure compiler can take aplpatch in front of it. The
; program's --install checks the same again, and its word is the last; these checks only let the
; pilot correct a choice before anything is installed.

; Pushes 1 when the file at the path on the stack carries aplpatch's version resource (every copy
; of aplpatch does, whatever its name), otherwise 0.
!macro IS_APLPATCH_FUNCTION PREFIX
Function ${PREFIX}IsAplpatch
  Exch $0
  Push $1
  Push $2
  Push $3
  Push $4
  Push $5
  StrCpy $5 0
  System::Call 'version::GetFileVersionInfoSizeW(w r0, *i 0) i .r1'
  ${If} $1 > 0
    System::Alloc $1
    Pop $2
    System::Call 'version::GetFileVersionInfoW(w r0, i 0, i r1, p r2) i .r3'
    ${If} $3 <> 0
      System::Call 'version::VerQueryValueW(p r2, w "\StringFileInfo\040904B0\ProductName", *p .r3, *i .r4) i .r1'
      ${If} $1 <> 0
      ${AndIf} $4 > 0
        System::Call '*$3(&w64 .r4)'
        ${If} $4 S== "aplpatch"
          StrCpy $5 1
        ${EndIf}
      ${EndIf}
    ${EndIf}
    System::Free $2
  ${EndIf}
  StrCpy $0 $5
  Pop $5
  Pop $4
  Pop $3
  Pop $2
  Pop $1
  Exch $0
FunctionEnd
!macroend
!insertmacro IS_APLPATCH_FUNCTION ""
!insertmacro IS_APLPATCH_FUNCTION "un."

; Checks Compiler: sets CompilerFolder and IsUpdate, and Problem to why the file cannot be taken
; (empty when it can).
Function CheckCompiler
  StrCpy $Problem ""
  StrCpy $IsUpdate 0
  StrCpy $CompilerFolder ""
  ${If} $Compiler == ""
    StrCpy $Problem "Choose the adventure compiler that TALKRADAR calls."
    Return
  ${EndIf}
  ; A path of the folder's own, with no relative parts, for the messages and the registry.
  GetFullPathName $Compiler $Compiler
  ${If} ${FileExists} "$Compiler\*.*"
    StrCpy $Problem "$Compiler is a folder: choose the compiler's file in it."
    Return
  ${EndIf}
  ${IfNot} ${FileExists} $Compiler
    StrCpy $Problem "$Compiler does not exist."
    Return
  ${EndIf}
  ${GetParent} $Compiler $CompilerFolder
  ${GetFileName} $Compiler $R9
  ${If} $R9 == "aplc2.exe"
    StrCpy $Problem "aplc2.exe is the name that the compiler gets when aplpatch is put in front of it: choose the file that TALKRADAR calls."
    Return
  ${EndIf}

  Push $Compiler
  Call IsAplpatch
  Pop $R9
  ${If} $R9 == 1
    ${If} ${FileExists} "$CompilerFolder\aplc2.exe"
      StrCpy $IsUpdate 1
    ${Else}
      StrCpy $Problem "$Compiler is aplpatch, not the adventure compiler, and no aplc2.exe is beside it: choose the compiler that TALKRADAR calls."
      Return
    ${EndIf}
  ${ElseIf} ${FileExists} "$CompilerFolder\aplc2.exe"
    StrCpy $Problem "$CompilerFolder holds an aplc2.exe already, the name that the compiler would get: installing would replace it. Choose the compiler that TALKRADAR calls, or move aplc2.exe away."
    Return
  ${EndIf}

  ; One install at a time: a second one would take the first one's place in Windows' list of
  ; programs, and the first could no longer be uninstalled from there.
  ${ForEach} $R8 0 1 + 1
    ${If} $R8 == 0
      ReadRegStr $R9 HKCU "${UNINSTALL_KEY}" Compiler
    ${Else}
      ReadRegStr $R9 HKLM "${UNINSTALL_KEY}" Compiler
    ${EndIf}
    ${If} $R9 != ""
    ${AndIf} $R9 != $Compiler
    ${AndIf} ${FileExists} $R9
      StrCpy $Problem "aplpatch is installed in front of $R9 already. Choose that compiler to update it, or uninstall it first (Windows' list of programs, aplpatch)."
      Return
    ${EndIf}
  ${Next}
FunctionEnd

; Pushes 1 when this copy of the installer cannot write into CompilerFolder and is not running with
; administrator rights, otherwise 0.
Function NeedsAdministrator
  Push $0
  ClearErrors
  GetTempFileName $0 $CompilerFolder
  ${If} ${Errors}
  ${OrIf} $0 == ""
    StrCpy $0 1
  ${Else}
    Delete $0
    ; GetTempFileName falls back to the temporary folder when it cannot create the file there.
    ${GetParent} $0 $0
    ${If} $0 == $CompilerFolder
      StrCpy $0 0
    ${Else}
      StrCpy $0 1
    ${EndIf}
  ${EndIf}
  ${If} $0 == 1
  ${AndIf} $Elevated == 1
    StrCpy $0 0
  ${EndIf}
  Exch $0
FunctionEnd
