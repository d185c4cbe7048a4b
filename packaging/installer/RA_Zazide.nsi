; The RA_Zazide installer, one per architecture (makensis -DARCH=x86|x64, see CMakeLists.txt).
;
; Per user, without administrator rights: the driver saves its calibration, key layout and
; settings beside itself, so it goes where the user may write, %LOCALAPPDATA%\Programs\RA_Zazide
; (the user's own programs folder), and registers with Apps & features under HKCU.
;
; An install over an earlier one replaces the programs but writes the settings file and the
; data files only where they are missing: the user's calibration, key layout and choices stay
; byte for byte. The board's vendor library SIUSBXP.DLL is never shipped; the user copies the
; board's own into the program folder, and an install leaves one that is already there alone.
;
; School IT: RA_Zazide-setup-x86.exe /S installs silently, /D=C:\path (last, unquoted) chooses
; the folder; "%LOCALAPPDATA%\Programs\RA_Zazide\uninstall.exe" /S removes it silently.

Unicode true
!if "${ARCH}" == "x64"
  Target amd64-unicode
!endif

!define PRODUCT "RA_Zazide"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${PRODUCT}"
; The driver's main window, closed before its files are replaced or removed.
!define DRIVER_WINDOW_CLASS "RA_Zazide window class"
!define FOLDERID_UserProgramFiles {5CD7AEE2-2219-4A67-B85D-6C9CE15660CB}

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir ""
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
ManifestDPIAware true
BrandingText "${PRODUCT} ${VERSION} (${ARCH})"
ShowInstDetails show
ShowUninstDetails show

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=0 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=0 "FileDescription" "${PRODUCT} ${VERSION} setup (${ARCH})"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "${PRODUCT}"

!include MUI2.nsh
!include LogicLib.nsh

!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN "$INSTDIR\RA_Zazide.exe"
!define MUI_FINISHPAGE_TEXT "$(FinishText)"
!define MUI_FINISHPAGE_TEXT_LARGE

!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "SimpChinese"

LangString FinishText ${LANG_ENGLISH} "RA_Zazide is installed in $INSTDIR.$\r$\n$\r$\nThe board's own library SIUSBXP.DLL belongs in that folder too: copy it there from the board's disc if it is not there yet. RA_Zazide finds it within two seconds, even while it runs."
LangString FinishText ${LANG_SIMPCHINESE} "RA_Zazide 已安装到 $INSTDIR。$\r$\n$\r$\n白板自带的 SIUSBXP.DLL 也必须放在该文件夹中：如果还没有，请从白板的光盘复制过去。RA_Zazide 会在两秒内找到它，运行中也可以。"
LangString CaptureShortcut ${LANG_ENGLISH} "RA_Zazide board capture"
LangString CaptureShortcut ${LANG_SIMPCHINESE} "RA_Zazide 白板记录"
LangString NoVendorLibrary ${LANG_ENGLISH} "SIUSBXP.DLL is not in $INSTDIR yet: copy the board's own library there."
LangString NoVendorLibrary ${LANG_SIMPCHINESE} "$INSTDIR 中还没有 SIUSBXP.DLL：请把白板自带的库复制到那里。"

; Asks a running driver to exit (its menu's exit command runs on WM_CLOSE) and waits up to 5 s,
; so that its files can be replaced.
!macro CloseDriver un
Function ${un}CloseDriver
  StrCpy $1 0
  ${Do}
    FindWindow $0 "${DRIVER_WINDOW_CLASS}" ""
    ${If} $0 == 0
      ${Break}
    ${EndIf}
    ${If} $1 == 0
      DetailPrint "Closing the running RA_Zazide"
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    ${EndIf}
    Sleep 100
    IntOp $1 $1 + 1
  ${LoopUntil} $1 >= 50
  ; The window goes before the process has let go of its files.
  Sleep 500
FunctionEnd
!macroend
!insertmacro CloseDriver ""
!insertmacro CloseDriver "un."

Function .onInit
  SetShellVarContext current
  ; Neither /D= nor an earlier install chose the folder: the user's own programs folder.
  ${If} $INSTDIR == ""
    GetKnownFolderPath $INSTDIR ${FOLDERID_UserProgramFiles}
    ${If} $INSTDIR == ""
      StrCpy $INSTDIR "$LOCALAPPDATA\Programs"
    ${EndIf}
    StrCpy $INSTDIR "$INSTDIR\${PRODUCT}"
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext current
FunctionEnd

Section "RA_Zazide"
  SetOutPath "$INSTDIR"
  Call CloseDriver

  SetOverwrite on
  File "${BIN}\RA_Zazide.exe"
  File "${BIN}\razazide-record.exe"

  ; The user's once installed: written only when missing.
  SetOverwrite off
  File "${DATA}\VaziZod.ini"
  File "${DATA}\server.txt"
  File "${DATA}\server11.txt"
  File "${DATA}\server111.txt"
  File "${DATA}\server1111.txt"
  SetOverwrite on

  ${IfNot} ${FileExists} "$INSTDIR\SIUSBXP.DLL"
    DetailPrint "$(NoVendorLibrary)"
  ${EndIf}

  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk" "$INSTDIR\RA_Zazide.exe"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}\$(CaptureShortcut).lnk" "$INSTDIR\razazide-record.exe"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\RA_Zazide.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "${PRODUCT}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" ${SIZE_KB}
SectionEnd

Section "Uninstall"
  Call un.CloseDriver

  Delete "$INSTDIR\RA_Zazide.exe"
  Delete "$INSTDIR\razazide-record.exe"
  Delete "$INSTDIR\VaziZod.ini"
  Delete "$INSTDIR\server.txt"
  Delete "$INSTDIR\server11.txt"
  Delete "$INSTDIR\server111.txt"
  Delete "$INSTDIR\server1111.txt"
  ; The board's library, copied in by the user, goes with the program it served.
  Delete "$INSTDIR\SIUSBXP.DLL"
  Delete "$INSTDIR\uninstall.exe"
  ; Only an empty folder is removed: nothing the user put there is deleted unasked.
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\${PRODUCT}.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\RA_Zazide board capture.lnk"
  Delete "$SMPROGRAMS\${PRODUCT}\RA_Zazide 白板记录.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"
  ; The autostart shortcut: in the Startup folder, and where the driver itself looks for it.
  Delete "$SMSTARTUP\RA_Zazide.lnk"
  Delete "$SMPROGRAMS\启动\RA_Zazide.lnk"
  Delete "$SMPROGRAMS\Stratup\RA_Zazide.lnk"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd
