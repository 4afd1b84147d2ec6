// When the resident program starts its host program, and again after the host ended.
#include "host_schedule.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(HostSchedule, StartsAtOnceOnlyWhenWanted) {
    HostSchedule schedule;
    BeginHostSchedule(&schedule, true, 5000);
    EXPECT_TRUE(HostStartDue(schedule, 5000));
    NoteHostStarted(&schedule, 5000);
    EXPECT_FALSE(HostStartDue(schedule, 5000)) << "a second host while one runs";
    EXPECT_FALSE(HostStartDue(schedule, 900000));

    BeginHostSchedule(&schedule, false, 5000);
    EXPECT_FALSE(HostStartDue(schedule, 5000)) << "a 32-bit program, or no host beside it";
    EXPECT_FALSE(HostStartDue(schedule, 900000));
}

TEST(HostRestartPause, DoublesFromTheFirstUpToTheLongest) {
    const struct {
        uint32_t restarts;
        uint32_t pause;
    } cases[] = {{0, 200}, {1, 200}, {2, 400}, {3, 800}, {8, 25600}, {9, 30000}, {10, 30000},
                 {32, 30000}, {0xFFFFFFFF, 30000}};
    for (const auto& c : cases) {
        EXPECT_EQ(HostRestartPause(c.restarts), c.pause) << c.restarts;
    }
}

// A life of the host: what happens (a start at a time, or an end at a time), and the first
// time at which the next start is due afterwards.
enum Event { STARTED, ENDED };
struct Happening {
    Event event;
    uint32_t at;
    uint32_t nextDueAt;  // for ENDED: the first tick at which a start is due again
};

void Live(const char* what, uint32_t begin, const std::vector<Happening>& life) {
    HostSchedule schedule;
    BeginHostSchedule(&schedule, true, begin);
    for (size_t i = 0; i < life.size(); ++i) {
        const Happening& h = life[i];
        if (h.event == STARTED) {
            ASSERT_TRUE(HostStartDue(schedule, h.at)) << what << ", step " << i;
            NoteHostStarted(&schedule, h.at);
            continue;
        }
        NoteHostEnded(&schedule, h.at);
        EXPECT_FALSE(HostStartDue(schedule, h.nextDueAt - 1)) << what << ", step " << i;
        EXPECT_TRUE(HostStartDue(schedule, h.nextDueAt)) << what << ", step " << i;
    }
}

TEST(HostSchedule, AHostThatKeepsEndingWaitsLongerEachTime) {
    Live("killed at once, again and again", 1000,
        {{STARTED, 1000, 0}, {ENDED, 1100, 1300},
         {STARTED, 1300, 0}, {ENDED, 1400, 1800},
         {STARTED, 1800, 0}, {ENDED, 1900, 2700},
         {STARTED, 2700, 0}, {ENDED, 2800, 4400}});
    Live("starts that fail count like quick ends", 0,
        {{ENDED, 0, 200}, {ENDED, 200, 600}, {ENDED, 600, 1400}});
}

TEST(HostSchedule, AHostThatRanSteadilyIsRestartedSoonAgain) {
    Live("quick ends, then a steady run", 1000,
        {{STARTED, 1000, 0}, {ENDED, 1100, 1300},
         {STARTED, 1300, 0}, {ENDED, 1400, 1800},
         {STARTED, 1800, 0}, {ENDED, 1800 + HOST_STEADY_MS, 2000 + HOST_STEADY_MS}});
    Live("just short of steady", 0,
        {{STARTED, 0, 0}, {ENDED, 100, 300},
         {STARTED, 300, 0}, {ENDED, 300 + HOST_STEADY_MS - 1, 300 + HOST_STEADY_MS - 1 + 400}});
}

TEST(HostSchedule, RightAcrossAWrapOfTheTickCount) {
    const uint32_t nearWrap = 0xFFFFFF00;
    Live("ends just before the wrap", nearWrap,
        {{STARTED, nearWrap, 0}, {ENDED, nearWrap + 0x80, nearWrap + 0x80 + 200},
         {STARTED, nearWrap + 0x80 + 200, 0}, {ENDED, 0x200, 0x200 + 400}});
}

}  // namespace
