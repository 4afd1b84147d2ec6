// The package test's hands inside Wine: starts the installed ZELVO.EXE, plays the hook to
// make it remember a word and to look words up, ends it the way the tray menu does, reads the
// uninstall key, the RunOnce entries and a file's version record, and reads the first window
// of a program (the installer). Paths and texts go through the wide calls: the user name and
// the install folder may hold characters outside the ANSI code page. Output is UTF-8.
// One command per run; exit code 0 when the command did what it says, otherwise a message
// on the standard error and a non-zero code.
//   zelvo_probe start                  start ZELVO.EXE of the folder in the uninstall key (or
//                                      %LOCALAPPDATA%\Programs\Zelvo), wait until resident
//   zelvo_probe resident               wait until a Zelvo started by someone else is resident
//   zelvo_probe register WORD READING  remember the pair (arguments as the user types them)
//   zelvo_probe candidates READING     print the candidate lines for the reading, one a line
//   zelvo_probe exit                   IDM_EXIT to the "zelvoclass" window, wait for the process
//   zelvo_probe running                0 while a ZELVO.EXE process runs, 1 when none does
//   zelvo_probe process NAME           the same for another program file name
//   zelvo_probe uninstall-key          print the uninstall key's values; 1 when it is missing
//   zelvo_probe run-once               print the values of HKCU's RunOnce key
//   zelvo_probe sign-in                what Explorer does with them at a sign-in: each entry is
//                                      removed, then its command is run (here: to its end)
//   zelvo_probe version-info FILE      print "<language><code page> Name=Value" for each
//                                      string of each translation in the version record
//   zelvo_probe first-window PROGRAM   start PROGRAM, print the title and the control texts
//                                      of its first visible window, then cancel it (and
//                                      confirm that it is to stop) so that it cleans up
//   zelvo_probe window                 0 while a "zelvoclass" window exists, 1 when none does
//   zelvo_probe hold SECONDS           a "zelvoclass" window that ignores IDM_EXIT: a Zelvo
//                                      that does not end, for that long
//   zelvo_probe hold-library FILE SECONDS  keep FILE loaded, as a hooked application keeps the
//                                      hook library, for that long; prints "loaded" once it is
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "exchange.h"
#include "resource_ids.h"

static const DWORD POLL_MS = 10;
static const DWORD TIMEOUT_MS = 20000;
static const UINT SJIS_CODE_PAGE = 932;
static const wchar_t UNINSTALL_KEY[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelvo";
static const wchar_t RUN_ONCE_KEY[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
static const int TEXT_ROOM = 1024;

static int Fail(const char* what) {
    fprintf(stderr, "zelvo_probe: %s (error %lu)\n", what, GetLastError());
    return 2;
}

static std::string Encode(UINT codePage, const wchar_t* text) {
    int length = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(codePage, 0, text, -1, &bytes[0], length, nullptr, nullptr);
    bytes.resize(strlen(bytes.c_str()));
    return bytes;
}

static void PrintLine(const std::wstring& text) {
    printf("%s\n", Encode(CP_UTF8, text.c_str()).c_str());
}

static HWND FindZelvo() {
    return FindWindowA(CANDIDATE_CLASS_NAME, nullptr);
}

static bool ProcessRuns(const wchar_t* name) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return false;
    }
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry)) {
        found = lstrcmpiW(entry.szExeFile, name) == 0;
    }
    CloseHandle(snapshot);
    return found;
}

// A string value of the uninstall key; empty when there is none.
static std::wstring UninstallValue(const wchar_t* name) {
    wchar_t value[TEXT_ROOM] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, UNINSTALL_KEY, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) {
        return L"";
    }
    return value;
}

