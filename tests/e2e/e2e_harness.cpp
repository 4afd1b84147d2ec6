#include "e2e_harness.h"

#include <cstdio>
#include <cstring>

#include "e2e_protocol.h"
#include "install_ime.h"

// ---- the IME ----

void PrepareTargetSession(std::string* error) {
    StartTraceViewer();
    StartObserver();
    InstallImeForTargets(error);
}

bool InstallImeForTargets(std::string* error) {
    return InstallTestIme(TestImeBesideProgram(), error);
}

void RemoveImeForTargets() {
    RemoveTestIme();
}

bool ReadyForTargets() {
    StartObserver();
    std::string error;
    if (!InstallImeForTargets(&error)) {
        fprintf(stderr, "%s\n", error.c_str());
        return false;
    }
    return true;
}

// ---- observer ----

static std::vector<std::string> reports;

static LRESULT CALLBACK ObserverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const COPYDATASTRUCT* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const char* text = static_cast<const char*>(record->lpData);
        reports.push_back(record->cbData > 0 ? std::string(text, record->cbData - 1) : "");
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static HWND CreateHelperWindow(const char* className, const char* title, WNDPROC procedure) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    return CreateWindowExA(0, className, title, WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

HWND StartObserver() {
    static HWND observer = CreateHelperWindow(OBSERVER_CLASS, "observer", ObserverProc);
    return observer;
}

void ClearReports() {
    reports.clear();
}

const std::vector<std::string>& Reports() {
    return reports;
}

// ---- clipboard tool ----

static bool toolNotified = false;

static LRESULT CALLBACK ClipboardToolProc(HWND window, UINT message, WPARAM wParam,
                                          LPARAM lParam) {
    static const UINT notice = RegisterWindowMessageA("MarnetMsg");
    if (message == notice && notice != 0) {
        toolNotified = toolNotified || wParam == 1;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND StartClipboardTool() {
    static HWND tool = CreateHelperWindow("ZelvoE2EClipboardTool", "Marnet", ClipboardToolProc);
    return tool;
}

void ForgetClipboardToolNotice() {
    toolNotified = false;
}

bool ClipboardToolNotified() {
    return toolNotified;
}

// ---- target ----

static bool Reported(const char* wanted) {
    for (const std::string& report : reports) {
        if (report == wanted) {
            return true;
        }
    }
    return false;
}

static HWND ReadyWindow() {
    for (const std::string& report : reports) {
        unsigned long value = 0;
        if (sscanf(report.c_str(), "ready %lx", &value) == 1) {
            return static_cast<HWND>(ULongToHandle(value));
        }
    }
    return nullptr;
}

std::string TargetProgramPath() {
    return TestProgramFolder() + "e2e_target.exe";
}

bool StartTarget(const ScratchFolder& scratch, const char* kind, Target* target, bool waitForHook,
                 const std::string& program) {
    return StartTargetOf(program.empty() ? TargetProgramPath() : program, scratch.dir + "ZELVOS.DLL", kind,
                         target, waitForHook);
}

bool StartTargetOf(const std::string& program, const std::string& hookLibrary, const char* kind,
                   Target* target, bool waitForHook) {
    ClearReports();
    char observer[16];
    snprintf(observer, sizeof observer, "%lx", HandleToULong(StartObserver()));
    std::string commandLine = "\"" + program + "\" " + kind + " " + observer + " \"" + hookLibrary + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &target->process)) {
        return false;
    }
    if (!WaitUntil([&] { return (target->window = ReadyWindow()) != nullptr; }, START_TIMEOUT_MS)) {
        fprintf(stderr, "the target did not report its window\n");
        return false;
    }
    if (waitForHook && !WaitUntil([&] {
            PostMessageA(target->window, WM_NULL, 0, 0);
            return Reported("hooked");
        }, START_TIMEOUT_MS)) {
        fprintf(stderr, "the hook library did not reach the target\n");
        return false;
    }
    if (!WaitUntil([&] {
            SetForegroundWindow(target->window);
            return GetForegroundWindow() == target->window;
        }, START_TIMEOUT_MS)) {
        fprintf(stderr, "the target did not come to the foreground\n");
        return false;
    }
    return true;
}

bool StartClipboardOwner(Target* owner) {
    char commandLine[MAX_PATH + 64];
    snprintf(commandLine, sizeof commandLine, "\"%sclipboard_owner.exe\" %lx", TestProgramFolder().c_str(),
             HandleToULong(StartObserver()));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    size_t start = reports.size();
    if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &owner->process)) {
        return false;
    }
    return WaitUntil([&] {
        for (size_t i = start; i < reports.size(); ++i) {
            unsigned long value = 0;
            if (sscanf(reports[i].c_str(), "owner %lx", &value) == 1) {
                owner->window = static_cast<HWND>(ULongToHandle(value));
                return true;
            }
        }
        return false;
    }, START_TIMEOUT_MS);
}

