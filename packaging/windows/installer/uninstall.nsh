; The uninstaller: puts the compiler back in its place by running the installed program's own
; --uninstall, then removes what the installer added: the settings file when the installer wrote
; it, the Start menu entries, the program folder and the entry in Windows' list of programs. What
; the runs wrote (the apl folders beside the scripts, the logs) stays.

Function un.onInit
  ; Installed for every user, the entry is the machine's, and so are the rights it needs.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" InstallLocation
  ${If} $0 != $INSTDIR
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" InstallLocation
    ${If} $0 == $INSTDIR
      SetShellVarContext all
      UserInfo::GetAccountType
      Pop $1
      ${If} $1 != "Admin"
        ${If} ${Silent}
          SetErrorLevel ${NEEDS_ADMINISTRATOR}
          Abort
        ${EndIf}
        ; This is the uninstaller's copy in the temporary folder: started again with the rights,
        ; it uninstalls from there as this one would.
        MessageBox MB_OKCANCEL|MB_ICONINFORMATION "aplpatch was installed for every user of this computer: only an administrator may uninstall it. The uninstaller starts again with administrator rights; Windows asks for them." IDOK +2
        Abort
        ClearErrors
        ExecShell "runas" "$EXEPATH" "_?=$INSTDIR"
        ${If} ${Errors}
          MessageBox MB_OK|MB_ICONSTOP "The uninstaller could not start again with administrator rights; nothing was removed."
        ${EndIf}
        Quit
      ${EndIf}
    ${EndIf}
  ${EndIf}
FunctionEnd

Section Uninstall
  ReadRegStr $Compiler SHCTX "${UNINSTALL_KEY}" Compiler
  ReadRegDWORD $R0 SHCTX "${UNINSTALL_KEY}" SettingsWritten
  ${If} $Compiler != ""
    ${GetParent} $Compiler $CompilerFolder
  ${EndIf}

  ${If} $Compiler != ""
  ${AndIf} ${FileExists} $Compiler
    nsExec::ExecToStack '"$INSTDIR\aplpatch.exe" --uninstall "$Compiler"'
    Pop $0
    Pop $1
    DetailPrint $1
    ${If} $0 != 0
      ; Where aplpatch is still in front of the compiler (the host holds the file, say), nothing
      ; more is removed, so that uninstalling again can finish it.
      Push $Compiler
      Call un.IsAplpatch
      Pop $2
      ${If} $2 == 1
      ${AndIf} ${FileExists} "$CompilerFolder\aplc2.exe"
        MessageBox MB_OK|MB_ICONSTOP "The compiler cannot be put back in the place of $Compiler:$\r$\n$1$\r$\nClose TALKRADAR and uninstall again. Nothing was removed." /SD IDOK
        SetErrorLevel ${REFUSED}
        Abort
      ${EndIf}
      DetailPrint "$Compiler is no longer aplpatch; the rest is removed"
    ${EndIf}
  ${EndIf}

  ${If} $R0 == 1
  ${AndIf} $CompilerFolder != ""
    Delete "$CompilerFolder\aplpatch.ini"
  ${EndIf}
  Delete "$SMPROGRAMS\aplpatch\Settings (aplpatch.ini).lnk"
  Delete "$SMPROGRAMS\aplpatch\Last flight's briefing.lnk"
  Delete "$SMPROGRAMS\aplpatch\README.lnk"
  Delete "$SMPROGRAMS\aplpatch\Uninstall aplpatch.lnk"
  RMDir "$SMPROGRAMS\aplpatch"
  Delete "$INSTDIR\aplpatch.exe"
  Delete "$INSTDIR\README.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
SectionEnd