static std::wstring InstallFolder() {
    std::wstring folder = UninstallValue(L"InstallLocation");
    if (!folder.empty()) {
        return folder;
    }
    wchar_t local[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? L"" : std::wstring(local) + L"\\Programs\\Zelvo";
}

// Waits until the process is idle in its message loop with its window up, or has ended.
static bool WaitResident(const PROCESS_INFORMATION& process, DWORD* idle) {
    *idle = WaitForInputIdle(process.hProcess, TIMEOUT_MS);
    DWORD start = GetTickCount();
    while (GetTickCount() - start < TIMEOUT_MS) {
        HWND window = FindZelvo();
        DWORD owner = 0;
        if (window != nullptr) {
            GetWindowThreadProcessId(window, &owner);
        }
        if (owner == process.dwProcessId && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
            return true;
        }
        Sleep(POLL_MS);
    }
    return false;
}

static int Resident() {
    DWORD start = GetTickCount();
    HWND window = nullptr;
    while ((window = FindZelvo()) == nullptr && GetTickCount() - start < TIMEOUT_MS) {
        Sleep(POLL_MS);
    }
    PROCESS_INFORMATION process = {};
    GetWindowThreadProcessId(window, &process.dwProcessId);
    process.hProcess = window != nullptr ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE,
                                                       process.dwProcessId)
                                         : nullptr;
    if (process.hProcess == nullptr) {
        fprintf(stderr, "zelvo_probe: no Zelvo window (error %lu)\n", GetLastError());
        return 1;
    }
    DWORD idle = WAIT_FAILED;
    bool resident = WaitResident(process, &idle);
    CloseHandle(process.hProcess);
    if (idle != 0 || !resident) {
        fprintf(stderr, "zelvo_probe: Zelvo not resident (idle %lu)\n", idle);
        return 1;
    }
    return 0;
}

static int Start() {
    std::wstring dir = InstallFolder();
    if (dir.empty()) {
        return Fail("no install folder");
    }
    std::wstring commandLine = L"\"" + dir + L"\\ZELVO.EXE\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup,
                        &process)) {
        return Fail("cannot start the installed ZELVO.EXE");
    }
    // Idle means in its message loop: the hook is installed and IDM_EXIT is safe to send.
    DWORD idle = WAIT_FAILED;
    bool resident = WaitResident(process, &idle);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (idle != 0 || !resident) {
        fprintf(stderr, "zelvo_probe: ZELVO.EXE not resident (idle %lu, exit code %lu)\n", idle, exitCode);
        return 1;
    }
    return 0;
}

// Writes the pair into the ExchangeBlock as the hook does; false when Zelvo does not run.
static bool WritePair(const std::string& first, const std::string& second, HWND* window) {
    if (first.size() >= EXCHANGE_FIELD_SIZE || second.size() >= EXCHANGE_FIELD_SIZE) {
        fprintf(stderr, "zelvo_probe: word or reading longer than 255 bytes\n");
        return false;
    }
    *window = FindZelvo();
    HANDLE mapping = *window != nullptr ? OpenFileMappingA(FILE_MAP_WRITE, FALSE, EXCHANGE_BLOCK_NAME) : nullptr;
    char* view = mapping != nullptr ? static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0)) : nullptr;
    if (view == nullptr) {
        fprintf(stderr, "zelvo_probe: Zelvo is not running or has no exchange block (error %lu)\n", GetLastError());
        if (mapping != nullptr) {
            CloseHandle(mapping);
        }
        return false;
    }
    memcpy(view + EXCHANGE_FIRST_OFFSET, first.c_str(), first.size() + 1);
    memcpy(view + EXCHANGE_SECOND_OFFSET, second.c_str(), second.size() + 1);
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    return true;
}

static int Register(const wchar_t* word, const wchar_t* reading) {
    HWND window = nullptr;
    if (!WritePair(Encode(SJIS_CODE_PAGE, word), Encode(SJIS_CODE_PAGE, reading), &window)) {
        return 1;
    }
    SendMessageA(window, WM_ZELVO_REGISTER, 0, 0);
    return 0;
}

