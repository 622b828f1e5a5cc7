; Tolvane's installer for 64-bit Windows: Tolvane.exe, TolvaneBench.exe (the production line in a
; window) and tolvane-provision.exe (the production line, run from a console by its full path: the
; installer leaves PATH alone) under Program Files for
; every user, or in the user's own programs folder without administrator rights (/CurrentUser, or the first page), with a
; Start-menu shortcut for each window, an uninstaller and an entry under Apps. It speaks English or Simplified
; Chinese, as the system does. /S installs and uninstalls silently.
; makensis (absolute paths) -DVERSION=1.0.0.1 -DVERSION_NUMBERS=1.0.0.1 -DEXE=Tolvane.exe
;                           -DPROVISION_EXE=tolvane-provision.exe -DBENCH_EXE=TolvaneBench.exe
;                           -DICON=tolvane.ico
;                           -DOUTFILE=Tolvane-1.0.0.1-setup.exe Tolvane.nsi
Target amd64-unicode
SetCompressor /SOLID lzma
ManifestDPIAware true

!define PRODUCT Tolvane
!define PUBLISHER "Tolvane developers"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"

; The program's version record must say what the installer says.
!getdllversion "${EXE}" exe_
!if "${exe_1}.${exe_2}.${exe_3}.${exe_4}" != "${VERSION_NUMBERS}"
  !error "${EXE} says version ${exe_1}.${exe_2}.${exe_3}.${exe_4} in its version record, not ${VERSION_NUMBERS}"
!endif

Name "${PRODUCT}"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_USE_PROGRAMFILES64
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
; An update goes where the last install went, in the same mode.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME InstallLocation
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME InstallLocation
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\Tolvane.exe"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
; The installer picks the one the system speaks; the first serves every other system.
!insertmacro MUI_LANGUAGE English
!insertmacro MUI_LANGUAGE SimpChinese

VIProductVersion ${VERSION_NUMBERS}
VIFileVersion ${VERSION_NUMBERS}
VIAddVersionKey /LANG=${LANG_ENGLISH} ProductName "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} ProductVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} FileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} FileDescription "${PRODUCT} Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} CompanyName "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} LegalCopyright "Copyright 2026 ${PUBLISHER}"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section
  SetOutPath "$INSTDIR"
  File "${EXE}"
  File "${PROVISION_EXE}"
  File "${BENCH_EXE}"
  WriteUninstaller "$INSTDIR\Uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\Tolvane.exe"
  CreateShortcut "$SMPROGRAMS\TolvaneBench.lnk" "$INSTDIR\TolvaneBench.exe"

  ; Under HKLM or HKCU, as the install mode is; the uninstaller is told the mode.
  WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayName "${PRODUCT}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayVersion "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" Publisher "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" DisplayIcon "$INSTDIR\Tolvane.exe"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" InstallLocation "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" UninstallString '"$INSTDIR\Uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" QuietUninstallString '"$INSTDIR\Uninstall.exe" /S /$MultiUser.InstallMode'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" NoModify 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" NoRepair 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" EstimatedSize $0
SectionEnd

Section Uninstall
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\TolvaneBench.lnk"
  Delete "$INSTDIR\Tolvane.exe"
  Delete "$INSTDIR\tolvane-provision.exe"
  Delete "$INSTDIR\TolvaneBench.exe"
  Delete "$INSTDIR\Uninstall.exe"
  ; Only when empty: the folder may hold the user's own files.
  RMDir "$INSTDIR"
  ; The per-user programs folder too, when nothing else is in it.
  ${If} $MultiUser.InstallMode == CurrentUser
    ; FOLDERID_UserProgramFiles, or where MultiUser.nsh falls back to when the system has none.
    GetKnownFolderPath $0 {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}
    ${If} $0 == ""
      StrCpy $0 "$LOCALAPPDATA\Programs"
    ${EndIf}
    ${If} "$INSTDIR" == "$0\${PRODUCT}"
      RMDir "$0"
    ${EndIf}
  ${EndIf}
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ; HKCU\Software\Tolvane, the device Tolvane.exe remembers, is the user's and stays.
SectionEnd
