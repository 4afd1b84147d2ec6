// The exports: installing and removing the message hook, and the settings-file name.
#include <windows.h>

#include <cstring>

#include "hook_state.h"
#include "message_hook.h"
#include "program_path.h"
#include "settings_path.h"
#include "trace.h"
#include "zelvos.h"

static bool IsAnsiLeadByte(unsigned char byte) {
    return IsDBCSLeadByte(byte) != FALSE;
}

// The full path of the running program in a form the ANSI calls can open, or null when it
// has none that fits the buffer.
static const char* ProgramPath(char* buffer) {
    return AnsiModulePath(nullptr, buffer, SETTINGS_PATH_SIZE) ? buffer : nullptr;
}

// Resolves settingsName into the shared settings path and copies it back to the caller.
// A name that does not fit is refused: both become the empty string.
static void StoreSettingsPath(char* settingsName) {
    char program[SETTINGS_PATH_SIZE];
    if (!ResolveSettingsPath(settingsName, ProgramPath(program), hookShared.settingsPath,
                             IsAnsiLeadByte)) {
        TraceTo(SharedWindow(hookShared.traceViewer), "settings name refused ");
    }
    if (settingsName != nullptr) {
        memcpy(settingsName, hookShared.settingsPath, strlen(hookShared.settingsPath) + 1);
    }
}

// A hook handle still stored here was left by a copy of the program that ended without
// EndZelvo (it crashed or was killed). Where the system keeps such a hook, it would run
// beside the new one: it is removed first.
static void RemoveLeftoverHook() {
    HHOOK leftover = SharedHook();
    if (leftover != nullptr) {
        UnhookWindowsHookEx(leftover);
        hookShared.hookHandle = 0;
    }
}

ZELVOS_API int WINAPI InitZelvo(char* settingsName, HWND candidateWindow, HWND candidateList) {
    RemoveLeftoverHook();
    hookShared.candidateWindow = ToSharedValue(candidateWindow);
    hookShared.candidateList = ToSharedValue(candidateList);
    hookShared.stalled = 0;  // a mark about an earlier copy of the program
    StoreSettingsPath(settingsName);
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, MessageHook, hookProcess.module, 0);
    hookShared.hookHandle = ToSharedValue(hook);
    return 1;
}

ZELVOS_API int WINAPI EndZelvo(void) {
    HHOOK hook = SharedHook();
    if (hook == nullptr) {
        return 0;
    }
    BOOL removed = UnhookWindowsHookEx(hook);
    hookShared.hookHandle = 0;
    return removed ? 1 : 0;
}

ZELVOS_API int WINAPI QueryEnd(void) {
    return 1;
}
