#include "desktop_input.h"

#include <cstring>

namespace {

struct WindowSearch {
    const char* className;
    DWORD processId;  // 0: any process
    bool visibleOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindows(HWND window, LPARAM parameter) {
    WindowSearch* search = reinterpret_cast<WindowSearch*>(parameter);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (strcmp(className, search->className) == 0 && (!search->visibleOnly || IsWindowVisible(window)) &&
        (search->processId == 0 || processId == search->processId)) {
        search->found.push_back(window);
    }
    return TRUE;
}

}  // namespace

std::vector<HWND> VisibleWindows(const char* className, DWORD processId, bool visibleOnly) {
    WindowSearch search = {className, processId, visibleOnly, {}};
    EnumWindows(CollectWindows, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

RECT Rect(HWND window) {
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

POINT Center(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void MoveMouse(POINT at) {
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (at.x * 65536 + 32768) / GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy = (at.y * 65536 + 32768) / GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

void Click(POINT at, DWORD down, DWORD up) {
    MoveMouse(at);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = down;
    inputs[1].mi.dwFlags = up;
    SendInput(2, inputs, sizeof inputs[0]);
}

void PressKey(WORD key) {
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof inputs[0]);
}

HWND Taskbar() {
    return FindWindowA("Shell_TrayWnd", nullptr);
}

// The first icon takes the square at the right end of the taskbar.
POINT FirstIconCenter() {
    RECT bar = Rect(Taskbar());
    int side = bar.bottom - bar.top;
    return POINT{bar.right - side / 2, bar.top + side / 2};
}

std::vector<std::string> ShownTooltips() {
    std::vector<std::string> texts;
    for (HWND tip : VisibleWindows("tooltips_class32", 0)) {
        // The wide call: the text is another process's; converted to the ANSI code page here.
        wchar_t wide[1024] = {};
        SendMessageW(tip, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(wide));
        char text[2048] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        if (text[0] != '\0') {
            texts.push_back(text);
        }
    }
    return texts;
}

std::string DialogText(HWND box) {
    std::string all;
    HWND child = nullptr;
    while ((child = FindWindowExA(box, child, "Static", nullptr)) != nullptr) {
        wchar_t wide[2048] = {};
        SendMessageW(child, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(wide));
        char text[4096] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        all += text;
    }
    return all;
}

std::vector<HWND> MessageBoxes(DWORD processId) {
    return processId != 0 ? VisibleWindows("#32770", processId) : std::vector<HWND>();
}

// The waiting thread goes on handling its messages: other programs send to its windows (a
// trace viewer, a target) and must not wait on it.
HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        std::vector<HWND> boxes = MessageBoxes(processId);
        if (!boxes.empty()) {
            return boxes[0];
        }
        if (GetTickCount() - start >= timeoutMs) {
            return nullptr;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void AnswerMessageBox(HWND box, int button) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}
