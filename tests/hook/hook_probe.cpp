// A second process for the hook library's tests. It does not link the library: it only
// retrieves messages until the system has loaded the library into it through the installed
// hook, then compares the shared state it sees there with what the test expects.
//   hook_probe <expected settings path> <expected viewer handle, hex>
// Exit codes: 0 as expected, 1 bad arguments or no window, 2 the library never arrived,
// 3 no shared section, 4 another settings path, 5 another viewer, 6 a posted message was
// lost on its way through the hook.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "shared_section.h"

namespace {

const UINT PROBE_MESSAGE = WM_APP + 7;
const WPARAM PROBE_VALUE = 0x5A17;
bool probeArrived = false;

LRESULT CALLBACK ProbeWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PROBE_MESSAGE && wParam == PROBE_VALUE) {
        probeArrived = true;
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateProbeWindow() {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ProbeWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "zelvo_hook_probe";
    RegisterClassA(&windowClass);
    return CreateWindowA("zelvo_hook_probe", "probe", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                         nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Retrieves messages until the hook library is in this process; 10 ms steps, 20 s at most.
HMODULE WaitForHookLibrary(HWND window) {
    for (int step = 0; step < 2000; ++step) {
        PostMessageA(window, WM_NULL, 0, 0);
        PumpMessages();
        HMODULE library = GetModuleHandleA("ZELVOS.DLL");
        if (library != nullptr) {
            return library;
        }
        Sleep(10);
    }
    return nullptr;
}

// A message posted once the hook is in place still reaches the window procedure.
bool PostedMessageArrives(HWND window) {
    PostMessageA(window, PROBE_MESSAGE, PROBE_VALUE, 0);
    for (int step = 0; step < 500 && !probeArrived; ++step) {
        PumpMessages();
        Sleep(10);
    }
    return probeArrived;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        return 1;
    }
    ULONG expectedViewer = strtoul(argv[2], nullptr, 16);
    HWND window = CreateProbeWindow();
    if (window == nullptr) {
        return 1;
    }
    HMODULE library = WaitForHookLibrary(window);
    if (library == nullptr) {
        return 2;
    }
    const HookSharedState* shared = FindSharedState(library);
    if (shared == nullptr) {
        return 3;
    }
    if (strcmp(shared->settingsPath, argv[1]) != 0) {
        printf("probe sees settings path \"%s\"\n", shared->settingsPath);
        return 4;
    }
    if (shared->traceViewer != expectedViewer) {
        printf("probe sees viewer %lx\n", shared->traceViewer);
        return 5;
    }
    int result = PostedMessageArrives(window) ? 0 : 6;
    DestroyWindow(window);
    return result;
}
