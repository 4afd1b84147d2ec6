#include "zelvo_driver.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "exchange.h"
#include "window_ids.h"

static const UINT SJIS_CODE_PAGE = 932;
static const char RESIDENT_TRACE[] = "resident ";  // the window thread enters its message loop
static const char* const COPIED_FILES[] = {"ZELVOD.DLL", "ZELVOS.DLL"};

std::string Sjis(const char* utf8) {
    int wideLength = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, &wide[0], wideLength);
    int length = WideCharToMultiByte(SJIS_CODE_PAGE, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(SJIS_CODE_PAGE, 0, wide.c_str(), -1, &bytes[0], length, nullptr, nullptr);
    bytes.resize(strlen(bytes.c_str()));
    return bytes;
}

static UINT CommitMessage() {
    static UINT number = RegisterWindowMessageA(COMMIT_MESSAGE_NAME);
    return number;
}

static void PumpRange(UINT first, UINT last) {
    MSG message;
    while (PeekMessageA(&message, nullptr, first, last, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void PumpMessages() {
    UINT commit = CommitMessage();
    PumpRange(0, commit - 1);
    PumpRange(commit + 1, 0xFFFF);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        PumpMessages();
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start >= timeoutMs) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, POLL_INTERVAL_MS, QS_ALLINPUT);
    }
}

// ---- trace viewer ----

static std::vector<std::string> traceLines;

static LRESULT CALLBACK TraceViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const COPYDATASTRUCT* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const char* text = static_cast<const char*>(record->lpData);
        traceLines.push_back(record->cbData > 0 ? std::string(text, record->cbData - 1) : std::string());
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A hidden top-level window of a class of its own, on this thread.
static HWND CreateDriverWindow(const char* className, WNDPROC procedure) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

HWND StartTraceViewer() {
    static HWND viewer = nullptr;
    if (viewer == nullptr) {
        viewer = CreateDriverWindow("TuloDebugWClass", TraceViewerProc);
    }
    return viewer;
}

void ClearTrace() {
    traceLines.clear();
}

const std::vector<std::string>& TraceLines() {
    return traceLines;
}

std::vector<std::string> TraceLinesStartingWith(const std::string& prefix) {
    std::vector<std::string> found;
    for (const std::string& line : traceLines) {
        if (line.compare(0, prefix.size(), prefix) == 0) {
            found.push_back(line);
        }
    }
    return found;
}

// ---- files ----

