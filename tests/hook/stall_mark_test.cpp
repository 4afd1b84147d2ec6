// When the hook leaves the resident program alone after a call was not answered in time.
#include "stall_mark.h"

#include <gtest/gtest.h>

namespace {

TEST(StallMark, OnlyAWindowThatExistsAndDidNotAnswerIsAStall) {
    const struct {
        const char* what;
        unsigned long error;
        bool windowExists;
        bool stall;
    } cases[] = {
        {"timed out", 1460, true, true},             // ERROR_TIMEOUT
        {"refused as hung, no error code", 0, true, true},
        {"the window is gone", 1400, false, false},  // ERROR_INVALID_WINDOW_HANDLE
        {"gone, and the error says so", 1400, true, false},
        {"timed out while it went away", 1460, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SendFailureIsStall(c.error, c.windowExists), c.stall) << c.what;
    }
}

StallView Mark(bool markHasHeartbeat, uint32_t markHeartbeat, bool haveHeartbeat, uint32_t heartbeat,
               uint32_t markTick, uint32_t now) {
    return {true, markHasHeartbeat, markHeartbeat, markTick, haveHeartbeat, heartbeat, now};
}

TEST(StallMark, HoldsUntilTheHeartbeatMovesOnOrElseForAWhile) {
    const uint32_t LATER = STALL_FALLBACK_MS;
    const struct {
        const char* what;
        StallView view;
        bool stalled;
    } cases[] = {
        {"no mark", {false, true, 5, 0, true, 5, 0}, false},
        {"the heartbeat seen at the mark", Mark(true, 5, true, 5, 0, 0), true},
        {"still the same long after", Mark(true, 5, true, 5, 0, 100 * LATER), true},
        {"the heartbeat moved on", Mark(true, 5, true, 6, 0, 1), false},
        {"moved on past the wrap", Mark(true, 0xFFFFFFFFu, true, 0, 0, 1), false},
        {"no heartbeat here: within the fixed time", Mark(true, 5, false, 0, 1000, 1000 + LATER - 1), true},
        {"no heartbeat here: the fixed time passed", Mark(true, 5, false, 0, 1000, 1000 + LATER), false},
        {"the mark has none: within the fixed time", Mark(false, 0, true, 9, 1000, 1001), true},
        {"the mark has none: the fixed time passed", Mark(false, 0, true, 9, 1000, 1000 + LATER), false},
        {"the tick count wrapped since the mark", Mark(false, 0, false, 0, 0xFFFFFF00u, 0x10), true},
        {"wrapped, and the fixed time passed", Mark(false, 0, false, 0, 0xFFFFFF00u, LATER), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(StillStalled(c.view), c.stalled) << c.what;
    }
}

}  // namespace
