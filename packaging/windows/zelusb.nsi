; The Windows installer of ZEL USB, built by scripts/package.sh, which defines
; VERSION (1.41), STAGE (the folder holding zelusb.exe, zeltool.exe and
; ReadMe.txt), ICON and OUTFILE.
; Per machine under Program Files when run elevated, per user under
; LocalAppData\Programs otherwise; /AllUsers or /CurrentUser choose, /S is silent.
; One copy is installed at a time: an installation in the other mode, or in
; another folder, is removed first. Nothing is replaced or removed while an
; installed program runs; a silent run then exits with code 2.

Unicode true
; The program is x64 only, and a 64-bit installer sees the 64-bit Program Files
; and registry without redirection.
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "ZEL USB"
!define PUBLISHER "The ZEL USB developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
!define CLASSES "Software\Classes"
!define PROGID "ZELUSB.DataSet"
; The exit code of a silent run that changed nothing.
!define REFUSED 2

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey ProductName "${PRODUCT}"
VIAddVersionKey ProductVersion "${VERSION}"
VIAddVersionKey FileVersion "${VERSION}"
VIAddVersionKey FileDescription "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey CompanyName "${PUBLISHER}"
VIAddVersionKey LegalCopyright "Copyright the ZEL USB developers"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
; The uninstall entry remembers the folder and, by being in HKLM or HKCU, the
; mode: a second install and the uninstaller follow the first install.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME InstallLocation
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME InstallLocation
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include Integration.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Start ${PRODUCT} now"
!define MUI_FINISHPAGE_RUN_FUNCTION StartAsDesktopUser

!insertmacro MUI_PAGE_WELCOME
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE English

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

; An elevated installer would hand its administrator token to the program;
; the desktop's shell starts it with the user's own.
Function StartAsDesktopUser
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\zelusb.exe"'
FunctionEnd

; Windows keeps a running program's file locked, so it is neither replaced nor
; removed: opening it for writing fails while it runs.
!macro FIND_LOCKED FILE
  ${If} $R1 == ""
  ${AndIf} ${FileExists} "$R0\${FILE}"
    ClearErrors
    FileOpen $0 "$R0\${FILE}" a
    ${If} ${Errors}
      StrCpy $R1 "$R0\${FILE}"
    ${Else}
      FileClose $0
    ${EndIf}
  ${EndIf}
!macroend

; AskToClosePrograms with the folder in $R0: asks until no installed program
; there runs; $R1 is the one still running when the user cancels (always so
; when silent), else "".
!macro ASK_TO_CLOSE_PROGRAMS PREFIX
Function ${PREFIX}AskToClosePrograms
  Push $0
  retry:
  StrCpy $R1 ""
  !insertmacro FIND_LOCKED zelusb.exe
  !insertmacro FIND_LOCKED zeltool.exe
  ${If} $R1 != ""
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "${PRODUCT} is running:$\r$\n$R1$\r$\n$\r$\nClose it, then choose Retry." /SD IDCANCEL IDRETRY retry
  ${EndIf}
  Pop $0
FunctionEnd
!macroend
!insertmacro ASK_TO_CLOSE_PROGRAMS ""
!insertmacro ASK_TO_CLOSE_PROGRAMS un.

; Ends the run having changed nothing, saying why in the details.
!macro REFUSE WHY
  SetDetailsView show
  DetailPrint "${WHY}"
  SetErrorLevel ${REFUSED}
  Abort
!macroend

; The association removed only while it still opens the program in $R0.
!macro UNREGISTER_ASSOCIATION
  ReadRegStr $0 SHCTX "${CLASSES}\${PROGID}\shell\open\command" ""
  ${If} $0 == '"$R0\zelusb.exe" "%1"'
    DeleteRegKey SHCTX "${CLASSES}\${PROGID}"
    ReadRegStr $0 SHCTX "${CLASSES}\.zel" ""
    ${If} $0 == "${PROGID}"
      DeleteRegValue SHCTX "${CLASSES}\.zel" ""
      DeleteRegKey /ifempty SHCTX "${CLASSES}\.zel"
    ${EndIf}
    ${NotifyShell_AssocChanged}
  ${EndIf}
!macroend

; What an installation in $R0 put there, in the current mode's registry root
; and shell folders; the entry last, so that a failed removal can be retried.
!macro REMOVE_INSTALLATION
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$R0\zelusb.exe"
  Delete "$R0\zeltool.exe"
  Delete "$R0\ReadMe.txt"
  Delete "$R0\uninstall.exe"
  ; Not /r: files a user put there stay, and so does the folder then.
  RMDir "$R0"
  !insertmacro UNREGISTER_ASSOCIATION
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
!macroend

!macro SHELL_CONTEXT MODE
  !if ${MODE} == AllUsers
    SetShellVarContext all
  !else
    SetShellVarContext current
  !endif