// A show request for the reading, as typing it would send; then the list's lines are read
// through the wide calls (the ANSI LB_GETTEXT across processes returns UTF-16 under Wine).
static int Candidates(const wchar_t* reading) {
    std::string bytes = Encode(SJIS_CODE_PAGE, reading);
    HWND window = nullptr;
    if (!WritePair(bytes, bytes, &window)) {
        return 1;
    }
    SendMessageA(window, WM_ZELVO_SHOW, PackShowPosition(100, 100), 0);
    HWND list = GetDlgItem(window, CANDIDATE_LIST_ID);
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring line(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0)) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&line[0]));
        PrintLine(line.c_str());
    }
    SendMessageA(window, WM_ZELVO_HIDE, 0, 0);
    return 0;
}

static int Exit() {
    HWND window = FindZelvo();
    if (window == nullptr) {
        fprintf(stderr, "zelvo_probe: Zelvo is not running\n");
        return 1;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr) {
        return Fail("cannot open Zelvo's process");
    }
    SendMessageA(window, WM_COMMAND, IDM_EXIT, 0);
    DWORD waited = WaitForSingleObject(process, TIMEOUT_MS);
    DWORD exitCode = STILL_ACTIVE;
    GetExitCodeProcess(process, &exitCode);
    CloseHandle(process);
    if (waited != WAIT_OBJECT_0 || exitCode != 0) {
        fprintf(stderr, "zelvo_probe: Zelvo did not end cleanly (wait %lu, exit code %lu)\n", waited, exitCode);
        return 1;
    }
    return 0;
}

static int UninstallKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, UNINSTALL_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        printf("missing\n");
        return 1;
    }
    RegCloseKey(key);
    for (const wchar_t* name : {L"DisplayName", L"DisplayVersion", L"InstallLocation", L"UninstallString"}) {
        std::wstring value = UninstallValue(name);
        if (!value.empty()) {
            PrintLine(std::wstring(name) + L"=" + value);
        }
    }
    return 0;
}

static int RunOnce() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RUN_ONCE_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return 0;  // no key: no entries
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[TEXT_ROOM];
        wchar_t value[4 * TEXT_ROOM];
        DWORD nameLength = TEXT_ROOM;
        DWORD size = sizeof(value) - sizeof(wchar_t);
        DWORD type = 0;
        LONG status = RegEnumValueW(key, index, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(value),
                                    &size);
        if (status != ERROR_SUCCESS) {
            break;
        }
        value[size / sizeof(wchar_t)] = L'\0';
        PrintLine(std::wstring(name) + L"=" + (type == REG_SZ ? value : L"(not a string)"));
    }
    RegCloseKey(key);
    return 0;
}

// Under load, Wine now and then loses a console child that has just been created, before it
// starts (ERROR_INTERNAL_ERROR): the command is tried again, as a sign-in would not give up on
// the first try either.
static int RunCommand(const std::wstring& command) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    bool started = false;
    for (int attempt = 0; attempt < 3 && !started; ++attempt) {
        if (attempt > 0) {
            Sleep(500);
        }
        std::wstring commandLine = command;  // CreateProcessW may write into it
        started = CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                                 nullptr, &startup, &process) != FALSE;
        if (!started) {
            Fail("cannot start a RunOnce command, yet");
        }
    }
    if (!started) {
        PrintLine(L"the command: " + command);
        return Fail("cannot run a RunOnce command");
    }
    DWORD waited = WaitForSingleObject(process.hProcess, TIMEOUT_MS);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return waited == WAIT_OBJECT_0 ? 0 : Fail("a RunOnce command did not end");
}

