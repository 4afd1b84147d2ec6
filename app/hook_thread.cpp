// The thread that installs the resident program's hook and does nothing else but retrieve
// messages until the program ends. Windows calls the hook for the applications of the other
// width in the thread that installed it, and they wait for that call: it must never wait on
// the window thread, which may be inside a modal loop, saving, or stopped.
#include "resident_state.h"
#include "startup.h"
#include "zelvos.h"

static const DWORD HOOK_THREAD_END_WAIT_MS = 10000;

struct HookThreadStart {
    HANDLE installed;  // set once InitZelvo has returned
    int result;        // what InitZelvo returned
};

static DWORD WINAPI HookThreadMain(void* parameter) {
    HookThreadStart* start = static_cast<HookThreadStart*>(parameter);
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);  // the queue, for StopHookThread's WM_QUIT
    int result = InitZelvo(residentState.settingsName, residentState.mainWindow, residentState.listBox);
    start->result = result;
    SetEvent(start->installed);  // start is gone from here on
    if (result != 1) {
        return 0;
    }
    while (GetMessageA(&message, nullptr, 0, 0) != 0) {  // -1 goes on like any message
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    EndZelvo();
    return 0;
}

bool StartHookThread() {
    HookThreadStart start = {CreateEventA(nullptr, TRUE, FALSE, nullptr), 0};
    if (start.installed == nullptr) {
        return false;
    }
    residentState.hookThread = CreateThread(nullptr, 0, HookThreadMain, &start, 0, &residentState.hookThreadId);
    bool installed = false;
    if (residentState.hookThread != nullptr) {
        HANDLE waits[] = {start.installed, residentState.hookThread};
        installed = WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 && start.result == 1;
    }
    CloseHandle(start.installed);
    return installed;
}

void StopHookThread() {
    if (residentState.hookThread == nullptr) {
        return;
    }
    PostThreadMessageA(residentState.hookThreadId, WM_QUIT, 0, 0);
    if (WaitForSingleObject(residentState.hookThread, HOOK_THREAD_END_WAIT_MS) != WAIT_OBJECT_0) {
        TRACE("hook thread did not end ");
    }
    CloseHandle(residentState.hookThread);
    residentState.hookThread = nullptr;
}