!macroend

; Another installation: the other mode's, or this mode's in another folder.
!macro OLD_INSTALLATION ROOT MODE
  ReadRegStr $R0 ${ROOT} "${UNINSTALL_KEY}" InstallLocation
  ${If} "$MultiUser.InstallMode" == "${MODE}"
  ${AndIf} $R0 == $INSTDIR
    StrCpy $R0 ""
  ${EndIf}
!macroend

; Whether the other installation can be removed: by an administrator only when
; it is for all users, and with none of its programs running.
!macro CHECK_OLD_INSTALLATION ROOT MODE
  !insertmacro OLD_INSTALLATION ${ROOT} ${MODE}
  ${If} $R0 != ""
    !if ${MODE} == AllUsers
    ${If} $MultiUser.Privileges != Admin
    ${AndIf} $MultiUser.Privileges != Power
      MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} is installed for all users in$\r$\n$R0$\r$\n$\r$\nUninstall it as an administrator first, or install it for all users." /SD IDOK
      !insertmacro REFUSE "Nothing was changed: ${PRODUCT} is installed for all users in $R0."
    ${EndIf}
    !endif
    Call AskToClosePrograms
    ${If} $R1 != ""
      !insertmacro REFUSE "Nothing was changed: $R1 is running."
    ${EndIf}
  ${EndIf}
!macroend

; By its own uninstaller, which knows what it installed; run in place (_?=) so
; that it is waited for, which leaves the uninstaller itself to delete here.
!macro REMOVE_OLD_INSTALLATION ROOT MODE
  !insertmacro OLD_INSTALLATION ${ROOT} ${MODE}
  ${If} $R0 != ""
    DetailPrint "Removing ${PRODUCT} from $R0"
    ${If} ${FileExists} "$R0\uninstall.exe"
      ExecWait '"$R0\uninstall.exe" /${MODE} /S _?=$R0'
      ReadRegStr $0 ${ROOT} "${UNINSTALL_KEY}" InstallLocation
      ${If} $0 == ""
        Delete "$R0\uninstall.exe"
        RMDir "$R0"
      ${EndIf}
    ${Else}
      ; A folder deleted by hand leaves its entry, shortcut and association.
      !insertmacro SHELL_CONTEXT ${MODE}
      !insertmacro REMOVE_INSTALLATION
      ${If} $MultiUser.InstallMode == AllUsers
        !insertmacro SHELL_CONTEXT AllUsers
      ${Else}
        !insertmacro SHELL_CONTEXT CurrentUser
      ${EndIf}
    ${EndIf}
    ReadRegStr $0 ${ROOT} "${UNINSTALL_KEY}" InstallLocation
    ${If} $0 != ""
      MessageBox MB_OK|MB_ICONSTOP "${PRODUCT} could not be removed from$\r$\n$R0" /SD IDOK
      !insertmacro REFUSE "${PRODUCT} could not be removed from $R0."
    ${EndIf}
  ${EndIf}
!macroend

Section
  ; Everything that can refuse is asked before anything changes.
  StrCpy $R0 $INSTDIR
  Call AskToClosePrograms
  ${If} $R1 != ""
    !insertmacro REFUSE "Nothing was changed: $R1 is running."
  ${EndIf}
  !insertmacro CHECK_OLD_INSTALLATION HKLM AllUsers
  !insertmacro CHECK_OLD_INSTALLATION HKCU CurrentUser
  !insertmacro REMOVE_OLD_INSTALLATION HKLM AllUsers
  !insertmacro REMOVE_OLD_INSTALLATION HKCU CurrentUser

  SetOutPath "$INSTDIR"
  File "${STAGE}/zelusb.exe"
  File "${STAGE}/zeltool.exe"
  File "${STAGE}/ReadMe.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateShortCut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\zelusb.exe"

  ; SHCTX is HKLM or HKCU as MultiUser chose.
  WriteRegStr SHCTX "${CLASSES}\.zel" "" "${PROGID}"
  WriteRegStr SHCTX "${CLASSES}\${PROGID}" "" "${PRODUCT} data set"
  WriteRegStr SHCTX "${CLASSES}\${PROGID}\DefaultIcon" "" "$INSTDIR\zelusb.exe,0"
  WriteRegStr SHCTX "${CLASSES}\${PROGID}\shell\open\command" "" '"$INSTDIR\zelusb.exe" "%1"'
  ${NotifyShell_AssocChanged}

  WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayName "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" Publisher "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\zelusb.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" NoRepair 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" EstimatedSize $0
SectionEnd

Section Uninstall
  StrCpy $R0 $INSTDIR
  Call un.AskToClosePrograms
  ${If} $R1 != ""
    !insertmacro REFUSE "Nothing was changed: $R1 is running."
  ${EndIf}
  !insertmacro REMOVE_INSTALLATION
SectionEnd