static int SignIn() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, RUN_ONCE_KEY, 0, KEY_READ | KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        return 0;
    }
    std::vector<std::wstring> commands;
    wchar_t name[TEXT_ROOM];
    wchar_t value[4 * TEXT_ROOM];
    DWORD nameLength = TEXT_ROOM;
    DWORD size = sizeof(value) - sizeof(wchar_t);
    DWORD type = 0;
    while (RegEnumValueW(key, 0, name, &nameLength, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) ==
           ERROR_SUCCESS) {
        value[size / sizeof(wchar_t)] = L'\0';
        if (type == REG_SZ) {
            commands.push_back(value);
        }
        if (RegDeleteValueW(key, name) != ERROR_SUCCESS) {
            break;
        }
        nameLength = TEXT_ROOM;
        size = sizeof(value) - sizeof(wchar_t);
    }
    RegCloseKey(key);
    int result = 0;
    for (const std::wstring& command : commands) {
        result = RunCommand(command) != 0 ? 1 : result;
    }
    return result;
}

static int VersionInfo(const wchar_t* file) {
    DWORD size = GetFileVersionInfoSizeW(file, nullptr);
    std::vector<BYTE> record(size);
    struct Translation {
        WORD language;
        WORD codePage;
    }* translations = nullptr;
    UINT length = 0;
    if (size == 0 || !GetFileVersionInfoW(file, 0, size, record.data()) ||
        !VerQueryValueW(record.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translations),
                        &length)) {
        return Fail("no version record");
    }
    for (UINT t = 0; t < length / sizeof(Translation); ++t) {
        wchar_t table[16];
        wsprintfW(table, L"%04x%04x", translations[t].language, translations[t].codePage);
        for (const wchar_t* name : {L"ProductName", L"FileDescription", L"FileVersion", L"LegalCopyright"}) {
            std::wstring query = std::wstring(L"\\StringFileInfo\\") + table + L"\\" + name;
            wchar_t* value = nullptr;
            UINT valueLength = 0;
            if (VerQueryValueW(record.data(), query.c_str(), reinterpret_cast<void**>(&value), &valueLength)) {
                PrintLine(std::wstring(table) + L" " + name + L"=" + value);
            }
        }
    }
    return 0;
}

struct WindowSearch {
    DWORD processId;
    HWND other;  // a window not to find
    HWND found;
};

static BOOL CALLBACK FindVisibleWindowOf(HWND window, LPARAM parameter) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && window != search->other && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// WM_GETTEXT: GetWindowText does not read the controls of another process.
static std::wstring TextOf(HWND window) {
    wchar_t text[TEXT_ROOM] = {};
    SendMessageTimeoutW(window, WM_GETTEXT, TEXT_ROOM, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                        nullptr);
    return text;
}

static BOOL CALLBACK PrintControlText(HWND control, LPARAM) {
    std::wstring text = TextOf(control);
    if (!text.empty() && IsWindowVisible(control)) {
        PrintLine(text);
    }
    return TRUE;
}

// A visible top-level window of the process other than other, waited for; null if none came.
static HWND WaitForWindowOf(const PROCESS_INFORMATION& process, HWND other) {
    WindowSearch search = {process.dwProcessId, other, nullptr};
    DWORD start = GetTickCount();
    while (search.found == nullptr && GetTickCount() - start < TIMEOUT_MS &&
           WaitForSingleObject(process.hProcess, POLL_MS) == WAIT_TIMEOUT) {
        EnumWindows(FindVisibleWindowOf, reinterpret_cast<LPARAM>(&search));
    }
    return search.found;
}

// Cancel, then Yes in the box that asks whether to stop: the program ends on its own terms.
static void CancelProgram(const PROCESS_INFORMATION& process, HWND window) {
    PostMessageW(window, WM_COMMAND, IDCANCEL, 0);
    HWND question = WaitForWindowOf(process, window);
    if (question != nullptr) {
        PostMessageW(question, WM_COMMAND, IDYES, 0);
    }
    if (WaitForSingleObject(process.hProcess, TIMEOUT_MS) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, TIMEOUT_MS);
    }
}

