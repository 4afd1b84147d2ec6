; Zelvo's installer and uninstaller, one per architecture. Per user, without administrator
; rights, into %LOCALAPPDATA%\Programs\Zelvo: the dictionary ZELVO.TXT lives beside the
; program and must stay writable.
;
; scripts/package builds it (this file is UTF-8):
;   makensis -INPUTCHARSET UTF8 -DARCH=x86|x64 -DVERSION=a.b.c.d -DSTAGE=<folder>
;            -DICON=<zelvo.ico> -DOUTFILE=<setup.exe> installer/zelvo.nsi
; STAGE holds ZELVO.EXE, ZELVOD.DLL, ZELVOS.DLL, GUIDE.txt and LICENSE.txt.

!ifndef ARCH | VERSION | STAGE | ICON | OUTFILE
  !error "define ARCH, VERSION, STAGE, ICON and OUTFILE (see the head of this file)"
!endif

Unicode true
!if "${ARCH}" == "x64"
  Target amd64-unicode
!else if "${ARCH}" == "x86"
  Target x86-unicode
!else
  !error "ARCH is x86 or x64"
!endif

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "WinMessages.nsh"

; What the installer knows of the resident program: its window class, the tray menu's exit
; command (the one that saves the dictionary) and its files.
!define ZELVO_CLASS "zelvoclass"
!define IDM_EXIT 200
!define SEND_TIMEOUT_MS 10000
!define EXIT_WAIT_MS 20000
!define SYNCHRONIZE 0x00100000
!define WAIT_OBJECT_0 0

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvo"
!define UNINSTALLER "Uninstall.exe"
!define START_MENU_FOLDER "$SMPROGRAMS\Zelvo"
!define STARTUP_SHORTCUT "$SMSTARTUP\Zelvo.lnk"

Name "Zelvo"
OutFile "${OUTFILE}"
RequestExecutionLevel user
SetCompressor /SOLID lzma
InstallDir "$LOCALAPPDATA\Programs\Zelvo"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
ShowInstDetails show
ShowUninstDetails show
BrandingText "Zelvo ${VERSION} (${ARCH})"

VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=0 "ProductName" "Zelvo"
VIAddVersionKey /LANG=0 "FileDescription" "Zelvo ${ARCH} setup"
VIAddVersionKey /LANG=0 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=0 "LegalCopyright" "Copyright (c) 2026 Zelvo developers"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC
!define MUI_LANGDLL_REGISTRY_ROOT HKCU
!define MUI_LANGDLL_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MUI_LANGDLL_REGISTRY_VALUENAME "Installer Language"

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\ZELVO.EXE"
!define MUI_FINISHPAGE_RUN_TEXT "$(StartNowText)"
!define MUI_FINISHPAGE_SHOWREADME "$INSTDIR\GUIDE.txt"
!define MUI_FINISHPAGE_SHOWREADME_TEXT "$(ShowGuideText)"
!define MUI_FINISHPAGE_SHOWREADME_NOTCHECKED
!insertmacro MUI_PAGE_FINISH

!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES

; The first language is the one used when the user's language is neither of the two.
!insertmacro MUI_LANGUAGE "Japanese"
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_RESERVEFILE_LANGDLL

LangString ProgramSection ${LANG_JAPANESE} "Zelvo (必須)"
LangString ProgramSection ${LANG_ENGLISH} "Zelvo (required)"
LangString StartupSection ${LANG_JAPANESE} "サインイン時に Zelvo を起動する"
LangString StartupSection ${LANG_ENGLISH} "Start Zelvo at sign-in"
LangString StartNowText ${LANG_JAPANESE} "Zelvo を起動する"
LangString StartNowText ${LANG_ENGLISH} "Start Zelvo now"
LangString ShowGuideText ${LANG_JAPANESE} "ユーザーガイドを表示する"
LangString ShowGuideText ${LANG_ENGLISH} "Show the user guide"
LangString GuideShortcut ${LANG_JAPANESE} "Zelvo ユーザーガイド"
LangString GuideShortcut ${LANG_ENGLISH} "Zelvo user guide"
LangString EndingZelvo ${LANG_JAPANESE} "動いている Zelvo を終わらせています (辞書を保存します)..."
LangString EndingZelvo ${LANG_ENGLISH} "Ending the running Zelvo (its dictionary is saved)..."
LangString ZelvoDidNotEnd ${LANG_JAPANESE} "Zelvo が終わりませんでした。トレイメニューの「常駐解除」で Zelvo を終わらせてから、もう一度実行してください。"
LangString ZelvoDidNotEnd ${LANG_ENGLISH} "Zelvo did not end. End it with its tray menu's exit command, then run this again."
LangString UnProgramSection ${LANG_JAPANESE} "プログラム (必須)"
LangString UnProgramSection ${LANG_ENGLISH} "Program (required)"
LangString UnDictionarySection ${LANG_JAPANESE} "辞書も削除する (ZELVO.TXT, ZELVO.bak)"
LangString UnDictionarySection ${LANG_ENGLISH} "Also delete the dictionary (ZELVO.TXT, ZELVO.bak)"

; ---- ending a running Zelvo -------------------------------------------------------------

