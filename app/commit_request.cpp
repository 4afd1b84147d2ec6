// A choice made inside the CandidateWindow (Enter or double click) is committed by the hook
// in the target application's own thread: the program only posts it the request.
#include "candidate_window.h"
#include "exchange.h"
#include "resident_state.h"

void RequestCommit() {
    if (residentState.targetWindow == nullptr) {
        return;
    }
    UINT commitMessage = RegisterWindowMessageA(COMMIT_MESSAGE_NAME);
    if (commitMessage == 0) {
        return;  // posting message 0 would ask nothing of anyone
    }
    PostMessageA(residentState.targetWindow, commitMessage, 0, 0);
}