void EndTarget(Target* target) {
    if (target->process.hProcess == nullptr) {
        return;
    }
    PostMessageA(target->window, WM_CLOSE, 0, 0);
    if (!WaitUntil([&] { return WaitForSingleObject(target->process.hProcess, 0) == WAIT_OBJECT_0; },
                   EXIT_TIMEOUT_MS)) {
        TerminateProcess(target->process.hProcess, 99);
        WaitForSingleObject(target->process.hProcess, EXIT_TIMEOUT_MS);
    }
    CloseHandle(target->process.hThread);
    CloseHandle(target->process.hProcess);
    *target = Target();
}

bool EndAndReadDictionary(const ScratchFolder& scratch, Target* target, Resident* resident, std::string* file) {
    EndTarget(target);
    DWORD exitCode = 99;
    if (!EndResident(resident, &exitCode) || exitCode != 0) {
        fprintf(stderr, "the resident program did not end well: exit code %lu\n", exitCode);
        return false;
    }
    return ReadFileBytes(scratch.dir + "ZELVO.TXT", file);
}

// ---- keys ----

static INPUT KeyEvent(WORD key, bool release) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    if (key == VK_RSHIFT) {
        input.ki.wScan = 0x36;
    }
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    return input;
}

// A press of key, with up to two modifiers held around it (0 for none).
static void AddPress(std::vector<INPUT>* inputs, WORD key, WORD modifier = 0, WORD second = 0) {
    for (WORD held : {modifier, second}) {
        if (held != 0) {
            inputs->push_back(KeyEvent(held, false));
        }
    }
    inputs->push_back(KeyEvent(key, false));
    inputs->push_back(KeyEvent(key, true));
    for (WORD held : {second, modifier}) {
        if (held != 0) {
            inputs->push_back(KeyEvent(held, true));
        }
    }
}

static void Send(std::vector<INPUT>* inputs) {
    if (!inputs->empty()) {
        SendInput(static_cast<UINT>(inputs->size()), inputs->data(), sizeof(INPUT));
    }
    inputs->clear();
}

// Shift is the right one: the left Shift is the barrier.
void PressKey(WORD key, bool control, bool shift) {
    std::vector<INPUT> inputs;
    AddPress(&inputs, key, control ? VK_CONTROL : 0, shift ? VK_RSHIFT : 0);
    Send(&inputs);
}

static void AddTypedKey(std::vector<INPUT>* inputs, char typed) {
    switch (typed) {
    case ' ':
        AddPress(inputs, VK_SPACE);
        break;
    case '\n':
        AddPress(inputs, VK_RETURN);
        break;
    case '\b':
        AddPress(inputs, VK_BACK);
        break;
    case '\x1b':
        AddPress(inputs, VK_ESCAPE);
        break;
    case '!':
        // The US keymap of the X server; the right Shift, apart from the barrier.
        AddPress(inputs, '1', VK_RSHIFT);
        break;
    default:
        AddPress(inputs, static_cast<WORD>(typed >= '0' && typed <= '9' ? typed : typed - 'a' + 'A'));
        break;
    }
}

// Each key in a call of its own, or all of them in one.
static void TypeKeys(const char* keys, bool atOnce) {
    std::vector<INPUT> inputs;
    for (const char* p = keys; *p != '\0'; ++p) {
        AddTypedKey(&inputs, *p);
        if (!atOnce) {
            Send(&inputs);
        }
    }
    Send(&inputs);
}

void TypeRomaji(const char* keys) {
    TypeKeys(keys, false);
}

void TypeAtOnce(const char* keys) {
    TypeKeys(keys, true);
}

bool WaitForTargetInput() {
    size_t start = reports.size();
    PressKey(VK_SHIFT);
    return WaitUntil([&] {
        for (size_t i = start; i < reports.size(); ++i) {
            if (reports[i] == "up 10") {
                return true;
            }
        }
        return false;
    }, START_TIMEOUT_MS);
}

void ClickInWindow(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
    }
    inputs[0].mi.dx = ((r.right - 30) * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN);
    inputs[0].mi.dy = ((r.top + r.bottom) / 2 * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN);
    inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, inputs, sizeof(INPUT));
}

static double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double TimeUntilReport(const std::function<void()>& act, const std::string& report, DWORD timeoutMs) {
    size_t from = reports.size();
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    act();
    double took = -1;
    WaitUntil([&] {
        for (size_t i = from; i < reports.size(); ++i) {
            if (reports[i] == report) {
                took = MillisecondsSince(start);
                return true;
            }
        }
        return false;
    }, timeoutMs);
    return took;
}

bool TargetCaret(HWND window, RECT* caret) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ||
        info.hwndCaret == nullptr) {
        return false;
    }
    POINT topLeft = {info.rcCaret.left, info.rcCaret.top};
    POINT bottomRight = {info.rcCaret.right, info.rcCaret.bottom};
    ClientToScreen(info.hwndCaret, &topLeft);
    ClientToScreen(info.hwndCaret, &bottomRight);
    *caret = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    return true;
}