// The wide calls take paths beyond 259 characters, which the ANSI ones refuse.
static std::wstring Wide(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

std::string TestProgramFolder() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

// ZELVO.EXE under programName, ZELVOD.DLL and ZELVOS.DLL from the driver's folder into dir.
static bool CopyProgramFiles(const std::wstring& dir, const std::wstring& programName) {
    std::wstring from = Wide(TestProgramFolder());
    bool copied = CopyFileW((from + L"ZELVO.EXE").c_str(), (dir + programName).c_str(), FALSE) != FALSE;
    for (const char* name : COPIED_FILES) {
        copied = CopyFileW((from + Wide(name)).c_str(), (dir + Wide(name)).c_str(), FALSE) && copied;
    }
    return copied;
}

bool MakeScratchFolder(ScratchFolder* scratch, const char* programName, const std::string& folderName) {
    static int counter = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    std::string dir;
    if (folderName.empty()) {
        // Process ids repeat from one Wine session to the next: count on until a name is free.
        do {
            dir = std::string(temp) + "zelvo-app-" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(++counter) + "\\";
        } while (!CreateDirectoryW(Wide(dir).c_str(), nullptr) && GetLastError() == ERROR_ALREADY_EXISTS);
    } else {
        bool absolute = folderName.size() > 2 && folderName[1] == ':';
        dir = (absolute ? folderName : std::string(temp) + folderName) + "\\";
        CreateDirectoryW(Wide(dir).c_str(), nullptr);
        for (const std::string& name : FolderNames(dir)) {  // left from an earlier run
            DeleteFileW(Wide(dir + name).c_str());
        }
    }
    if (GetFileAttributesW(Wide(dir).c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    scratch->dir = dir;
    scratch->programPath = dir + programName;
    scratch->wideDir.clear();
    return CopyProgramFiles(Wide(dir), Wide(programName));
}

bool MakeWideScratchFolder(ScratchFolder* scratch, const std::wstring& folderName) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring dir = temp + folderName + L"\\";
    CreateDirectoryW(dir.c_str(), nullptr);
    wchar_t shortDir[MAX_PATH];
    DWORD length = GetShortPathNameW(dir.c_str(), shortDir, MAX_PATH);
    char ansi[MAX_PATH];
    if (length == 0 || length >= MAX_PATH ||
        WideCharToMultiByte(CP_ACP, 0, shortDir, -1, ansi, MAX_PATH, nullptr, nullptr) == 0) {
        return false;
    }
    scratch->wideDir = dir;
    scratch->dir = ansi;
    scratch->programPath = scratch->dir + "ZELVO.EXE";
    for (const std::string& name : FolderNames(scratch->dir)) {  // left from an earlier run
        DeleteFileW(Wide(scratch->dir + name).c_str());
    }
    return CopyProgramFiles(dir, L"ZELVO.EXE");
}

void RemoveScratchFolder(const ScratchFolder& scratch) {
    if (scratch.dir.empty()) {
        return;  // never made: "" would name the current folder
    }
    for (const std::string& name : FolderNames(scratch.dir)) {
        DeleteFileW(Wide(scratch.dir + name).c_str());
    }
    RemoveDirectoryA(scratch.dir.c_str());
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
}

std::string NumberedDictionary(int lines) {
    const std::string word = Sjis(u8"語");
    const std::string reading = Sjis(u8"ご");
    std::string bytes;
    char line[64];
    for (int i = 0; i < lines; ++i) {
        snprintf(line, sizeof line, "%s%05d\t%s%05d\r\n", word.c_str(), i, reading.c_str(), i);
        bytes += line;
    }
    return bytes;
}

bool ReadFileBytes(const std::string& path, std::string* bytes) {
    HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    bytes->clear();
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        bytes->append(buffer, got);
    }
    CloseHandle(file);
    return true;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> FolderNames(const std::string& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((dir + "*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        return names;
    }
    do {
        std::string name = data.cFileName;
        if (name != "." && name != "..") {
            names.push_back(name);
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

// ---- the program's process ----

// A folder the ANSI calls cannot spell is named by its wide path, as Explorer would start it.
static bool LaunchWide(const ScratchFolder& scratch, const std::string& arguments, PROCESS_INFORMATION* process) {
    std::wstring program = scratch.wideDir + L"ZELVO.EXE";
    std::wstring commandLine = L"\"" + program + L"\" " + Wide(arguments);
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    return CreateProcessW(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                          scratch.wideDir.c_str(), &startup, process) != FALSE;
}

bool LaunchResident(const ScratchFolder& scratch, const std::string& arguments, PROCESS_INFORMATION* process) {
    if (!scratch.wideDir.empty()) {
        return LaunchWide(scratch, arguments, process);
    }
    std::string commandLine = "\"" + scratch.programPath + "\" " + arguments;
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(scratch.programPath.c_str(), writable.data(), nullptr, nullptr, FALSE, 0,
                          nullptr, scratch.dir.c_str(), &startup, process) != FALSE;
}

HWND FindWindowOfProcess(const char* className, DWORD processId) {
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, className, nullptr)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId) {
            return window;
        }
    }
    return nullptr;
}

HMODULE HookLibraryOf(const ScratchFolder& scratch) {
    std::wstring folder = scratch.wideDir.empty() ? Wide(scratch.dir) : scratch.wideDir;
    return GetModuleHandleW((folder + L"ZELVOS.DLL").c_str());
}

// The hook library of this scratch folder is loaded into this process once the program
// has installed its hook and this thread has taken a message since.
static bool HookReachedThisProcess(const ScratchFolder& scratch, HWND poke) {
    PostMessageA(poke, WM_NULL, 0, 0);
    return HookLibraryOf(scratch) != nullptr;
}

// A window of this thread to post to while waiting, when there is to be no trace viewer.
static HWND StartPokeWindow() {
    static HWND poke = nullptr;
    if (poke == nullptr) {
        poke = CreateDriverWindow("ZelvoDriverPoke", DefWindowProcA);
    }
    return poke;
}

bool StartResident(const ScratchFolder& scratch, const std::string& arguments, Resident* resident,
                   bool waitForHook, bool withTraceViewer) {
    HWND poke = withTraceViewer ? StartTraceViewer() : StartPokeWindow();
    const size_t loopsBefore = TraceLinesStartingWith(RESIDENT_TRACE).size();
    if (!LaunchResident(scratch, arguments, &resident->process)) {
        fprintf(stderr, "cannot start %s: error %lu\n", scratch.programPath.c_str(), GetLastError());
        return false;
    }
    DWORD processId = resident->process.dwProcessId;
    // The window shows up while its creation handler still makes the list: wait for both.
    bool ready = WaitUntil([&] {
                     resident->window = FindWindowOfProcess(CANDIDATE_CLASS_NAME, processId);
                     resident->list = resident->window != nullptr ? GetDlgItem(resident->window, IDC_CANDIDATE_LIST)
                                                                  : nullptr;
                     return resident->list != nullptr;
                 }, START_TIMEOUT_MS) &&
                 (!waitForHook || WaitUntil([&] { return HookReachedThisProcess(scratch, poke); }, START_TIMEOUT_MS)) &&
                 // The program says when its window thread enters the message loop. (Without a
                 // viewer only the wait for idle is left, which the hook thread may end first.)
                 (withTraceViewer ? WaitUntil([&] { return TraceLinesStartingWith(RESIDENT_TRACE).size() > loopsBefore; },
                                              START_TIMEOUT_MS)
                                  : waitForHook || WaitForInputIdle(resident->process.hProcess, START_TIMEOUT_MS) == 0);
    if (!ready) {
        fprintf(stderr, "not resident: window %p\n", static_cast<void*>(resident->window));
    }
    return ready;
}

static bool WaitForProcess(HANDLE process, DWORD* exitCode) {
    bool ended = WaitUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, EXIT_TIMEOUT_MS);
    if (ended) {
        GetExitCodeProcess(process, exitCode);
    }
    return ended;
}

bool RunToExit(const ScratchFolder& scratch, const std::string& arguments, DWORD* exitCode) {
    PROCESS_INFORMATION process = {};
    if (!LaunchResident(scratch, arguments, &process)) {
        return false;
    }
    bool ended = WaitForProcess(process.hProcess, exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return ended;
}

bool WaitForResidentExit(Resident* resident, DWORD* exitCode) {
    if (resident->process.hProcess == nullptr || !WaitForProcess(resident->process.hProcess, exitCode)) {
        return false;
    }
    CloseHandle(resident->process.hThread);
    CloseHandle(resident->process.hProcess);
    resident->process = {};
    return true;
}

bool EndResident(Resident* resident, DWORD* exitCode) {
    PostMessageA(resident->window, WM_COMMAND, IDM_EXIT, 0);
    return WaitForResidentExit(resident, exitCode);
}

void KillResident(Resident* resident) {
    if (resident->process.hProcess != nullptr) {
        TerminateProcess(resident->process.hProcess, 99);
        WaitForSingleObject(resident->process.hProcess, EXIT_TIMEOUT_MS);
        CloseHandle(resident->process.hThread);
        CloseHandle(resident->process.hProcess);
        resident->process = {};
    }
}

void EndOrKillResident(Resident* resident) {
    DWORD exitCode = 0;
    if (resident->process.hProcess != nullptr && !EndResident(resident, &exitCode)) {
        KillResident(resident);
    }
}

// ---- the hook's side ----

static HANDLE exchangeMapping = nullptr;
static unsigned char* exchangeView = nullptr;

unsigned char* OpenExchangeBlock() {
    if (exchangeView == nullptr) {
        exchangeMapping = OpenFileMappingA(FILE_MAP_WRITE, FALSE, EXCHANGE_BLOCK_NAME);
        if (exchangeMapping != nullptr) {
            exchangeView = static_cast<unsigned char*>(MapViewOfFile(exchangeMapping, FILE_MAP_WRITE, 0, 0, 0));
        }
    }
    return exchangeView;
}

void CloseExchangeBlock() {
    if (exchangeView != nullptr) {
        UnmapViewOfFile(exchangeView);
        CloseHandle(exchangeMapping);
    }
    exchangeView = nullptr;
    exchangeMapping = nullptr;
}

static void WritePair(const std::string& first, const std::string& second) {
    unsigned char* view = OpenExchangeBlock();
    memcpy(view + EXCHANGE_FIRST_OFFSET, first.c_str(), first.size() + 1);
    memcpy(view + EXCHANGE_SECOND_OFFSET, second.c_str(), second.size() + 1);
}

void SendShowRequest(HWND window, const std::string& composition, const std::string& reading, int x, int y,
                     HWND target) {
    WritePair(composition, reading);
    SendMessageA(window, WM_ZELVO_SHOW, PackShowPosition(x, y), reinterpret_cast<LPARAM>(target));
}

void SendRegisterRequest(HWND window, const std::string& word, const std::string& reading) {
    WritePair(word, reading);
    SendMessageA(window, WM_ZELVO_REGISTER, 0, 0);
}

void SendHideRequest(HWND window) {
    SendMessageA(window, WM_ZELVO_HIDE, 0, 0);
}

bool SendCopyData(HWND window, ULONG_PTR tag, const void* data, DWORD size, LRESULT* answer) {
    COPYDATASTRUCT copy = {};
    copy.dwData = tag;
    copy.cbData = size;
    copy.lpData = const_cast<void*>(data);
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&copy),
                            SMTO_ABORTIFHUNG | SMTO_NORMAL, REQUEST_TIMEOUT_MS, &result) == 0) {
        return false;
    }
    if (answer != nullptr) {
        *answer = static_cast<LRESULT>(result);
    }
    return true;
}

