; Zelvo's installer and uninstaller, one per architecture. Per user, without administrator
; rights, into %LOCALAPPDATA%\Programs\Zelvo (or the folder chosen on the folder page or with
; /D=): the dictionary ZELVO.TXT lives beside the program and must stay writable. Both speak
; Japanese to a user whose Windows speaks Japanese, English to everyone else, without asking.
; An upgrade keeps the dictionary and the earlier choice about starting at sign-in, and a
; silent one starts Zelvo again when it was running.
;
; scripts/package builds it (this file is UTF-8):
;   makensis -INPUTCHARSET UTF8 -DARCH=x86|x64 -DVERSION=a.b.c.d -DSTAGE=<folder>
;            -DICON=<zelvo.ico> -DOUTFILE=<setup.exe> installer/zelvo.nsi
; STAGE holds ZELVO.EXE, ZELVOD.DLL, ZELVOS.DLL, GUIDE.txt and LICENSE.txt; for x64 also the
; 32-bit host ZELVO32.EXE and its hook library ZELVOS32.DLL, which bring Zelvo to the 32-bit
; applications. The x64 installer is the one for 64-bit Windows; the x86 one, for 32-bit
; Windows, says so when it runs on 64-bit Windows and offers to stop.

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
!include "Sections.nsh"
!include "WinMessages.nsh"
!include "x64.nsh"

; What the installer knows of the resident program: its window class, the tray menu's exit
; command (the one that saves the dictionary) and its files.
!define ZELVO_CLASS "zelvoclass"
!define IDM_EXIT 200
!define SEND_TIMEOUT_MS 10000
!define EXIT_WAIT_MS 20000
!define SYNCHRONIZE 0x00100000
!define WAIT_OBJECT_0 0
; The host ZELVO32.EXE owns this mutex for its whole life: a wait for it ends when the host does.
!define HOST_MUTEX "MUTEXZelvoHost32"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Zelvo"
!define RUN_ONCE_KEY "Software\Microsoft\Windows\CurrentVersion\RunOnce"
!define RUN_ONCE_VALUE "Zelvo set-aside copies"
!define LANG_ID_MASK 0x3FF
!define PRIMARY_LANG_JAPANESE 0x11
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

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_LICENSE "${STAGE}\LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
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

; The language follows the user's UI language (CHOOSE_LANGUAGE); English, the first, is also
; what any other language gets.
!insertmacro MUI_LANGUAGE "English"
!insertmacro MUI_LANGUAGE "Japanese"

; The version record, as Explorer shows it in the file's properties, in both languages.
VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
!macro VERSION_RECORD lang description
  VIAddVersionKey /LANG=${lang} "ProductName" "Zelvo"
  VIAddVersionKey /LANG=${lang} "FileDescription" "${description}"
  VIAddVersionKey /LANG=${lang} "CompanyName" "Zelvo developers"
  VIAddVersionKey /LANG=${lang} "FileVersion" "${VERSION}"
  VIAddVersionKey /LANG=${lang} "ProductVersion" "${VERSION}"
  VIAddVersionKey /LANG=${lang} "LegalCopyright" "Copyright (c) 2026 Zelvo developers"
!macroend
!insertmacro VERSION_RECORD ${LANG_JAPANESE} "Zelvo (${ARCH}) セットアップ: IME で確定した言葉を覚えて候補に出す常駐プログラム"
!insertmacro VERSION_RECORD ${LANG_ENGLISH} "Zelvo (${ARCH}) setup: remembers the words you commit with the IME and offers them again"

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
!if "${ARCH}" == "x86"
LangString WrongPackage ${LANG_JAPANESE} "これは 32 ビット Windows 用の Zelvo (x86 版) です。この Windows は 64 ビットなので、x64 版 (zelvo-${VERSION}-x64-setup.exe) を使ってください。x64 版は 64 ビットと 32 ビットのどちらのアプリケーションでも働きます。x86 版は 32 ビットのアプリケーションでしか働きません。$\r$\n$\r$\nインストールをやめますか?"
LangString WrongPackage ${LANG_ENGLISH} "This is Zelvo for 32-bit Windows (the x86 package). This Windows is 64-bit: use the x64 package (zelvo-${VERSION}-x64-setup.exe). It works in 64-bit and in 32-bit applications; the x86 package works in 32-bit applications only.$\r$\n$\r$\nStop this installation?"
!endif
LangString UnProgramSection ${LANG_JAPANESE} "プログラム (必須)"
LangString UnProgramSection ${LANG_ENGLISH} "Program (required)"
LangString UnDictionarySection ${LANG_JAPANESE} "辞書も削除する (ZELVO.TXT, ZELVO.bak)"
LangString UnDictionarySection ${LANG_ENGLISH} "Also delete the dictionary (ZELVO.TXT, ZELVO.bak)"

