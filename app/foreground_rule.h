// The decision of the periodic foreground check. No Windows headers.
#pragma once

struct ForegroundView {
    bool candidateVisible;
    unsigned long targetThread;      // 0 = no target
    unsigned long foregroundThread;  // thread of the foreground window
    bool foregroundIsCandidate;      // the foreground window is the CandidateWindow itself
};

// True when the user has turned to another application while candidates were shown.
bool ShouldHideForForeground(const ForegroundView& view);
