; The installer: the program under Program Files, its events in the user's Documents.
; makensis -DVERSION=… -DPROGRAM=folder -DDEMO=folder -DICON=file.ico -DOUTFILE=setup.exe
; 64-bit stubs: the program is 64-bit, and so is every Windows it runs on.
Target amd64-unicode
!include "MUI2.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\prizedraw"

Name "prizedraw 抽奖 ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\prizedraw"
RequestExecutionLevel admin
SetCompressor /SOLID lzma

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Section "prizedraw"
  SetShellVarContext current
  SetRegView 64
  SetOutPath "$INSTDIR"
  File /r "${PROGRAM}\*"
  File "/oname=prizedraw.ico" "${ICON}"
  ; The program's folder is not writable: events live in Documents, where the program makes
  ; new ones too. A demo already there may hold the user's own draws and is left as it is.
  IfFileExists "$DOCUMENTS\prizedraw\示例活动\data\*.*" demo_ready
  SetOutPath "$DOCUMENTS\prizedraw\示例活动"
  File /r "${DEMO}\*"
demo_ready:
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\prizedraw"
  ; Without a folder the program opens its event chooser, which lists the events in Documents.
  CreateShortCut "$SMPROGRAMS\prizedraw\抽奖.lnk" "$INSTDIR\prizedraw.exe" "" "$INSTDIR\prizedraw.ico"
  CreateShortCut "$SMPROGRAMS\prizedraw\卸载抽奖.lnk" "$INSTDIR\uninstall.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "prizedraw 抽奖"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\prizedraw.ico"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes the program only: the events in Documents hold the draws' results.
Section "Uninstall"
  SetShellVarContext current
  SetRegView 64
  RMDir /r "$SMPROGRAMS\prizedraw"
  RMDir /r "$INSTDIR"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
