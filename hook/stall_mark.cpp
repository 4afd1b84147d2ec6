#include "stall_mark.h"

constexpr unsigned long ERROR_WINDOW_GONE = 1400;  // ERROR_INVALID_WINDOW_HANDLE

bool SendFailureIsStall(unsigned long error, bool windowExists) {
    return windowExists && error != ERROR_WINDOW_GONE;
}

bool StillStalled(const StallView& view) {
    if (!view.marked) {
        return false;
    }
    if (view.markHasHeartbeat && view.haveHeartbeat) {
        return view.heartbeat == view.markHeartbeat;
    }
    return view.now - view.markTick < STALL_FALLBACK_MS;  // unsigned: wraps with the tick count
}
