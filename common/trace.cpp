#include "trace.h"

#include <cstdarg>

HWND FindTraceViewer() {
    return FindWindowA(TRACE_VIEWER_CLASS, nullptr);
}

void TraceTo(HWND viewer, const char* format, ...) {
    if (viewer == nullptr) {
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
    SendMessageA(viewer, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
}
