#include "caret_choice.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(CaretChoice, CompositionPositionIsUsedUnlessAtTheOrigin) {
    const struct {
        int x, y;
        bool used;
    } cases[] = {{0, 0, false}, {0, 7, true}, {7, 0, true}, {-3, 0, true}, {120, 48, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(AcceptsCompositionPosition(c.x, c.y), c.used) << c.x << "," << c.y;
    }
}

TEST(CaretChoice, CandidatePositionNeedsBothCoordinatesAtLeastFive) {
    const struct {
        int x, y;
        bool used;
    } cases[] = {{5, 5, true},   {4, 100, false}, {100, 4, false},
                 {0, 0, false},  {-10, 50, false}, {300, 200, true}};
    for (const auto& c : cases) {
        EXPECT_EQ(AcceptsCandidatePosition(c.x, c.y), c.used) << c.x << "," << c.y;
    }
}

TEST(CaretChoice, ThreadCaretMustBlinkInTheTargetWindow) {
    const struct {
        unsigned long flags;
        bool inTarget;
        bool used;
    } cases[] = {
        {0x1, true, true},  {0x1, false, false},  // blinking in another window of the thread
        {0x0, true, false}, {0x2, true, false},   {0x3, true, true}, {0x11, true, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AcceptsThreadCaret(c.flags, c.inTarget), c.used)
            << std::hex << c.flags << " " << c.inTarget;
    }
}

TEST(CaretChoice, EachSourceHasItsOffset) {
    const struct {
        CaretSource source;
        int x, y;
        int expectedX, expectedY;
    } cases[] = {
        {CARET_FROM_COMPOSITION, 0, 7, 20, 22},
        {CARET_FROM_CANDIDATE, 5, 5, 25, 25},
        {CARET_FROM_THREAD, 10, 46, 30, 71},  // caret rectangle left 10, bottom 46
        {CARET_FROM_CARET, 10, 30, 30, 45},
        {CARET_FROM_CARET, -50, -20, -30, -5},
        {CARET_FROM_THREAD, INT_MAX - 3, INT_MAX, INT_MAX, INT_MAX},  // no overflow
    };
    for (const auto& c : cases) {
        CaretPoint point = OffsetCaretPoint(c.source, c.x, c.y);
        EXPECT_EQ(point.x, c.expectedX) << c.source << " " << c.x << "," << c.y;
        EXPECT_EQ(point.y, c.expectedY) << c.source << " " << c.x << "," << c.y;
    }
}

TEST(CaretChoice, LastResortUsesTheOriginWhenTheCaretCannotBeRead) {
    const struct {
        bool read;
        int x, y;
        int expectedX, expectedY;
    } cases[] = {{true, 10, 30, 30, 45}, {false, 10, 30, 20, 15}, {false, 0, 0, 20, 15}};
    for (const auto& c : cases) {
        CaretPoint point = LastResortCaretPoint(c.read, c.x, c.y);
        EXPECT_EQ(point.x, c.expectedX) << c.read;
        EXPECT_EQ(point.y, c.expectedY) << c.read;
    }
}

}  // namespace
