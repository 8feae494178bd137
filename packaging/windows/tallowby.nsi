; The Windows installer: Tallowby's program folder under Program Files for every user of the machine,
; a Start menu shortcut and an entry among the installed programs; its uninstaller takes all of that
; away again together with Tallowby's block of the hosts file and its "Start with Windows" value.
; The user's rules (in %APPDATA%\Tallowby) are the user's: neither touches them.
;
; Made by scripts/package-windows.sh, which passes:
;   VERSION        the program's version (CMake's project version)
;   OUTFILE        the installer to make
;   HELPER         tallowby-setup-helper.exe (ends running copies, lifts the hosts block)
;   INSTALL_LIST   an include file installing the program folder's files, one File line each
;   UNINSTALL_LIST an include file deleting those very files and their folders, deepest first
;   SIZE_KB        the program folder's size, for the installed programs list

Unicode true
; A 32-bit installer does nothing under a 64-bit Windows without its 32-bit side, and would see the
; 32-bit views of Program Files and the registry.
Target amd64-unicode
SetCompressor /SOLID lzma

!include "LogicLib.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Tallowby"
!define RUN_KEY "Software\Microsoft\Windows\CurrentVersion\Run"
!define SHORTCUT "$SMPROGRAMS\Tallowby.lnk"

Name "Tallowby"
OutFile "${OUTFILE}"
; Tallowby writes the hosts file and the machine's Run key: it is installed for the machine, by an
; administrator.
RequestExecutionLevel admin
InstallDir "$PROGRAMFILES64\Tallowby"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Tallowby"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Tallowby ${VERSION} setup"
VIAddVersionKey "CompanyName" "Tallowby developers"
VIAddVersionKey "LegalCopyright" "2026 Tallowby developers"

Page directory
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; Where the account control is off, an ordinary user's setup would start and then fail on every file.
!macro RequireAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "Tallowby is set up for every user of this computer: run this as an administrator." /SD IDOK
    ; ERROR_ELEVATION_REQUIRED
    SetErrorLevel 740
    Quit
  ${EndIf}
  SetRegView 64
  SetShellVarContext all
!macroend

Function .onInit
  !insertmacro RequireAdministrator
FunctionEnd

Function un.onInit
  !insertmacro RequireAdministrator
FunctionEnd

; Ends the copies of Tallowby (and its log-on companion) that run from the installation folder: a
; running program keeps its files from being replaced or deleted, and would write its block of the
; hosts file again after the uninstaller lifted it.
!macro EndRunningPrograms
  DetailPrint "Ending Tallowby where it runs from $INSTDIR"
  nsExec::ExecToStack '"$PLUGINSDIR\tallowby-setup-helper.exe" end-programs "$INSTDIR"'
  Pop $0
  Pop $1
  ${If} $0 != 0
    DetailPrint "$1"
  ${EndIf}
!macroend

Section "Tallowby"
  InitPluginsDir
  SetOutPath "$PLUGINSDIR"
  File "/oname=tallowby-setup-helper.exe" "${HELPER}"
  !insertmacro EndRunningPrograms

  !include "${INSTALL_LIST}"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  SetOutPath "$INSTDIR"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\tallowby.exe" "" "$INSTDIR\icon\t64.ico" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Tallowby"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tallowby developers"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\icon\t64.ico"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

; Deletes the "Start with Windows" value of a registry root when it starts a program of this
; installation; one naming another copy of Tallowby is that copy's.
!macro DeleteRunValue ROOT
  ClearErrors
  ReadRegStr $0 ${ROOT} "${RUN_KEY}" "Tallowby"
  ${IfNot} ${Errors}
    ; The command may be quoted.
    StrCpy $1 $0 1
    ${If} $1 == '"'
      StrCpy $0 $0 "" 1
    ${EndIf}
    StrLen $2 "$INSTDIR\"
    StrCpy $1 $0 $2
    ; StrCmp, and so ==, ignores case, as Windows does in paths.
    ${If} $1 == "$INSTDIR\"
      DeleteRegValue ${ROOT} "${RUN_KEY}" "Tallowby"
      DetailPrint "Tallowby no longer starts with Windows (${ROOT})"
    ${EndIf}
  ${EndIf}
!macroend

Section "Uninstall"
  InitPluginsDir
  SetOutPath "$PLUGINSDIR"
  File "/oname=tallowby-setup-helper.exe" "${HELPER}"
  !insertmacro EndRunningPrograms

  !insertmacro DeleteRunValue HKLM
  !insertmacro DeleteRunValue HKCU

  Delete "${SHORTCUT}"
  !include "${UNINSTALL_LIST}"
  Delete "$INSTDIR\uninstall.exe"
  ; Only when empty: whatever else is there was not installed here.
  RMDir "$INSTDIR"

  ; Once no copy runs that could write it again, no website stays blocked by a program that is gone.
  DetailPrint "Lifting Tallowby's website blocks from the hosts file"
  nsExec::ExecToStack '"$PLUGINSDIR\tallowby-setup-helper.exe" lift-hosts'
  Pop $0
  Pop $1
  ${If} $0 != 0
    DetailPrint "$1"
    MessageBox MB_OK|MB_ICONEXCLAMATION "The hosts file could not be rewritten: $1$\r$\n$\r$\nRemove the lines from $\"# BEGIN Tallowby blocked sites$\" to $\"# END Tallowby blocked sites$\" from it by hand." /SD IDOK
  ${EndIf}

  ; Last: while it is there, an uninstall that was cut short can be run again.
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  SetOutPath "$TEMP"
SectionEnd
