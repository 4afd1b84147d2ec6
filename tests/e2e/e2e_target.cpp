// An application to type into, started by the end-to-end tests as a process of its own:
// one top-level window of the kind named on the command line, and a message loop that
// reports to the tests' observer window what the application itself receives, that is,
// every message after the hook has seen it.
//   e2e_target.exe <kind> <observer> ["<hook library>"]
//     kind: edit, richedit, richeditw, paster, copier, wwg
// Reports (WM_COPYDATA text to the observer): "ready <window>", "down <vk>", "up <vk>" (a1
// for the right Shift), "mouse <message>", "paste" (a paster window pasted on Ctrl+V),
// "hooked" (the hook library named by its full path is loaded in this process, checked at
// every message retrieved).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "e2e_protocol.h"

static HWND observer;
static char hookLibrary[MAX_PATH];
static bool hookReported;

static void Report(const char* format, unsigned long value) {
    char text[64];
    snprintf(text, sizeof text, format, value);
    COPYDATASTRUCT record = {};
    record.cbData = static_cast<DWORD>(strlen(text) + 1);
    record.lpData = text;
    SendMessageA(observer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
}

// The text of a paster window: kept as its window text, so WM_GETTEXT reads it.
static void AppendText(HWND window, const char* added) {
    char text[1024] = {};
    GetWindowTextA(window, text, sizeof text - 256);
    strncat(text, added, 255);
    SetWindowTextA(window, text);
}

// A copier window is a paster that puts text of its own on the clipboard right after each
// paste, as an application may.
static bool copiesOnPaste = false;
static const WCHAR COPIED_TEXT[] = L"copied by the application";

static HGLOBAL WideBlock(const WCHAR* text) {
    size_t size = (wcslen(text) + 1) * sizeof(WCHAR);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (void* bytes = block != nullptr ? GlobalLock(block) : nullptr) {
        memcpy(bytes, text, size);
        GlobalUnlock(block);
    }
    return block;
}

// A window of the tests' own classes: it pastes on Ctrl+V by itself (no WM_PASTE handling;
// Ctrl+Shift+V, as in many applications, is another command and pastes nothing) and shows a
// caret at a fixed place.
static LRESULT CALLBACK PasterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS:
        CreateCaret(window, nullptr, 2, PASTER_CARET_HEIGHT);
        SetCaretPos(PASTER_CARET_X, PASTER_CARET_Y);
        ShowCaret(window);
        return 0;
    case WM_KILLFOCUS:
        DestroyCaret();
        return 0;
    case WM_KEYDOWN:
        if (wParam == 'V' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_SHIFT) >= 0 &&
            OpenClipboard(window)) {
            HANDLE data = GetClipboardData(CF_TEXT);
            const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
            if (text != nullptr) {
                AppendText(window, text);
                GlobalUnlock(data);
                Report("paste", 0);
            }
            if (copiesOnPaste) {
                EmptyClipboard();
                SetClipboardData(CF_UNICODETEXT, WideBlock(COPIED_TEXT));
            }
            CloseClipboard();
        }
        return 0;
    case WM_CHAR:
        if (wParam >= 0x20) {
            char bytes[8] = {};
            WCHAR wide[2] = {static_cast<WCHAR>(wParam), 0};
            WideCharToMultiByte(CP_ACP, 0, wide, -1, bytes, sizeof bytes, nullptr, nullptr);
            AppendText(window, bytes);
        }
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

static HWND CreateTarget(const char* kind) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    DWORD style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    const char* className = nullptr;
    if (strcmp(kind, "edit") == 0) {
        className = "EDIT";
    } else if (strcmp(kind, "richedit") == 0) {
        LoadLibraryA("riched20.dll");
        className = "RichEdit20A";
        style |= ES_MULTILINE;
    } else if (strcmp(kind, "richeditw") == 0) {
        LoadLibraryA("riched20.dll");
        return CreateWindowExW(0, L"RichEdit20W", L"", style | ES_MULTILINE, TARGET_X, TARGET_Y, TARGET_WIDTH,
                               TARGET_HEIGHT, nullptr, nullptr, instance, nullptr);
    } else {
        className = strcmp(kind, "wwg") == 0 ? "_WwG" : "ZelvoE2EPaster";
        copiesOnPaste = strcmp(kind, "copier") == 0;
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = PasterProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursor(nullptr, IDC_IBEAM);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        WCHAR wideName[32];
        MultiByteToWideChar(CP_ACP, 0, className, -1, wideName, 32);
        windowClass.lpszClassName = wideName;
        RegisterClassW(&windowClass);
        return CreateWindowExW(0, wideName, L"", style, TARGET_X, TARGET_Y, TARGET_WIDTH,
                               TARGET_HEIGHT, nullptr, nullptr, instance, nullptr);
    }
    return CreateWindowExA(0, className, "", style, TARGET_X, TARGET_Y, TARGET_WIDTH,
                           TARGET_HEIGHT, nullptr, nullptr, instance, nullptr);
}

// The system loads the hook library into this process when a message is retrieved after
// the hook was installed.
static void ReportHookLibrary() {
    if (!hookReported && hookLibrary[0] != '\0' && GetModuleHandleA(hookLibrary) != nullptr) {
        hookReported = true;
        Report("hooked", 0);
    }
}

// The quoted hook library after kind and observer, if there is one.
static void ReadHookLibrary(const char* commandLine) {
    const char* open = strchr(commandLine, '"');
    const char* close = open != nullptr ? strchr(open + 1, '"') : nullptr;
    size_t length = close != nullptr ? static_cast<size_t>(close - open - 1) : 0;
    if (length < sizeof hookLibrary) {
        memcpy(hookLibrary, open + 1, length);
        hookLibrary[length] = '\0';
    }
}

// What the application receives, after the hook.
static void ReportReceived(const MSG& message) {
    switch (message.message) {
    case WM_KEYDOWN:
        Report("down %lx", static_cast<unsigned long>(message.wParam));
        break;
    case WM_KEYUP:
        // The right Shift as itself: the tests' barrier is the left one.
        Report("up %lx", message.wParam == VK_SHIFT && ((message.lParam >> 16) & 0xFF) == 0x36
                             ? static_cast<unsigned long>(VK_RSHIFT)
                             : static_cast<unsigned long>(message.wParam));
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_MOUSEWHEEL:
        Report("mouse %lx", message.message);
        break;
    default:
        break;
    }
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    char kind[32] = {};
    unsigned long observerValue = 0;
    if (sscanf(commandLine, "%31s %lx", kind, &observerValue) != 2) {
        return 2;
    }
    observer = static_cast<HWND>(ULongToHandle(observerValue));
    ReadHookLibrary(commandLine);
    HWND window = CreateTarget(kind);
    if (window == nullptr) {
        return 3;
    }
    SetForegroundWindow(window);
    SetFocus(window);
    Report("ready %lx", HandleToULong(window));
    // A Unicode loop: an ANSI one hands an EDIT each double-byte character of an IME result
    // as two characters under Wine.
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        ReportHookLibrary();
        ReportReceived(message);
        TranslateMessage(&message);
        DispatchMessageW(&message);
        if (!IsWindow(window)) {
            break;  // closed by the test
        }
    }
    return 0;
}
