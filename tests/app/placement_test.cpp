// Where the CandidateWindow goes for a show request.
#include "placement.h"

#include <gtest/gtest.h>

namespace {

const ScreenRect SCREEN_1024 = {0, 0, 1024, 768};
const ScreenRect LEFT_OF_PRIMARY = {-1280, 0, 0, 1024};
const ScreenRect RIGHT_OF_PRIMARY = {1024, 0, 2944, 1080};
const ScreenRect ABOVE_PRIMARY = {0, -768, 1024, 0};

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
};

TEST(PlacementTest, PlacesOnTheMonitorOfThePoint) {
    for (const PlacementCase& c : PLACEMENT_CASES) {
        WindowPlacement p = PlaceOnMonitor(c.x, c.y, c.monitor);
        EXPECT_EQ(p.left, c.expected.left) << c.what;
        EXPECT_EQ(p.top, c.expected.top) << c.what;
        EXPECT_EQ(p.width, c.expected.width) << c.what;
        EXPECT_EQ(p.height, c.expected.height) << c.what;
    }
}

}  // namespace