; Ends a running Zelvo the way its tray menu does, so that it saves its dictionary, and waits
; for its process to end: only then are the dictionary and the program files free. Aborts
; when Zelvo does not end, rather than replace or delete files it still uses.
!macro END_RUNNING_ZELVO prefix
Function ${prefix}EndRunningZelvo
  Push $0
  Push $1
  Push $2
  Push $3
  FindWindow $0 "${ZELVO_CLASS}"
  ${If} $0 <> 0
    DetailPrint "$(EndingZelvo)"
    StrCpy $1 0
    System::Call 'user32::GetWindowThreadProcessId(p r0, *i .r1) i'
    System::Call 'kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2'
    SendMessage $0 ${WM_COMMAND} ${IDM_EXIT} 0 /TIMEOUT=${SEND_TIMEOUT_MS}
    StrCpy $3 -1
    ${If} $2 P<> 0
      System::Call 'kernel32::WaitForSingleObject(p r2, i ${EXIT_WAIT_MS}) i .r3'
      System::Call 'kernel32::CloseHandle(p r2)'
    ${EndIf}
    FindWindow $0 "${ZELVO_CLASS}"
    ${If} $3 <> ${WAIT_OBJECT_0}
    ${OrIf} $0 <> 0
      DetailPrint "$(ZelvoDidNotEnd)"
      MessageBox MB_OK|MB_ICONSTOP "$(ZelvoDidNotEnd)" /SD IDOK
      SetErrorLevel 2
      Abort
    ${EndIf}
  ${EndIf}
  Pop $3
  Pop $2
  Pop $1
  Pop $0
FunctionEnd
!macroend
!insertmacro END_RUNNING_ZELVO ""
!insertmacro END_RUNNING_ZELVO "un."

; A library that the system loaded into other processes through the hook (the installer's
; own process included) stays mapped there after Zelvo ends: it can be renamed, though not
; overwritten or deleted. SET_ASIDE deletes the file or, failing that, moves it to a ".old"
; name in the temporary folder (in the program's folder when the temporary folder is on
; another drive); the ".old" files left in the program's folder go at the next install or
; uninstall.
!macro SET_ASIDE file
  Delete "$INSTDIR\${file}"
  ${If} ${FileExists} "$INSTDIR\${file}"
    System::Call 'kernel32::GetTickCount() i .r0'
    Rename "$INSTDIR\${file}" "$TEMP\${file}.$0.old"
    Rename "$INSTDIR\${file}" "$INSTDIR\${file}.$0.old"
  ${EndIf}
!macroend

!macro SET_ASIDE_PROGRAM
  Push $0
  Delete "$INSTDIR\*.old"
  !insertmacro SET_ASIDE "ZELVO.EXE"
  !insertmacro SET_ASIDE "ZELVOD.DLL"
  !insertmacro SET_ASIDE "ZELVOS.DLL"
  Pop $0
!macroend

; ---- installing --------------------------------------------------------------------------

Function .onInit
  !insertmacro MUI_LANGDLL_DISPLAY
FunctionEnd

Section "!$(ProgramSection)" SecProgram
  SectionIn RO
  Call EndRunningZelvo
  SetOutPath "$INSTDIR"
  !insertmacro SET_ASIDE_PROGRAM
  ; The program files only: ZELVO.TXT and ZELVO.bak, the user's dictionary, are never touched.
  File "${STAGE}\ZELVO.EXE"
  File "${STAGE}\ZELVOD.DLL"
  File "${STAGE}\ZELVOS.DLL"
  File "${STAGE}\GUIDE.txt"
  File "${STAGE}\LICENSE.txt"
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  CreateDirectory "${START_MENU_FOLDER}"
  CreateShortcut "${START_MENU_FOLDER}\Zelvo.lnk" "$INSTDIR\ZELVO.EXE"
  CreateShortcut "${START_MENU_FOLDER}\$(GuideShortcut).lnk" "$INSTDIR\GUIDE.txt"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Zelvo (${ARCH})"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Zelvo developers"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\ZELVO.EXE"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "$(StartupSection)" SecStartup
  SetOutPath "$INSTDIR"
  CreateShortcut "${STARTUP_SHORTCUT}" "$INSTDIR\ZELVO.EXE"
SectionEnd

; An upgrade without the sign-in choice removes the shortcut an earlier install made.
Section "-StartupOff"
  ${IfNot} ${SectionIsSelected} ${SecStartup}
    Delete "${STARTUP_SHORTCUT}"
  ${EndIf}
SectionEnd

; ---- uninstalling ------------------------------------------------------------------------


Section "!un.$(UnProgramSection)" UnSecProgram
  SectionIn RO
  Call un.EndRunningZelvo
  !insertmacro SET_ASIDE_PROGRAM
  Delete "$INSTDIR\GUIDE.txt"
  Delete "$INSTDIR\LICENSE.txt"
  Delete "$INSTDIR\${UNINSTALLER}"
  Delete "$INSTDIR\*.old"

  Delete "${STARTUP_SHORTCUT}"
  ; The guide's shortcut is named in the language of the install: every shortcut of the
  ; folder goes.
  Delete "${START_MENU_FOLDER}\*.lnk"
  RMDir "${START_MENU_FOLDER}"

  DeleteRegKey HKCU "${UNINSTALL_KEY}"
SectionEnd

; Unticked by default: the dictionary outlives the program unless the user asks otherwise.
Section /o "un.$(UnDictionarySection)" UnSecDictionary
  Delete "$INSTDIR\ZELVO.TXT"
  Delete "$INSTDIR\ZELVO.bak"
  Delete "$INSTDIR\ZELVO.tmp"
SectionEnd

; The folder goes only when nothing is left in it (a kept dictionary keeps it).
Section "-un.Folder"
  RMDir "$INSTDIR"
SectionEnd

; /DELETEDICTIONARY ticks the dictionary box, for a silent uninstall that leaves nothing.
Function un.onInit
  !insertmacro MUI_UNGETLANGUAGE
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/DELETEDICTIONARY" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecDictionary}
  ${EndIf}
FunctionEnd
