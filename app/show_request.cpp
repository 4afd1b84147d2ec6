// Show requests: fill the CandidateList for the reading being composed and show it at the
// caret, on the monitor that holds the caret, without taking the focus from the target.
#include "candidate_window.h"
#include "conv_function.h"
#include "learning_choices.h"
#include "exchange.h"
#include "placement.h"
#include "resident_state.h"

static const UINT SHOW_WITHOUT_ACTIVATION = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW;
static_assert(SHOW_WITHOUT_ACTIVATION == 0x53, "show flags");

static ScreenRect MonitorRectAt(int x, int y) {
    POINT point = {x, y};
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    if (monitor != nullptr && GetMonitorInfoA(monitor, &info)) {
        return {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
    }
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// The dictionary fills the list (with its repainting held back); returns the number of lines.
static int FillCandidateList(const char* reading) {
    return ConvFunction(CONV_LOOKUP, reinterpret_cast<INT_PTR>(residentState.listBox),
                        reinterpret_cast<INT_PTR>(reading), -1, -1);
}

bool PlaceCandidateWindow(const char* reading, int x, int y) {
    HWND window = residentState.mainWindow;
    lstrcpynA(residentState.shownReading, reading, EXCHANGE_FIELD_SIZE);
    if (FillCandidateList(reading) == 0) {
        HideCandidateWindow();
        return false;
    }
    if (!IsWindowVisible(window) || !residentState.movedByUser) {
        WindowPlacement placement = PlaceOnMonitor(x, y, MonitorRectAt(x, y));
        MoveWindow(window, placement.left, placement.top, placement.width, placement.height, TRUE);
    }
    SetWindowPos(window, nullptr, 0, 0, 0, 0, SHOW_WITHOUT_ACTIVATION);
    return true;
}

void RefreshCandidateList() {
    HWND list = residentState.listBox;
    LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    int count = FillCandidateList(residentState.shownReading);
    if (count == 0) {
        HideCandidateWindow();
        return;
    }
    if (selected != LB_ERR) {
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(selected < count ? selected : count - 1), 0);
    }
}

void AnswerShowRequest(const char* reading, unsigned long packedPosition, HWND target) {
    if (target != nullptr && !IsWindow(target)) {
        HideCandidateWindow();  // nobody is left to type into
        return;
    }
    if (PlaceCandidateWindow(reading, ShowPositionX(packedPosition), ShowPositionY(packedPosition))) {
        NoteCandidatesProgram(target);
    }
    // Recorded after the placement: a hide in there forgets the old target, not this one.
    residentState.targetWindow = target;
    residentState.targetThread = GetWindowThreadProcessId(target, nullptr);
}

void HandleShowRequest(WPARAM packedPosition, LPARAM targetWindow) {
    char composition[EXCHANGE_FIELD_SIZE];
    char reading[EXCHANGE_FIELD_SIZE];
    CopyExchangePair(composition, reading);
    AnswerShowRequest(reading, static_cast<unsigned long>(packedPosition),
                      reinterpret_cast<HWND>(targetWindow));
}
