// Where the CandidateWindow goes for a show request.
#include "placement.h"

#include <gtest/gtest.h>

namespace {

const ScreenRect SCREEN_1024 = {0, 0, 1024, 768};
const ScreenRect LEFT_OF_PRIMARY = {-1280, 0, 0, 1024};
const ScreenRect RIGHT_OF_PRIMARY = {1024, 0, 2944, 1080};
const ScreenRect ABOVE_PRIMARY = {0, -768, 1024, 0};
const ScreenRect TINY_MONITOR = {0, 0, 200, 40};

struct PlacementCase {
    const char* what;
    ScreenRect monitor;
    int x;
    int y;
    WindowPlacement expected;
};

const PlacementCase PLACEMENT_CASES[] = {
    {"inside the screen", SCREEN_1024, 100, 100, {100, 100, 240, 160}},
    {"near the right and bottom edges", SCREEN_1024, 900, 700, {784, 700, 240, 68}},
    {"ends exactly at the right edge", SCREEN_1024, 784, 100, {784, 100, 240, 160}},
    {"one pixel left of that", SCREEN_1024, 783, 100, {783, 100, 240, 160}},
    {"ends exactly at the bottom edge", SCREEN_1024, 0, 608, {0, 608, 240, 160}},
    {"one pixel above that", SCREEN_1024, 0, 607, {0, 607, 240, 160}},
    {"shortened to the smallest height", SCREEN_1024, 0, 720, {0, 720, 240, 48}},
    {"too close to the bottom: moved up", SCREEN_1024, 0, 740, {0, 720, 240, 48}},
    {"at the bottom edge", SCREEN_1024, 0, 768, {0, 720, 240, 48}},
    {"below the bottom edge", SCREEN_1024, 0, 900, {0, 720, 240, 48}},
    {"monitor left of the primary", LEFT_OF_PRIMARY, -1000, 100, {-1000, 100, 240, 160}},
    {"right edge of the left monitor", LEFT_OF_PRIMARY, -100, 100, {-240, 100, 240, 160}},
    {"bottom of the taller right monitor", RIGHT_OF_PRIMARY, 1500, 1000, {1500, 1000, 240, 80}},
    {"right edge of the right monitor", RIGHT_OF_PRIMARY, 2900, 100, {2704, 100, 240, 160}},
    {"monitor above the primary", ABOVE_PRIMARY, 100, -300, {100, -300, 240, 160}},
    {"bottom of the monitor above", ABOVE_PRIMARY, 100, -10, {100, -48, 240, 48}},
    {"left of the screen", SCREEN_1024, -50, 100, {0, 100, 240, 160}},
    {"above the screen", SCREEN_1024, 100, -30, {100, 0, 240, 160}},
    {"far above and left (the most negative 16-bit point)", SCREEN_1024, -32768, -32768, {0, 0, 240, 160}},
    {"far right and below", SCREEN_1024, 32767, 32767, {784, 720, 240, 48}},
    {"left of the left monitor", LEFT_OF_PRIMARY, -1500, 100, {-1280, 100, 240, 160}},
    {"above the monitor above", ABOVE_PRIMARY, 100, -900, {100, -768, 240, 160}},
    {"monitor smaller than the window", TINY_MONITOR, 10, 10, {0, 0, 200, 40}},
};

TEST(PlacementTest, PlacesOnTheMonitorOfThePoint) {
    for (const PlacementCase& c : PLACEMENT_CASES) {
        WindowPlacement p = PlaceOnMonitor(c.x, c.y, c.monitor);
        // Whole inside the monitor, on all four edges.
        EXPECT_GE(p.left, c.monitor.left) << c.what;
        EXPECT_GE(p.top, c.monitor.top) << c.what;
        EXPECT_LE(p.left + p.width, c.monitor.right) << c.what;
        EXPECT_LE(p.top + p.height, c.monitor.bottom) << c.what;
        EXPECT_EQ(p.left, c.expected.left) << c.what;
        EXPECT_EQ(p.top, c.expected.top) << c.what;
        EXPECT_EQ(p.width, c.expected.width) << c.what;
        EXPECT_EQ(p.height, c.expected.height) << c.what;
    }
}

}  // namespace
