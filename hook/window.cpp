// The windows the hook works with: the resident program's, from the shared state, and the
// class name of a target window.
#include "hook_operations.h"
#include "message_route.h"

HWND CandidateWindow() {
    return SharedWindow(hookShared.candidateWindow);
}

HWND CandidateList() {
    return SharedWindow(hookShared.candidateList);
}

// Asks the system, not the resident program's thread: it never waits.
bool CandidatesVisible() {
    HWND window = CandidateWindow();
    return window != nullptr && IsWindowVisible(window);
}

void ReadClassName(HWND window, char name[CLASS_NAME_SIZE]) {
    name[0] = '\0';
    if (GetClassNameA(window, name, CLASS_NAME_SIZE) <= 0) {
        name[0] = '\0';
    }
    name[CLASS_NAME_SIZE - 1] = '\0';
}

HWND TraceViewer() {
    return SharedWindow(hookShared.traceViewer);
}

void ConsumeMessage(MSG* message) {
    message->message = hookProcess.dummyMessage;
}

bool IsWindowOfThisProcess(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);  // leaves 0 for no window
    return ActsOnWindowOf(process, GetCurrentProcessId());
}
