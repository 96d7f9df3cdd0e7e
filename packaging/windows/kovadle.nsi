; Kovadle's Windows installer. scripts/windows/package.sh builds it with makensis and
; passes VERSION, VERSION_NUMERIC (four numbers), OUTFILE and LIST_DIR, the folder of
; the generated lists of the program's files (install-files.nsh, uninstall-files.nsh).
;
; For all users (Program Files; the default for an administrator) or only the current
; one (%LOCALAPPDATA%\Programs). Unattended:
;   Kovadle-Setup-<version>.exe /S [/AllUsers | /CurrentUser] [/D=C:\some folder]
;   uninstall.exe /S [/AllUsers | /CurrentUser]
; (/D= comes last and is not quoted, even with spaces). Exit code 0 when done, 2 when
; Kovadle kept running (nothing was changed then).
; The uninstaller removes exactly what was installed; the user's data (the per-user
; folder "kovadle" in %LOCALAPPDATA%, the output folder) is never touched.

Unicode true
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT "Kovadle"
!define APP_KEY "Software\Kovadle"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Kovadle"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
; An update goes where the previous version is, in the same mode.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${APP_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallDir"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${APP_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!include MultiUser.nsh
!include MUI2.nsh
!include LogicLib.nsh
!include FileFunc.nsh

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\kovadle.exe"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

; The program speaks Chinese unless told otherwise; so does its installer, unless
; Windows' own language is English.
!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"

LangString ProgramRunning ${LANG_SIMPCHINESE} "Kovadle 正在运行。请先关闭 Kovadle（以及正在运行的 kovadle-cli），然后点“重试”。"
LangString ProgramRunning ${LANG_ENGLISH} "Kovadle is running. Close Kovadle (and any kovadle-cli that runs), then choose Retry."
LangString ProgramStillRunning ${LANG_SIMPCHINESE} "Kovadle 仍在运行，未做任何更改。"
LangString ProgramStillRunning ${LANG_ENGLISH} "Kovadle is still running; nothing was changed."
LangString PreviousNotRemoved ${LANG_SIMPCHINESE} "无法移除之前安装的版本："
LangString PreviousNotRemoved ${LANG_ENGLISH} "The previously installed version could not be removed:"

VIProductVersion "${VERSION_NUMERIC}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} ${VERSION} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "${PRODUCT}"

; Waits until no Kovadle program of $INSTDIR runs: a running program's file cannot be
; replaced or removed, and a half-replaced program would start no more. Windows refuses
; to open a running program's file for writing, which is the test. The new-version offer
; starts the installer and then ends the program, so a short wait is normal.
!macro WAIT_FOR_PROGRAM_END UN
Function ${UN}WaitForProgramEnd
  Push $0
  Push $1
  Push $2
  StrCpy $1 0
  check:
    StrCpy $2 ""
    ${If} ${FileExists} "$INSTDIR\kovadle.exe"
      ClearErrors
      FileOpen $0 "$INSTDIR\kovadle.exe" a
      ${If} ${Errors}
        StrCpy $2 "kovadle.exe"
      ${Else}
        FileClose $0
      ${EndIf}
    ${EndIf}
    ${If} ${FileExists} "$INSTDIR\kovadle-cli.exe"
      ClearErrors
      FileOpen $0 "$INSTDIR\kovadle-cli.exe" a
      ${If} ${Errors}
        StrCpy $2 "kovadle-cli.exe"
      ${Else}
        FileClose $0
      ${EndIf}
    ${EndIf}
    ${If} $2 != ""
      IntOp $1 $1 + 1
      ${If} $1 < 20
        Sleep 500
        Goto check
      ${EndIf}
      MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(ProgramRunning)" /SD IDCANCEL IDRETRY again
      DetailPrint "$(ProgramStillRunning) ($2)"
      Abort "$(ProgramStillRunning)"
      again:
      StrCpy $1 0
      Goto check
    ${EndIf}
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro WAIT_FOR_PROGRAM_END ""
!insertmacro WAIT_FOR_PROGRAM_END "un."

; An earlier installation in this mode is removed by its own uninstaller first, so no
; file of it outlives the update. Only the folder the registry names: a folder the user
; chose may hold another program's uninstall.exe.
Function RemovePrevious
  ReadRegStr $0 SHCTX "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 == ""
  ${OrIfNot} ${FileExists} "$0\uninstall.exe"
    Return
  ${EndIf}
  ; _?= keeps it in place, so that ExecWait waits for it.
  ExecWait '"$0\uninstall.exe" /S /$MultiUser.InstallMode _?=$0' $1
  ${If} $1 != 0
    Abort "$(PreviousNotRemoved) $0"
  ${EndIf}
  Delete "$0\uninstall.exe"
  RMDir "$0"
FunctionEnd

Function .onInit
  ; /D= has set $INSTDIR already; the install mode's default folder must not replace it.
  StrCpy $0 $INSTDIR
  !insertmacro MULTIUSER_INIT
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "${PRODUCT}"
  SectionIn RO
  Call WaitForProgramEnd
  Call RemovePrevious

  !include "${LIST_DIR}/install-files.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  ; Started from a shortcut, the program's working folder is its own.
  SetOutPath "$INSTDIR"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\kovadle.exe"
  CreateShortcut "$DESKTOP\${PRODUCT}.lnk" "$INSTDIR\kovadle.exe"

  WriteRegStr SHCTX "${APP_KEY}" "InstallDir" "$INSTDIR"
  WriteRegStr SHCTX "${APP_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\kovadle.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Call un.WaitForProgramEnd
  !include "${LIST_DIR}/uninstall-files.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$DESKTOP\${PRODUCT}.lnk"
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  DeleteRegValue SHCTX "${APP_KEY}" "InstallDir"
  DeleteRegValue SHCTX "${APP_KEY}" "InstallMode"
  DeleteRegKey /ifempty SHCTX "${APP_KEY}"
SectionEnd