static int FirstWindow(const wchar_t* program) {
    std::wstring commandLine = L"\"" + std::wstring(program) + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return Fail("cannot start the program");
    }
    HWND found = WaitForWindowOf(process, nullptr);
    // Its controls are filled in as the page is shown: once its buttons have their texts (a
    // page's Cancel, or a question's No).
    DWORD start = GetTickCount();
    while (found != nullptr && GetTickCount() - start < TIMEOUT_MS && TextOf(GetDlgItem(found, IDCANCEL)).empty() &&
           TextOf(GetDlgItem(found, IDNO)).empty()) {
        Sleep(POLL_MS);
    }
    if (found != nullptr) {
        PrintLine(TextOf(found));
        EnumChildWindows(found, PrintControlText, 0);
        CancelProgram(process, found);
    } else {
        TerminateProcess(process.hProcess, 0);
        WaitForSingleObject(process.hProcess, TIMEOUT_MS);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (found == nullptr) {
        fprintf(stderr, "zelvo_probe: the program showed no window\n");
        return 1;
    }
    return 0;
}

static int Hold(const wchar_t* seconds) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = CANDIDATE_CLASS_NAME;
    if (RegisterClassA(&windowClass) == 0 ||
        CreateWindowExA(0, CANDIDATE_CLASS_NAME, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                        windowClass.hInstance, nullptr) == nullptr) {
        return Fail("cannot create the window");
    }
    DWORD holdMs = static_cast<DWORD>(_wtoi(seconds)) * 1000;
    DWORD start = GetTickCount();
    while (GetTickCount() - start < holdMs) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, POLL_MS, QS_ALLINPUT);
    }
    return 0;
}

static int HoldLibrary(const wchar_t* file, const wchar_t* seconds) {
    HMODULE library = LoadLibraryW(file);
    if (library == nullptr) {
        return Fail("cannot load the library");
    }
    printf("loaded\n");
    fflush(stdout);
    Sleep(static_cast<DWORD>(_wtoi(seconds)) * 1000);
    FreeLibrary(library);
    return 0;
}

int wmain(int argc, wchar_t** argv) {
    std::wstring command = argc > 1 ? argv[1] : L"";
    int result = 2;
    if (command == L"start" && argc == 2) {
        result = Start();
    } else if (command == L"resident" && argc == 2) {
        result = Resident();
    } else if (command == L"register" && argc == 4) {
        result = Register(argv[2], argv[3]);
    } else if (command == L"candidates" && argc == 3) {
        result = Candidates(argv[2]);
    } else if (command == L"exit" && argc == 2) {
        result = Exit();
    } else if (command == L"running" && argc == 2) {
        result = ProcessRuns(L"ZELVO.EXE") ? 0 : 1;
    } else if (command == L"process" && argc == 3) {
        result = ProcessRuns(argv[2]) ? 0 : 1;
    } else if (command == L"uninstall-key" && argc == 2) {
        result = UninstallKey();
    } else if (command == L"run-once" && argc == 2) {
        result = RunOnce();
    } else if (command == L"sign-in" && argc == 2) {
        result = SignIn();
    } else if (command == L"version-info" && argc == 3) {
        result = VersionInfo(argv[2]);
    } else if (command == L"first-window" && argc == 3) {
        result = FirstWindow(argv[2]);
    } else if (command == L"window" && argc == 2) {
        result = FindZelvo() != nullptr ? 0 : 1;
    } else if (command == L"hold" && argc == 3) {
        result = Hold(argv[2]);
    } else if (command == L"hold-library" && argc == 4) {
        result = HoldLibrary(argv[2], argv[3]);
    } else {
        fprintf(stderr, "usage: zelvo_probe start | resident | register WORD READING | candidates READING | exit |"
                        " running | process NAME | uninstall-key | run-once | sign-in | version-info FILE |"
                        " first-window PROGRAM | window | hold SECONDS | hold-library FILE SECONDS\n");
    }
    fflush(stdout);
    return result;
}