; ---- language -----------------------------------------------------------------------------

; Japanese when the user's UI language is Japanese (any region), English otherwise.
!macro CHOOSE_LANGUAGE
  System::Call 'kernel32::GetUserDefaultUILanguage() i .r0'
  IntOp $0 $0 & ${LANG_ID_MASK}
  ${If} $0 = ${PRIMARY_LANG_JAPANESE}
    StrCpy $LANGUAGE ${LANG_JAPANESE}
  ${Else}
    StrCpy $LANGUAGE ${LANG_ENGLISH}
  ${EndIf}
!macroend

; ---- ending a running Zelvo -------------------------------------------------------------

; 1 once EndRunningZelvo has ended a running Zelvo: a silent install starts it again.
Var ZelvoWasRunning

; The host ZELVO32.EXE ends by itself a moment after Zelvo: waited for (if one runs), so that
; its files are free. One that does not end in time leaves them to SET_ASIDE.
!macro WAIT_FOR_HOST
  System::Call 'kernel32::OpenMutexW(i ${SYNCHRONIZE}, i 0, w "${HOST_MUTEX}") p .r2'
  ${If} $2 P<> 0
    System::Call 'kernel32::WaitForSingleObject(p r2, i ${EXIT_WAIT_MS}) i'
    System::Call 'kernel32::CloseHandle(p r2)'
  ${EndIf}
!macroend

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
    !insertmacro WAIT_FOR_HOST
    FindWindow $0 "${ZELVO_CLASS}"
    ${If} $3 <> ${WAIT_OBJECT_0}
    ${OrIf} $0 <> 0
      DetailPrint "$(ZelvoDidNotEnd)"
      MessageBox MB_OK|MB_ICONSTOP "$(ZelvoDidNotEnd)" /SD IDOK
      SetErrorLevel 2
      Abort
    ${EndIf}
    StrCpy $ZelvoWasRunning 1
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
; another drive). Set-aside copies go at the next install or uninstall (SET_ASIDE_PROGRAM),
; at the next start of Zelvo, and at the next sign-in: an install that set one aside leaves
; a RunOnce entry that deletes them all.
Var SetAside  ; 1 once SET_ASIDE has renamed a file
!macro SET_ASIDE file
  Delete "$INSTDIR\${file}"
  ${If} ${FileExists} "$INSTDIR\${file}"
    System::Call 'kernel32::GetTickCount() i .r0'
    Rename "$INSTDIR\${file}" "$TEMP\${file}.$0.old"
    Rename "$INSTDIR\${file}" "$INSTDIR\${file}.$0.old"
    StrCpy $SetAside 1
  ${EndIf}
!macroend

; The set-aside copies of every earlier install, in both folders they may be in.
!macro DELETE_SET_ASIDE_COPIES
  Delete "$INSTDIR\*.old"
  Delete "$TEMP\ZELVO.EXE.*.old"
  Delete "$TEMP\ZELVOD.DLL.*.old"
  Delete "$TEMP\ZELVOS.DLL.*.old"
  Delete "$TEMP\ZELVO32.EXE.*.old"
  Delete "$TEMP\ZELVOS32.DLL.*.old"
!macroend

; The command of the RunOnce entry: cmd's del with the patterns above (names of files only,
; so nothing but set-aside copies goes).
!define SET_ASIDE_PATTERNS '"$TEMP\ZELVO.EXE.*.old" "$TEMP\ZELVOD.DLL.*.old" "$TEMP\ZELVOS.DLL.*.old" "$TEMP\ZELVO32.EXE.*.old" "$TEMP\ZELVOS32.DLL.*.old" "$INSTDIR\ZELVO.EXE.*.old" "$INSTDIR\ZELVOD.DLL.*.old" "$INSTDIR\ZELVOS.DLL.*.old" "$INSTDIR\ZELVO32.EXE.*.old" "$INSTDIR\ZELVOS32.DLL.*.old"'
!define DELETE_AT_SIGN_IN '"$SYSDIR\cmd.exe" /d /c del /f /q ${SET_ASIDE_PATTERNS} 2>nul'

