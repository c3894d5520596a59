; The installer's own options: /COMPILER=PATH and /OFF=feature,feature (/S and /D= are NSIS's).

; Sets R7 to the value of the option R6 ("/COMPILER=", say) in the command line R0, or sets the
; error flag when it is not there. The value may hold blanks and be quoted either way:
; /COMPILER="C:\a b\c.exe" as typed in a console, or "/COMPILER=C:\a b\c.exe" as programs quote
; a whole argument. Unquoted, it ends at the next blank.
Function OptionValue
  StrCpy $R7 ""
  ClearErrors
  ${WordFind} $R0 $R6 "E+1}" $R1
  ${If} ${Errors}
    Return
  ${EndIf}
  ; The character before the option: where it starts is what the rest leaves of the length.
  StrLen $R2 $R0
  StrLen $R3 $R1
  IntOp $R2 $R2 - $R3
  StrLen $R3 $R6
  IntOp $R2 $R2 - $R3
  IntOp $R2 $R2 - 1
  ${If} $R2 < 0
    StrCpy $R2 ""
  ${Else}
    StrCpy $R2 $R0 1 $R2
  ${EndIf}
  StrCpy $R3 $R1 1
  ${If} $R3 == '"'
    StrCpy $R1 $R1 "" 1
    StrCpy $R2 '"'
  ${EndIf}
  ${If} $R2 == '"'
    StrCpy $R4 '"'
  ${Else}
    StrCpy $R4 " "
  ${EndIf}
  StrCpy $R2 0
  ${Do}
    StrCpy $R3 $R1 1 $R2
    ${If} $R3 == ""
    ${OrIf} $R3 == $R4
      ${Break}
    ${EndIf}
    IntOp $R2 $R2 + 1
  ${Loop}
  StrCpy $R7 $R1 $R2
  ClearErrors
FunctionEnd

!macro UNTICK_WHEN_OFF INDEX NAME EXPLANATION
  ${StrLoc} $R4 "$OffList" ",${NAME}," ">"
  ${If} $R4 != ""
    !insertmacro UnselectSection ${sec_feature_${INDEX}}
  ${EndIf}
!macroend

; Unticks the features that /OFF= names; a name that is no feature sets Problem.
Function ApplyOffList
  StrCpy $Problem ""
  ; Each name, read up to its comma (the list ends with one).
  StrCpy $R1 $OffList "" 1
  StrCpy $R3 ""
  StrCpy $R2 0
  ${Do}
    StrCpy $R5 $R1 1 $R2
    ${If} $R5 == ""
      ${Break}
    ${EndIf}
    IntOp $R2 $R2 + 1
    ${If} $R5 != ","
      StrCpy $R3 "$R3$R5"
      ${Continue}
    ${EndIf}
    ${If} $R3 != ""
      ${StrLoc} $R4 "${FEATURE_NAMES}" ",$R3," ">"
      ${If} $R4 == ""
        StrCpy $Problem "/OFF= names $R3, which is no feature. The features: ${FEATURE_NAMES}"
        Return
      ${EndIf}
    ${EndIf}
    StrCpy $R3 ""
  ${Loop}
  !insertmacro FOR_EACH_FEATURE UNTICK_WHEN_OFF
FunctionEnd
