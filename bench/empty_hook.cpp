// The benchmark's own global message hook: it passes every message on and does nothing
// else, the floor against which the hook library's cost is measured.
#include <windows.h>

static HHOOK hook = nullptr;
static HINSTANCE module = nullptr;

static LRESULT CALLBACK EmptyHook(int code, WPARAM removal, LPARAM message) {
    return CallNextHookEx(hook, code, removal, message);
}

extern "C" __declspec(dllexport) int InstallEmptyHook() {
    hook = SetWindowsHookExA(WH_GETMESSAGE, EmptyHook, module, 0);
    return hook != nullptr ? 1 : 0;
}

extern "C" __declspec(dllexport) int RemoveEmptyHook() {
    BOOL removed = hook != nullptr && UnhookWindowsHookEx(hook);
    hook = nullptr;
    return removed ? 1 : 0;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        module = instance;
    }
    return TRUE;
}
