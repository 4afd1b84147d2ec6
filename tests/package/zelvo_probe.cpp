// The package test's hands inside Wine: starts the installed ZELVO.EXE, plays the hook to
// make it remember a word, ends it the way the tray menu does, and reads the uninstall key.
// One command per run; exit code 0 when the command did what it says, otherwise a message
// on the standard error and a non-zero code.
//   zelvo_probe start                  start %LOCALAPPDATA%\Programs\Zelvo\ZELVO.EXE, wait until resident
//   zelvo_probe register WORD READING  remember the pair (arguments as the user types them)
//   zelvo_probe exit                   IDM_EXIT to the "zelvoclass" window, wait for the process
//   zelvo_probe running                0 while a ZELVO.EXE process runs, 1 when none does
//   zelvo_probe uninstall-key          print the uninstall key's values; 1 when it is missing
//   zelvo_probe window                 0 while a "zelvoclass" window exists, 1 when none does
//   zelvo_probe hold SECONDS           a "zelvoclass" window that ignores IDM_EXIT: a Zelvo
//                                      that does not end, for that long
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "exchange.h"
#include "resource_ids.h"

static const DWORD POLL_MS = 10;
static const DWORD TIMEOUT_MS = 20000;
static const UINT SJIS_CODE_PAGE = 932;
static const char UNINSTALL_KEY[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zelvo";

static int Fail(const char* what) {
    fprintf(stderr, "zelvo_probe: %s (error %lu)\n", what, GetLastError());
    return 2;
}

static std::string Sjis(const wchar_t* text) {
    int length = WideCharToMultiByte(SJIS_CODE_PAGE, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(SJIS_CODE_PAGE, 0, text, -1, &bytes[0], length, nullptr, nullptr);
    bytes.resize(strlen(bytes.c_str()));
    return bytes;
}

static HWND FindZelvo() {
    return FindWindowA(CANDIDATE_CLASS_NAME, nullptr);
}

static bool ZelvoProcessRuns() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return false;
    }
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    bool found = false;
    for (BOOL more = Process32First(snapshot, &entry); more && !found; more = Process32Next(snapshot, &entry)) {
        found = lstrcmpiA(entry.szExeFile, "ZELVO.EXE") == 0;
    }
    CloseHandle(snapshot);
    return found;
}

static int Start() {
    char folder[MAX_PATH];
    DWORD length = GetEnvironmentVariableA("LOCALAPPDATA", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return Fail("no LOCALAPPDATA");
    }
    std::string dir = std::string(folder) + "\\Programs\\Zelvo";
    std::string commandLine = "\"" + dir + "\\ZELVO.EXE\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &startup,
                        &process)) {
        return Fail("cannot start the installed ZELVO.EXE");
    }
    // Idle means in its message loop: the hook is installed and IDM_EXIT is safe to send.
    DWORD idle = WaitForInputIdle(process.hProcess, TIMEOUT_MS);
    DWORD start = GetTickCount();
    bool resident = false;
    while (!resident && GetTickCount() - start < TIMEOUT_MS) {
        HWND window = FindZelvo();
        DWORD owner = 0;
        if (window != nullptr) {
            GetWindowThreadProcessId(window, &owner);
        }
        resident = owner == process.dwProcessId && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
        if (!resident) {
            Sleep(POLL_MS);
        }
    }
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

static int Register(const wchar_t* wideWord, const wchar_t* wideReading) {
    std::string word = Sjis(wideWord);
    std::string reading = Sjis(wideReading);
    if (word.size() >= EXCHANGE_FIELD_SIZE || reading.size() >= EXCHANGE_FIELD_SIZE) {
        fprintf(stderr, "zelvo_probe: word or reading longer than 255 bytes\n");
        return 2;
    }
    HWND window = FindZelvo();
    if (window == nullptr) {
        fprintf(stderr, "zelvo_probe: Zelvo is not running\n");
        return 1;
    }
    HANDLE mapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, EXCHANGE_BLOCK_NAME);
    if (mapping == nullptr) {
        return Fail("no exchange block");
    }
    char* view = static_cast<char*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    if (view == nullptr) {
        CloseHandle(mapping);
        return Fail("cannot map the exchange block");
    }
    memcpy(view + EXCHANGE_FIRST_OFFSET, word.c_str(), word.size() + 1);
    memcpy(view + EXCHANGE_SECOND_OFFSET, reading.c_str(), reading.size() + 1);
    SendMessageA(window, WM_ZELVO_REGISTER, 0, 0);
    UnmapViewOfFile(view);
    CloseHandle(mapping);
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

static void PrintValue(HKEY key, const char* name) {
    char value[1024];
    DWORD size = sizeof(value) - 1;
    DWORD type = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        value[size] = '\0';
        printf("%s=%s\n", name, value);
    }
}

static int UninstallKey() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, UNINSTALL_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        printf("missing\n");
        return 1;
    }
    for (const char* name : {"DisplayName", "DisplayVersion", "InstallLocation", "UninstallString"}) {
        PrintValue(key, name);
    }
    RegCloseKey(key);
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

int wmain(int argc, wchar_t** argv) {
    std::wstring command = argc > 1 ? argv[1] : L"";
    int result = 2;
    if (command == L"start" && argc == 2) {
        result = Start();
    } else if (command == L"register" && argc == 4) {
        result = Register(argv[2], argv[3]);
    } else if (command == L"exit" && argc == 2) {
        result = Exit();
    } else if (command == L"running" && argc == 2) {
        result = ZelvoProcessRuns() ? 0 : 1;
    } else if (command == L"uninstall-key" && argc == 2) {
        result = UninstallKey();
    } else if (command == L"window" && argc == 2) {
        result = FindZelvo() != nullptr ? 0 : 1;
    } else if (command == L"hold" && argc == 3) {
        result = Hold(argv[2]);
    } else {
        fprintf(stderr, "usage: zelvo_probe start | register WORD READING | exit | running | uninstall-key |"
                        " window | hold SECONDS\n");
    }
    fflush(stdout);
    return result;
}
