// Where the CandidateWindow goes for a show request: the arithmetic only, over the
// rectangle of the monitor that holds the point. No Windows headers.
#pragma once

constexpr int CANDIDATE_WIDTH = 240;
constexpr int CANDIDATE_HEIGHT = 160;
constexpr int CANDIDATE_MIN_HEIGHT = 48;  // a few lines stay readable near the bottom edge

struct ScreenRect {
    int left;
    int top;
    int right;   // exclusive
    int bottom;  // exclusive
};

struct WindowPlacement {
    int left;
    int top;
    int width;
    int height;
};

// The window at x, y, 240 wide and 160 high, wholly inside the monitor. A point left of or
// above the monitor is moved onto its left or top edge. A window that would cross the
// monitor's right edge is shifted left to end there; one that would cross the bottom edge is
// shortened to end there, but never below CANDIDATE_MIN_HEIGHT: it then moves up just
// enough. On a monitor smaller than that the window keeps the top-left corner and is cut.
WindowPlacement PlaceOnMonitor(int x, int y, const ScreenRect& monitor);