bool SendRequestRecord(HWND window, unsigned kind, int x, int y, HWND target, const std::string& first,
                       const std::string& second, LRESULT* answer) {
    RequestRecord record = {};
    record.kind = kind;
    record.position = static_cast<uint32_t>(PackShowPosition(x, y));
    record.target = HandleToULong(target);
    lstrcpynA(record.first, first.c_str(), sizeof record.first);
    lstrcpynA(record.second, second.c_str(), sizeof record.second);
    return SendCopyData(window, REQUEST_RECORD_TAG, &record, sizeof record, answer);
}

bool ReadExchangeStatus(ExchangeStatus* status) {
    const unsigned char* view = OpenExchangeBlock();
    if (view == nullptr) {
        return false;
    }
    memcpy(status, view + EXCHANGE_STATUS_OFFSET, sizeof *status);
    return true;
}

static const char SETTINGS_KEY[] = "Software\\Zelvo";

long ReadSettingValue(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return -1;
    }
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    return status == ERROR_SUCCESS && type == REG_DWORD ? static_cast<long>(value) : -1;
}

bool WriteSettingValue(const char* name, DWORD value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return false;
    }
    LONG status = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void ForgetSettingValue(const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, name);
        RegCloseKey(key);
    }
}

std::string WindowText(HWND window) {
    WCHAR wide[2048] = {};
    SendMessageW(window, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(wide));
    char text[4096] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

std::vector<std::string> ListLines(HWND list) {
    // The wide calls: the ANSI LB_GETTEXT across processes returns UTF-16 under Wine.
    std::vector<std::string> lines;
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&wide[0]));
        char line[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, wide.c_str(), -1, line, sizeof line, nullptr, nullptr);
        lines.push_back(line);
    }
    return lines;
}

