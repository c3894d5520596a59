; The Windows installer of aplpatch. It puts the program that fits the machine in front of the
; host's adventure compiler by running that program's own --install (so that the logic of it lives
; in one place), writes the settings file from the features the pilot leaves ticked, adds Start
; menu entries and registers an uninstaller that runs --uninstall.
;
; Silent use: setup.exe /S /COMPILER=PATH [/OFF=feature,feature]; uninstall.exe /S. Exit status
; 0 when done, 2 when refused (nothing changed), 5 when the compiler's folder needs administrator
; rights that a silent run does not have.
;
; Given by the build (makensis -D...): VERSION, TARGET (x86-unicode or amd64-unicode),
; PROGRAM32 and PROGRAM64 (the two aplpatch.exe), README (as text with CR LF), FEATURES (the
; feature list written from the program's table) and OUTFILE.

Target ${TARGET}
ManifestSupportedOS all
; Administrator rights are asked for only when the compiler's folder needs them: then the installer
; starts itself again with them (see NeedsAdministrator).
RequestExecutionLevel user
SetCompressor /SOLID lzma
Name "aplpatch ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "aplpatch ${VERSION}"
InstallDir "$LOCALAPPDATA\Programs\aplpatch"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 ProductName "aplpatch"
VIAddVersionKey /LANG=1033 ProductVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileVersion "${VERSION}"
VIAddVersionKey /LANG=1033 FileDescription "aplpatch ${VERSION} setup"
VIAddVersionKey /LANG=1033 LegalCopyright ""

!include MUI2.nsh
!include LogicLib.nsh
!include nsDialogs.nsh
!include FileFunc.nsh
!include WordFunc.nsh
!include StrFunc.nsh
!include x64.nsh
!include "${FEATURES}"

${StrLoc}

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\aplpatch"
!define REFUSED 2
!define NEEDS_ADMINISTRATOR 5

Var Compiler        ; the host's adventure compiler, as chosen or given with /COMPILER=
Var CompilerFolder  ; the folder that holds it, where aplc2.exe and aplpatch.ini go
Var IsUpdate        ; 1 when Compiler is aplpatch already, installed in front of aplc2.exe
Var Elevated        ; 1 in the copy that the installer started with administrator rights
Var OffList         ; the features to switch off, each between commas (",a,b,")
Var Problem         ; set by CheckCompiler: why Compiler cannot be taken, or empty

!include "${INSTALLER_SOURCES}\compiler_check.nsh"
!include "${INSTALLER_SOURCES}\compiler_page.nsh"

; ---- Pages -----------------------------------------------------------------------------------

!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TITLE "aplpatch ${VERSION}"
!define MUI_WELCOMEPAGE_TEXT "aplpatch rewrites every flight adventure that TALKRADAR generates before the adventure compiler turns it into an adventure: supervised pushback, taxi, line-up and take-off, holding patterns, approaches, transponder changes by the centre and missed approaches. In the simulator it adds the keys X (request the descent), M (fly a missed approach) and L (call for the line-up clearance).$\r$\n$\r$\nThis installer puts aplpatch in front of the host's adventure compiler, which stays beside it as aplc2.exe."
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipWhenElevated
!insertmacro MUI_PAGE_WELCOME
Page custom CompilerPage CompilerPageLeave
!define MUI_PAGE_HEADER_TEXT "Features"
!define MUI_PAGE_HEADER_SUBTEXT "Untick what a flight should not have. The choice is written to aplpatch.ini beside the compiler; you can change it there later."
!define MUI_COMPONENTSPAGE_TEXT_TOP "Each feature is one addition to every flight. Point at one to read what it does."
!define MUI_COMPONENTSPAGE_TEXT_COMPLIST "Features:"
!define MUI_PAGE_CUSTOMFUNCTION_PRE SkipWhenElevated
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FeaturesPageLeave
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_TITLE "aplpatch is installed"
!define MUI_FINISHPAGE_TEXT "TALKRADAR now calls aplpatch as $Compiler; the compiler itself is aplc2.exe beside it.$\r$\n$\r$\nSettings: $CompilerFolder\aplpatch.ini (Start menu, aplpatch, Settings).$\r$\n$\r$\nLogs: each flight's record, with its briefing, is in the folder apl beside the flight's script, named after the script with .log added. The Start menu entry $\"Last flight's briefing$\" shows the last one."
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE English

; ---- Installing ------------------------------------------------------------------------------

; Stops the install as refused: says why (in a silent run only through the exit status) and leaves
; the installer with that status.
!macro Refuse STATUS TEXT
  DetailPrint "${TEXT}"
  MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
  SetErrorLevel ${STATUS}
  Abort
!macroend

Section "-aplpatch" SecProgram
  SetOutPath $INSTDIR
!if "${TARGET}" == "amd64-unicode"
  ; Built so, the installer runs on 64-bit Windows only.
  File "/oname=aplpatch.exe" "${PROGRAM64}"
!else
  ${If} ${RunningX64}
    File "/oname=aplpatch.exe" "${PROGRAM64}"
  ${Else}
    File "/oname=aplpatch.exe" "${PROGRAM32}"
  ${EndIf}
!endif
  File "/oname=README.txt" "${README}"

  ${If} $IsUpdate == 1
    ; The copy in front of the compiler is replaced by the new one: the old one steps aside first.
    DetailPrint "Updating the aplpatch in front of $Compiler"
    nsExec::ExecToStack '"$INSTDIR\aplpatch.exe" --uninstall "$Compiler"'
    Pop $0
    Pop $1
    DetailPrint $1
    ${If} $0 != 0
      !insertmacro Refuse ${REFUSED} "The aplpatch in front of $Compiler cannot be updated:$\r$\n$1"
    ${EndIf}
  ${EndIf}

  nsExec::ExecToStack '"$INSTDIR\aplpatch.exe" --install "$Compiler"'
  Pop $0
  Pop $1
  DetailPrint $1
  ${If} $0 != 0
    Call RemoveProgramFolder
    !insertmacro Refuse ${REFUSED} "aplpatch cannot be installed in front of $Compiler:$\r$\n$1"
  ${EndIf}
SectionEnd

; One checkbox per feature; a feature left unticked is written as off.
!macro FEATURE_SECTION INDEX NAME EXPLANATION
  Section "${NAME}" sec_feature_${INDEX}
  SectionEnd
!macroend
!insertmacro FOR_EACH_FEATURE FEATURE_SECTION

; After the sections, whose numbers they read.
!include "${INSTALLER_SOURCES}\settings_file.nsh"
!include "${INSTALLER_SOURCES}\options.nsh"

Section "-finish" SecFinish
  Call WriteSettingsFile

  CreateDirectory "$SMPROGRAMS\aplpatch"
  CreateShortcut "$SMPROGRAMS\aplpatch\Settings (aplpatch.ini).lnk" "$CompilerFolder\aplpatch.ini"
  ; The installed copy, so that it reports the settings it reads; in a window of its own it waits
  ; for Enter before the window closes.
  CreateShortcut "$SMPROGRAMS\aplpatch\Last flight's briefing.lnk" "$Compiler" "--status" "$INSTDIR\aplpatch.exe"
  CreateShortcut "$SMPROGRAMS\aplpatch\README.lnk" "$INSTDIR\README.txt"
  CreateShortcut "$SMPROGRAMS\aplpatch\Uninstall aplpatch.lnk" "$INSTDIR\uninstall.exe"

  WriteUninstaller "$INSTDIR\uninstall.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayName "aplpatch"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\aplpatch.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\uninstall.exe"'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" Comments "Installed in front of $Compiler"
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" NoRepair 1
  ; Read by the uninstaller: where the copy is, and whether the settings file is the installer's.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" Compiler "$Compiler"
  ; The size of the program folder and of the copy in front of the compiler, in KiB.
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
  ${GetFileName} "$Compiler" $3
  ${GetSize} "$CompilerFolder" "/M=$3 /S=0K /G=0" $1 $2 $4
  IntOp $0 $0 + $1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" EstimatedSize $0
SectionEnd

; What the installer put into the program folder, when installing failed after all.
Function RemoveProgramFolder
  Delete "$INSTDIR\aplpatch.exe"
  Delete "$INSTDIR\README.txt"
  RMDir "$INSTDIR"
FunctionEnd

; ---- Starting --------------------------------------------------------------------------------

Function .onInit
  ${GetParameters} $R0
  StrCpy $R6 "/COMPILER="
  Call OptionValue
  StrCpy $Compiler $R7
  StrCpy $R6 "/OFF="
  Call OptionValue
  StrCpy $OffList ",$R7,"
  ClearErrors
  ${GetOptions} $R0 "/ELEVATED" $R1
  ${IfNot} ${Errors}
    StrCpy $Elevated 1
  ${EndIf}

  ; Started with administrator rights, it installs for every user of the machine.
  ${If} $Elevated == 1
    SetShellVarContext all
    ${If} $INSTDIR == "$LOCALAPPDATA\Programs\aplpatch"
      StrCpy $INSTDIR "$PROGRAMFILES64\aplpatch"
    ${EndIf}
  ${EndIf}

  Call ApplyOffList
  ${If} $Problem != ""
    MessageBox MB_OK|MB_ICONSTOP $Problem /SD IDOK
    SetErrorLevel ${REFUSED}
    Abort
  ${EndIf}

  ${If} ${Silent}
  ${OrIf} $Elevated == 1
    Call CheckCompiler
    ${If} $Problem != ""
      MessageBox MB_OK|MB_ICONSTOP $Problem /SD IDOK
      SetErrorLevel ${REFUSED}
      Abort
    ${EndIf}
    ; A silent run keeps what a settings file there sets, but for what /OFF= switches off; the
    ; elevated copy gets the pilot's whole choice in /OFF=.
    ${If} $Elevated != 1
      Call TickFeaturesFromSettingsFile
      Call ApplyOffList
    ${EndIf}
    Call NeedsAdministrator
    Pop $0
    ${If} $0 == 1
      MessageBox MB_OK|MB_ICONSTOP "Only an administrator may change $CompilerFolder: run the installer as administrator." /SD IDOK
      SetErrorLevel ${NEEDS_ADMINISTRATOR}
      Abort
    ${EndIf}
  ${EndIf}
FunctionEnd

Function SkipWhenElevated
  ${If} $Elevated == 1
    Abort
  ${EndIf}
FunctionEnd

!macro COLLECT_OFF INDEX NAME EXPLANATION
  ${IfNot} ${SectionIsSelected} ${sec_feature_${INDEX}}
    StrCpy $R0 "$R0${NAME},"
  ${EndIf}
!macroend

; Before installing: where the compiler's folder needs administrator rights that this copy lacks,
; the installer starts again with them, with the pilot's choices, and this copy ends.
Function FeaturesPageLeave
  Call NeedsAdministrator
  Pop $0
  ${If} $0 == 1
    MessageBox MB_OKCANCEL|MB_ICONINFORMATION "Only an administrator may change $CompilerFolder. The installer starts again with administrator rights and installs with your choices; Windows asks for them." IDOK +2
    Abort
    StrCpy $R0 ""
    !insertmacro FOR_EACH_FEATURE COLLECT_OFF
    StrCpy $R0 $R0 -1
    ClearErrors
    ExecShell "runas" "$EXEPATH" '/ELEVATED "/COMPILER=$Compiler" "/OFF=$R0"'
    ${If} ${Errors}
      MessageBox MB_OK|MB_ICONSTOP "The installer could not start again with administrator rights; nothing was installed."
      Abort
    ${EndIf}
    Quit
  ${EndIf}
FunctionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
!macro FEATURE_DESCRIPTION INDEX NAME EXPLANATION
  !insertmacro MUI_DESCRIPTION_TEXT ${sec_feature_${INDEX}} "${EXPLANATION}"
!macroend
!insertmacro FOR_EACH_FEATURE FEATURE_DESCRIPTION
!insertmacro MUI_FUNCTION_DESCRIPTION_END

; ---- Uninstalling ----------------------------------------------------------------------------

!include "${INSTALLER_SOURCES}\uninstall.nsh"
