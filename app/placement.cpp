#include "placement.h"

static int Smaller(int a, int b) {
    return a < b ? a : b;
}

static int Larger(int a, int b) {
    return a > b ? a : b;
}

WindowPlacement PlaceOnMonitor(int x, int y, const ScreenRect& monitor) {
    WindowPlacement placement = {Larger(x, monitor.left), Larger(y, monitor.top), CANDIDATE_WIDTH,
                                 CANDIDATE_HEIGHT};
    if (placement.left + CANDIDATE_WIDTH >= monitor.right) {
        placement.left = monitor.right - CANDIDATE_WIDTH;
    }
    if (placement.top + CANDIDATE_HEIGHT >= monitor.bottom) {
        placement.height = monitor.bottom - placement.top;
    }
    if (placement.height < CANDIDATE_MIN_HEIGHT) {
        placement.height = CANDIDATE_MIN_HEIGHT;
        placement.top = monitor.bottom - CANDIDATE_MIN_HEIGHT;
    }
    // A monitor smaller than the window: its left and top edges hold, the window is cut.
    placement.left = Larger(placement.left, monitor.left);
    placement.top = Larger(placement.top, monitor.top);
    placement.width = Smaller(placement.width, monitor.right - placement.left);
    placement.height = Smaller(placement.height, monitor.bottom - placement.top);
    return placement;
}