// ---- application windows ----

static const char TARGET_CLASS[] = "ZelvoTestTarget";

static void RegisterTargetClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = TARGET_CLASS;
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        RegisterClassA(&windowClass);
        registered = true;
    }
}

HWND CreateTargetWindow(int x, int y) {
    RegisterTargetClass();
    return CreateWindowExA(0, TARGET_CLASS, "target", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, 200, 120, nullptr,
                           nullptr, GetModuleHandleA(nullptr), nullptr);
}

struct OtherApplication {
    int x;
    int y;
    HWND window;
    HANDLE created;
};

static DWORD WINAPI OtherApplicationThread(void* parameter) {
    OtherApplication* other = static_cast<OtherApplication*>(parameter);
    HWND window = CreateTargetWindow(other->x, other->y);
    other->window = window;
    SetEvent(other->created);  // other is gone from here on
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    DestroyWindow(window);
    return 0;
}

HWND StartOtherApplication(int x, int y) {
    OtherApplication other = {x, y, nullptr, CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE thread = CreateThread(nullptr, 0, OtherApplicationThread, &other, 0, nullptr);
    WaitForSingleObject(other.created, EXIT_TIMEOUT_MS);
    CloseHandle(other.created);
    CloseHandle(thread);
    return other.window;
}

void EndOtherApplication(HWND window) {
    PostThreadMessageA(GetWindowThreadProcessId(window, nullptr), WM_QUIT, 0, 0);
}

void ForgetLearningChoices() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Zelvo", 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) {
        return;
    }
    RegDeleteValueA(key, "LearningPaused");
    RegDeleteValueA(key, "ExcludedPrograms");
    RegCloseKey(key);
}

std::vector<std::wstring> PublishedExclusions(uint32_t* generation) {
    std::vector<std::wstring> names;
    ExchangeStatus* status = new ExchangeStatus;
    if (ReadExchangeStatus(status) && status->size >= sizeof(ExchangeStatus)) {
        *generation = status->exclusions.generation;
        size_t at = 0;
        for (uint32_t i = 0; i < status->exclusions.count && at < EXCLUSION_TEXT_CHARS; ++i) {
            std::wstring name;
            while (at < EXCLUSION_TEXT_CHARS && status->exclusions.text[at] != 0) {
                name += static_cast<wchar_t>(status->exclusions.text[at++]);
            }
            ++at;
            names.push_back(name);
        }
    }
    delete status;
    return names;
}

bool WaitUntilResidentRuns() {
    return WaitUntil([] {
        ExchangeStatus* status = new ExchangeStatus;
        bool runs = ReadExchangeStatus(status) && status->heartbeat > 0;
        delete status;
        return runs;
    }, START_TIMEOUT_MS);
}
