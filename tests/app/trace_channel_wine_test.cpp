// The TraceChannel with a viewer that does not answer: the sender waits a bounded time once,
// then leaves the viewer alone for a while, and sends again after that.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "trace.h"

namespace {

const DWORD WATCHDOG_MS = 20000;

struct Viewer {
    HWND window = nullptr;
    HANDLE created = nullptr;
    HANDLE release = nullptr;      // the test lets the viewer's thread pump again
    HANDLE released = nullptr;     // set by whoever released it: the test or the watchdog
    bool releasedByWatchdog = false;
    std::vector<std::string> lines;
};

Viewer viewer;

LRESULT CALLBACK ViewerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const COPYDATASTRUCT* record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        viewer.lines.emplace_back(static_cast<const char*>(record->lpData), record->cbData - 1);
        return TRUE;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A viewer on a thread of its own that stops taking messages until it is released.
DWORD WINAPI ViewerThread(void*) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = ViewerProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = TRACE_VIEWER_CLASS;
    RegisterClassA(&windowClass);
    viewer.window = CreateWindowA(TRACE_VIEWER_CLASS, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    SetEvent(viewer.created);
    viewer.releasedByWatchdog = WaitForSingleObject(viewer.release, WATCHDOG_MS) != WAIT_OBJECT_0;
    SetEvent(viewer.released);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}

void Pump(DWORD milliseconds) {
    DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

TEST(TraceChannel, AViewerThatDoesNotAnswerIsLeftAloneForAWhile) {
    viewer.created = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    viewer.release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    viewer.released = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    DWORD threadId = 0;
    HANDLE thread = CreateThread(nullptr, 0, ViewerThread, nullptr, 0, &threadId);
    ASSERT_EQ(WaitForSingleObject(viewer.created, 5000), WAIT_OBJECT_0);
    ASSERT_NE(viewer.window, nullptr);

    for (int i = 0; i < 10; ++i) {
        TraceTo(viewer.window, "held %d ", i);
    }
    // The sender went on while the viewer was still held: it was not released by the watchdog.
    SetEvent(viewer.release);
    ASSERT_EQ(WaitForSingleObject(viewer.released, WATCHDOG_MS + 5000), WAIT_OBJECT_0);
    EXPECT_FALSE(viewer.releasedByWatchdog) << "the trace lines waited for the viewer";
    // Answering again, it still gets nothing for a while: the sender leaves it alone.
    TraceTo(viewer.window, "paused ");
    Pump(200);
    EXPECT_TRUE(viewer.lines.empty()) << viewer.lines.size() << " lines, the first: " << viewer.lines[0];

    Pump(TRACE_PAUSE_MS);
    TraceTo(viewer.window, "again %d ", 7);
    EXPECT_EQ(viewer.lines, std::vector<std::string>{"again 7 "});

    PostThreadMessageA(threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(thread, 5000);
    CloseHandle(thread);
}

}  // namespace