!macro SET_ASIDE_PROGRAM
  Push $0
  StrCpy $SetAside 0
  !insertmacro DELETE_SET_ASIDE_COPIES
  !insertmacro SET_ASIDE "ZELVO.EXE"
  !insertmacro SET_ASIDE "ZELVOD.DLL"
  !insertmacro SET_ASIDE "ZELVOS.DLL"
  ; The host's files of an x64 install go too: an x86 install over one has no host.
  !insertmacro SET_ASIDE "ZELVO32.EXE"
  !insertmacro SET_ASIDE "ZELVOS32.DLL"
  Pop $0
!macroend

; ---- installing --------------------------------------------------------------------------

Section "!$(ProgramSection)" SecProgram
  SectionIn RO
  Call EndRunningZelvo
  SetOutPath "$INSTDIR"
  !insertmacro SET_ASIDE_PROGRAM
  ${If} $SetAside = 1
    WriteRegStr HKCU "${RUN_ONCE_KEY}" "${RUN_ONCE_VALUE}" '${DELETE_AT_SIGN_IN}'
  ${EndIf}
  ; The program files only: ZELVO.TXT and ZELVO.bak, the user's dictionary, are never touched.
  File "${STAGE}\ZELVO.EXE"
  File "${STAGE}\ZELVOD.DLL"
  File "${STAGE}\ZELVOS.DLL"
!if "${ARCH}" == "x64"
  File "${STAGE}\ZELVO32.EXE"
  File "${STAGE}\ZELVOS32.DLL"
!endif
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

; The x86 package on 64-bit Windows: the x64 one is the right one there, and the user may stop
; (Yes). No goes on, and so does a silent install.
!macro OFFER_X64_PACKAGE
!if "${ARCH}" == "x86"
  ${If} ${IsWow64}
    MessageBox MB_YESNO|MB_ICONEXCLAMATION|MB_DEFBUTTON1 "$(WrongPackage)" /SD IDNO IDNO +2
    Abort
  ${EndIf}
!endif
!macroend

; The user's language; the right package for this Windows; and on an upgrade the choice of
; the earlier install, offered on the components page and kept by /S: Zelvo starts at sign-in
; only if the shortcut is still there, whether the user unticked it then or removed it since.
Function .onInit
  !insertmacro CHOOSE_LANGUAGE
  !insertmacro OFFER_X64_PACKAGE
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIfNot} ${FileExists} "${STARTUP_SHORTCUT}"
    !insertmacro UnselectSection ${SecStartup}
  ${EndIf}
FunctionEnd

; A silent upgrade leaves Zelvo as it found it: running again if it ran. (An interactive one
; offers to start it on its last page.)
Function .onInstSuccess
  ${If} ${Silent}
  ${AndIf} $ZelvoWasRunning = 1
    Exec '"$INSTDIR\ZELVO.EXE"'
  ${EndIf}
FunctionEnd

; ---- uninstalling ------------------------------------------------------------------------

; The uninstaller runs from a copy of itself in a "~nsu" folder of the temporary folder,
; which cannot delete itself. At the next sign-in RunOnce entries remove the set-aside copies
; and the program's folder if nothing is left in it, and, in an entry of its own for each
; uninstall (another may follow before the sign-in), that folder.
Function un.DeleteAtSignIn
  Push $0
  WriteRegStr HKCU "${RUN_ONCE_KEY}" "${RUN_ONCE_VALUE}" '${DELETE_AT_SIGN_IN} & rmdir "$INSTDIR" 2>nul'
  ${GetFileName} "$EXEDIR" $0
  StrCpy $0 $0 4
  ${If} $0 == "~nsu"
  ${AndIf} $EXEDIR != $INSTDIR
    ${GetFileName} "$EXEDIR" $0
    WriteRegStr HKCU "${RUN_ONCE_KEY}" "Zelvo uninstaller $0" '"$SYSDIR\cmd.exe" /d /c rmdir /s /q "$EXEDIR" 2>nul'
  ${EndIf}
  Pop $0
FunctionEnd


Section "!un.$(UnProgramSection)" UnSecProgram
  SectionIn RO
  Call un.EndRunningZelvo
  !insertmacro SET_ASIDE_PROGRAM
  Call un.DeleteAtSignIn
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
  !insertmacro CHOOSE_LANGUAGE
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/DELETEDICTIONARY" $1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${UnSecDictionary}
  ${EndIf}
FunctionEnd
