#include "trace.h"

#include <cstdarg>

// One pause per module and process, started by a line the viewer did not take in time.
static bool tracePaused = false;
static DWORD tracePausedAt = 0;

static bool TracingPaused() {
    if (tracePaused && GetTickCount() - tracePausedAt >= TRACE_PAUSE_MS) {
        tracePaused = false;
    }
    return tracePaused;
}

HWND FindTraceViewer() {
    return FindWindowA(TRACE_VIEWER_CLASS, nullptr);
}

void TraceTo(HWND viewer, const char* format, ...) {
    if (viewer == nullptr || TracingPaused()) {
        return;
    }
    static char text[TRACE_TEXT_SIZE];  // one per module and process
    va_list args;
    va_start(args, format);
    wvsprintfA(text, format, args);
    va_end(args);
    COPYDATASTRUCT record = {};
    record.dwData = 0;
    record.cbData = lstrlenA(text) + 1;
    record.lpData = text;
    DWORD_PTR answer = 0;
    SetLastError(ERROR_SUCCESS);
    if (SendMessageTimeoutA(viewer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record),
                            SMTO_ABORTIFHUNG | SMTO_NORMAL, TRACE_SEND_TIMEOUT_MS, &answer) == 0 &&
        GetLastError() == ERROR_TIMEOUT) {
        tracePaused = true;
        tracePausedAt = GetTickCount();
    }
}
