// Placing the candidates at the caret of the target: at once, when the target's thread
// retrieves the deferred move message, or again after a left-button release; and hiding
// them on other mouse input.
#include "composition_text.h"
#include "exchange.h"
#include "hook_operations.h"

void SendShowRequest(HWND window, POINT point) {
    ClientToScreen(window, &point);
    SendToCandidateWindow(WM_ZELVO_SHOW, PackShowPosition(point.x, point.y),
                          reinterpret_cast<LPARAM>(window));
}

// The composition and its reading are already in the ExchangeBlock: ShowCandidates wrote
// them before deferring. A move message that finds the slot empty (an earlier one used it)
// places nothing.
void PlaceDeferredCandidates() {
    HWND target = SharedWindow(hookShared.deferredTarget);
    if (target == nullptr) {
        return;
    }
    char className[CLASS_NAME_SIZE];
    ReadClassName(target, className);
    POINT point;
    FindCaretPosition(target, className, &point);
    TraceTo(TraceViewer(), "--pos=%d %d ", point.x, point.y);
    SendShowRequest(target, point);
    TraceTo(TraceViewer(), "-- %X", hookShared.candidateWindow);
    hookShared.deferredTarget = 0;
}

void RefreshCandidates() {
    if (CandidatesVisible()) {
        ReadComposition(nullptr, REFRESH_FLAGS);
    }
}

// Hidden directly, without WM_ZELVO_HIDE; the mouse message still reaches the application.
void HideCandidatesOnMouse() {
    if (CandidatesVisible()) {
        ShowWindow(CandidateWindow(), SW_HIDE);
    }
}
