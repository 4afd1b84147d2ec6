// Every 500 ms: hide the candidates once the user has turned to another application or the
// target window is gone.
#include "candidate_window.h"
#include "foreground_rule.h"
#include "resident_state.h"

void RunForegroundCheck() {
    HWND window = residentState.mainWindow;
    ForegroundView view = {};
    view.candidateVisible = IsWindowVisible(window) != FALSE;
    view.targetThread = residentState.targetThread;
    if (!view.candidateVisible || view.targetThread == 0) {
        return;
    }
    view.targetGone = !IsWindow(residentState.targetWindow);
    view.foregroundThread = GetWindowThreadProcessId(GetForegroundWindow(), nullptr);
    view.foregroundIsCandidate = GetForegroundWindow() == window;
    if (ShouldHideForForeground(view)) {
        HideCandidateWindow();
    }
}
