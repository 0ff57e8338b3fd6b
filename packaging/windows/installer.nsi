; The Windows installer of QL540 CPS (NSIS 3, made by
; scripts/windows-package.sh, which defines VERSION, STAGE, FILES, ICON and
; OUTFILE). 64-bit Windows 10/11; texts in Chinese and English; silent
; with /S (then in the system's language).
Unicode true
; A 64-bit installer for a 64-bit program (it also runs where only 64-bit
; programs do, as under a 64-bit Wine).
Target amd64-unicode
SetCompressor /SOLID lzma

!include "MUI2.nsh"
!include "FileFunc.nsh"

!define PRODUCT "QL540 CPS"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\QL540 CPS"
!define FILE_CLASS "QL540CPS.chann"

Name "${PRODUCT} ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\${PRODUCT}"
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"
RequestExecutionLevel admin
BrandingText "${PRODUCT} ${VERSION}"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_LANGDLL_ALLLANGUAGES
!define MUI_FINISHPAGE_RUN "$INSTDIR\ql540-cps.exe"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "SimpChinese"
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_RESERVEFILE_LANGDLL

LangString ProgramLink ${LANG_SIMPCHINESE} "QL540 写频软件"
LangString ProgramLink ${LANG_ENGLISH} "QL540 CPS"
LangString UninstallLink ${LANG_SIMPCHINESE} "卸载 QL540 写频软件"
LangString UninstallLink ${LANG_ENGLISH} "Uninstall QL540 CPS"
LangString FileType ${LANG_SIMPCHINESE} "QL540 信道文件"
LangString FileType ${LANG_ENGLISH} "QL540 channel file"

Function .onInit
  SetRegView 64
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Function un.onInit
  SetRegView 64
  !insertmacro MUI_UNGETLANGUAGE
FunctionEnd

Section "Install"
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  !include "${FILES}.install.nsh"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  CreateDirectory "$SMPROGRAMS\${PRODUCT}"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\$(ProgramLink).lnk" "$INSTDIR\ql540-cps.exe"
  CreateShortCut "$SMPROGRAMS\${PRODUCT}\$(UninstallLink).lnk" "$INSTDIR\uninstall.exe"

  ; Double-clicking a channel file opens it in the program.
  WriteRegStr HKLM "Software\Classes\.chann" "" "${FILE_CLASS}"
  WriteRegStr HKLM "Software\Classes\${FILE_CLASS}" "" "$(FileType)"
  WriteRegStr HKLM "Software\Classes\${FILE_CLASS}\DefaultIcon" "" "$INSTDIR\ql540-cps.exe,0"
  WriteRegStr HKLM "Software\Classes\${FILE_CLASS}\shell\open\command" "" '"$INSTDIR\ql540-cps.exe" "%1"'
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  ; Apps & features
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ql540-cps.exe,0"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  SetShellVarContext all
  ; Only what the installer put there: the folder may hold the user's files.
  !include "${FILES}.uninstall.nsh"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"

  Delete "$SMPROGRAMS\${PRODUCT}\*.lnk"
  RMDir "$SMPROGRAMS\${PRODUCT}"

  ; The association, unless another program has taken it since.
  ReadRegStr $0 HKLM "Software\Classes\.chann" ""
  StrCmp $0 "${FILE_CLASS}" 0 +2
    DeleteRegKey HKLM "Software\Classes\.chann"
  DeleteRegKey HKLM "Software\Classes\${FILE_CLASS}"
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'

  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
