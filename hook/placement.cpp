// Placing the candidates at the caret of the target: at once, when the target's thread
// retrieves the deferred move message, or again after a left-button release; and hiding
// them on other mouse input.
#include <cstring>

#include "composition_text.h"
#include "exchange.h"
#include "hook_operations.h"

void SendShowRequest(HWND window, POINT point, const char* composition, const char* reading) {
    ClientToScreen(window, &point);
    SendRequestRecord(WM_ZELVO_SHOW, PackShowPosition(point.x, point.y), window, composition, reading);
}

bool KeepDeferredPair(const char* composition, const char* reading) {
    size_t compositionLength = strnlen(composition, EXCHANGE_FIELD_SIZE);
    size_t readingLength = strnlen(reading, EXCHANGE_FIELD_SIZE);
    if (compositionLength >= EXCHANGE_FIELD_SIZE || readingLength >= EXCHANGE_FIELD_SIZE) {
        return false;
    }
    memcpy(hookProcess.deferredComposition, composition, compositionLength + 1);
    memcpy(hookProcess.deferredReading, reading, readingLength + 1);
    return true;
}

// The composition and its reading were kept by ShowCandidates before it deferred. A move
// message that finds the slot empty (an earlier one used it) places nothing.
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
    SendShowRequest(target, point, hookProcess.deferredComposition, hookProcess.deferredReading);
    TraceTo(TraceViewer(), "-- %X", hookShared.candidateWindow);
    hookShared.deferredTarget = 0;
}

void RefreshCandidates() {
    if (CandidatesVisible()) {
        ReadComposition(nullptr, REFRESH_FLAGS);
    }
}

// The mouse message still reaches the application.
void HideCandidatesOnMouse() {
    if (CandidatesVisible()) {
        HideCandidates();
    }
}
