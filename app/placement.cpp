#include "placement.h"

WindowPlacement PlaceOnMonitor(int x, int y, const ScreenRect& monitor) {
    WindowPlacement placement = {x, y, CANDIDATE_WIDTH, CANDIDATE_HEIGHT};
    if (x + CANDIDATE_WIDTH >= monitor.right) {
        placement.left = monitor.right - CANDIDATE_WIDTH;
    }
    if (y + CANDIDATE_HEIGHT >= monitor.bottom) {
        placement.height = monitor.bottom - y;
    }
    if (placement.height < CANDIDATE_MIN_HEIGHT) {
        placement.height = CANDIDATE_MIN_HEIGHT;
        placement.top = monitor.bottom - CANDIDATE_MIN_HEIGHT;
    }
    return placement;
}
