; The installer of the Windows build: per user, no administrator. It puts the programs under
; the user's local programs folder, a Start-menu entry, optionally a desktop shortcut, and an
; uninstall entry for the current user. The uninstaller keeps the draw archive and the
; settings unless the player ticks that they go too (or passes /REMOVEDATA). /S installs and
; uninstalls silently. Made by package-windows.sh:
;   makensis -DFACTS=<zuohao-product.nsh> -DFILES=<files.nsh> -DOUTFILE=<setup.exe>
;            [-DSIGN=<command that signs the file named after it>] zuohao.nsi
; FACTS (from the CMake build) defines the version, the names, the icon and the oldest Windows;
; FILES the macros InstallFiles and RemoveFiles, one line for each file of the program's folder.
Unicode true
Target amd64-unicode
ManifestDPIAware true
ManifestSupportedOS all
RequestExecutionLevel user
SetCompressor /SOLID lzma
; The release name ends in -setup.exe, which makensis warns about (Windows guesses installers
; by name); the manifest's requested execution level (user) is what Windows goes by.
!pragma warning disable 9000

!include "${FACTS}"
!include "${FILES}"
!include MUI2.nsh
!include LogicLib.nsh
!include nsDialogs.nsh
!include FileFunc.nsh
!include WinVer.nsh

!ifdef SIGN
!finalize '${SIGN} "%1"' = 0
!uninstfinalize '${SIGN} "%1"' = 0
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\zuohao"
!define SHORTCUT "${ZUOHAO_NAME_ZH}.lnk"
; Where the program keeps the draw archive and, when C:\ cannot be written, its settings.
!define DATA_DIR "$LOCALAPPDATA\zuohao"
; The settings it shares with the old program: the draw file's path and the transfer delay.
!define INI_FILE "C:\zelkwt.ini"
!define DELAY_KEY "Software\VB and VBA Program Settings\分分彩"

Name "${ZUOHAO_NAME_ZH} ${ZUOHAO_VERSION}"
OutFile "${OUTFILE}"
InstallDir "$LOCALAPPDATA\Programs\zuohao"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "${ZUOHAO_NAME_ZH} ${ZUOHAO_VERSION}"

VIProductVersion "${ZUOHAO_WIN_VERSION}"
VIFileVersion "${ZUOHAO_WIN_VERSION}"
VIAddVersionKey /LANG=2052 "ProductName" "${ZUOHAO_NAME_ZH}"
VIAddVersionKey /LANG=2052 "FileDescription" "${ZUOHAO_NAME_ZH} 安装程序"
VIAddVersionKey /LANG=2052 "CompanyName" "${ZUOHAO_PUBLISHER}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "${ZUOHAO_COPYRIGHT_ZH}"
VIAddVersionKey /LANG=2052 "FileVersion" "${ZUOHAO_VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${ZUOHAO_VERSION}"

!define MUI_ICON "${ZUOHAO_ICON}"
!define MUI_UNICON "${ZUOHAO_ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_FINISHPAGE_RUN "$INSTDIR\zuohao.exe"
!define MUI_FINISHPAGE_RUN_TEXT "启动${ZUOHAO_NAME_ZH}"

!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
UninstPage custom un.DataPage un.DataPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"

Var RemoveData
Var RemoveDataBox

Function .onInit
  ${IfNot} ${AtLeastBuild} ${ZUOHAO_OLDEST_WINDOWS_BUILD}
    MessageBox MB_YESNO|MB_ICONEXCLAMATION \
      "${ZUOHAO_NAME_ZH} 需要 ${ZUOHAO_OLDEST_WINDOWS} 或更新的 64 位 Windows。仍然安装吗？" \
      /SD IDYES IDYES +2
    Abort
  ${EndIf}
FunctionEnd

Section "-程序"
  SectionIn RO
  SetOutPath "$INSTDIR"
  !insertmacro InstallFiles
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${SHORTCUT}" "$INSTDIR\zuohao.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${ZUOHAO_NAME_ZH} (${ZUOHAO_NAME_EN})"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${ZUOHAO_VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${ZUOHAO_PUBLISHER}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\zuohao.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "桌面快捷方式"
  CreateShortcut "$DESKTOP\${SHORTCUT}" "$INSTDIR\zuohao.exe"
SectionEnd

Function un.onInit
  StrCpy $RemoveData 0
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVEDATA" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveData 1
  ${EndIf}
FunctionEnd

Function un.DataPage
  !insertmacro MUI_HEADER_TEXT "历史库和设置" "卸载程序默认保留开奖历史库和设置，以后重新安装仍可使用。"
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 36u "历史库和设置保存在$\r$\n${DATA_DIR}、${INI_FILE} 和注册表中。"
  Pop $0
  ${NSD_CreateCheckbox} 0 44u 100% 12u "同时删除开奖历史库和设置"
  Pop $RemoveDataBox
  ${If} $RemoveData == 1
    ${NSD_Check} $RemoveDataBox
  ${EndIf}
  nsDialogs::Show
FunctionEnd

Function un.DataPageLeave
  ${NSD_GetState} $RemoveDataBox $RemoveData
  ${If} $RemoveData == ${BST_CHECKED}
    StrCpy $RemoveData 1
  ${Else}
    StrCpy $RemoveData 0
  ${EndIf}
FunctionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${SHORTCUT}"
  Delete "$DESKTOP\${SHORTCUT}"
  ; Only the files the installer put there: a folder the player chose may hold others.
  !insertmacro RemoveFiles
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${If} $RemoveData == 1
    RMDir /r "${DATA_DIR}"
    DeleteINIStr "${INI_FILE}" "网址" "zelkc"
    DeleteRegValue HKCU "${DELAY_KEY}\采集" "延时"
    DeleteRegKey /ifempty HKCU "${DELAY_KEY}\采集"
    DeleteRegKey /ifempty HKCU "${DELAY_KEY}"
  ${EndIf}
SectionEnd
