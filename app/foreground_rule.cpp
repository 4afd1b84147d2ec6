#include "foreground_rule.h"

bool ShouldHideForForeground(const ForegroundView& view) {
    if (!view.candidateVisible || view.targetThread == 0) {
        return false;
    }
    if (view.targetGone) {
        return true;
    }
    return view.foregroundThread != view.targetThread && !view.foregroundIsCandidate;
}
