// A clipboard owner in a process of its own, for the end-to-end tests: it puts Unicode text on
// the clipboard that it renders only when a reader asks for it (delayed rendering), as many
// applications do with what they copy.
//   clipboard_owner.exe <observer>
// Reports (WM_COPYDATA text to the observer): "owner <window>" once the clipboard is its,
// "rendered" each time it renders the text.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "e2e_protocol.h"

static HWND observer;

static void Report(const char* text) {
    COPYDATASTRUCT record = {};
    record.cbData = static_cast<DWORD>(strlen(text) + 1);
    record.lpData = const_cast<char*>(text);
    SendMessageA(observer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
}

static LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_RENDERFORMAT:
        if (wParam == CF_UNICODETEXT) {
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof OWNER_TEXT);
            if (void* bytes = block != nullptr ? GlobalLock(block) : nullptr) {
                memcpy(bytes, OWNER_TEXT, sizeof OWNER_TEXT);
                GlobalUnlock(block);
                SetClipboardData(CF_UNICODETEXT, block);
                Report("rendered");
            }
        }
        return 0;
    case WM_RENDERALLFORMATS:
        return 0;  // the text goes with the window
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    unsigned long observerValue = 0;
    if (sscanf(commandLine, "%lx", &observerValue) != 1) {
        return 2;
    }
    observer = static_cast<HWND>(ULongToHandle(observerValue));
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = OwnerProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"ZelvoE2EClipboardOwner";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"owner", WS_OVERLAPPED, 0, 0, 50, 50, nullptr,
                                  nullptr, instance, nullptr);
    if (window == nullptr || !OpenClipboard(window)) {
        return 3;
    }
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, nullptr);
    CloseClipboard();
    char ready[32];
    snprintf(ready, sizeof ready, "owner %lx", HandleToULong(window));
    Report(ready);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    return 0;
}
