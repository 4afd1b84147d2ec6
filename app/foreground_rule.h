// The decision of the periodic foreground check. No Windows headers.
#pragma once

struct ForegroundView {
    bool candidateVisible;
    unsigned long targetThread;      // 0 = no target
    unsigned long foregroundThread;  // thread of the foreground window
    bool foregroundIsCandidate;      // the foreground window is the CandidateWindow itself
    bool targetGone;                 // the recorded target window no longer exists
};

// True when the user has turned to another application while candidates were shown, or the
// window they were shown for no longer exists.
bool ShouldHideForForeground(const ForegroundView& view);
