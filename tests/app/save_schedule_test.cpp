// When the resident program saves the dictionary while it runs, and when it tells the user.
#include "save_schedule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A simulated clock with the two timers the window procedure would run, and the background
// save the actions start; events are played in time order.
struct Simulation {
    SaveSchedule schedule = {};
    unsigned now = 0;
    long pauseAt = -1;     // when the pause timer runs out; -1: off
    long deadlineAt = -1;
    long saveEndsAt = -1;  // when the save in flight ends
    unsigned saveTakes = 200;
    bool nextSaveFails = false;
    SaveFailureKind failureKind = SAVE_FAILURE_DISK_FULL;
    std::vector<unsigned> saveStarts;
    std::vector<SaveFailureKind> told;

    void Apply(const SaveActions& actions) {
        if (actions.stopTimers) {
            pauseAt = deadlineAt = -1;
        }
        if (actions.pauseTimerMs != 0) {
            pauseAt = now + actions.pauseTimerMs;
        }
        if (actions.deadlineTimerMs != 0) {
            deadlineAt = now + actions.deadlineTimerMs;
        }
        if (actions.startSave) {
            OnSaveStarted(&schedule);
            saveStarts.push_back(now);
            saveEndsAt = now + saveTakes;
        }
    }
    // Runs every event due up to until.
    void RunUntil(unsigned until) {
        for (;;) {
            long next = -1;
            for (long at : {pauseAt, deadlineAt, saveEndsAt}) {
                if (at >= 0 && at <= static_cast<long>(until) && (next < 0 || at < next)) {
                    next = at;
                }
            }
            if (next < 0) {
                break;
            }
            now = static_cast<unsigned>(next);
            if (next == saveEndsAt) {
                saveEndsAt = -1;
                bool saved = !nextSaveFails;
                SaveActions actions = OnSaveEnded(&schedule, saved, saved ? SAVE_FAILURE_NONE : failureKind);
                if (actions.tell) {
                    told.push_back(failureKind);
                }
                Apply(actions);
            } else {
                // A periodic timer keeps running until it is stopped: the schedule stops it.
                Apply(OnSaveTimer(&schedule));
            }
        }
        now = until;
    }
    void Change(unsigned at, uint32_t count) {
        RunUntil(at);
        Apply(OnDictionaryChanged(&schedule, count));
    }
};

TEST(SaveScheduleTest, NothingChangedNothingSaved) {
    Simulation sim;
    BeginSaveSchedule(&sim.schedule, 7);
    sim.Change(1000, 7);  // a registration that changed nothing
    sim.RunUntil(600000);
    EXPECT_TRUE(sim.saveStarts.empty());
    EXPECT_FALSE(HasUnsavedChanges(sim.schedule));
    EXPECT_EQ(-1, sim.pauseAt);
    EXPECT_EQ(-1, sim.deadlineAt);
}

TEST(SaveScheduleTest, SavedShortlyAfterTypingPauses) {
    Simulation sim;
    BeginSaveSchedule(&sim.schedule, 0);
    sim.Change(1000, 1);
    sim.Change(2000, 2);
    sim.RunUntil(60000);
    EXPECT_EQ(std::vector<unsigned>({2000 + SAVE_PAUSE_MS}), sim.saveStarts);
    EXPECT_FALSE(HasUnsavedChanges(sim.schedule));
    EXPECT_EQ(-1, sim.pauseAt) << "no timer runs while idle";
    EXPECT_EQ(-1, sim.deadlineAt);
}

TEST(SaveScheduleTest, SteadyTypingIsSavedByTheDeadline) {
    Simulation sim;
    BeginSaveSchedule(&sim.schedule, 0);
    uint32_t count = 0;
    for (unsigned at = 1000; at <= 100000; at += 500) {  // never a pause of three seconds
        sim.Change(at, ++count);
    }
    ASSERT_GE(sim.saveStarts.size(), 4u);
    EXPECT_EQ(1000 + SAVE_DEADLINE_MS, sim.saveStarts[0]);
    // Every change is on the disk within half a minute: the gap between saves stays below.
    for (size_t i = 1; i < sim.saveStarts.size(); ++i) {
        EXPECT_LE(sim.saveStarts[i] - sim.saveStarts[i - 1], SAVE_DEADLINE_MS + sim.saveTakes + 500);
    }
    sim.RunUntil(200000);
    EXPECT_FALSE(HasUnsavedChanges(sim.schedule));
}

TEST(SaveScheduleTest, ChangeDuringASaveMakesAnotherOneDue) {
    Simulation sim;
    BeginSaveSchedule(&sim.schedule, 0);
    sim.saveTakes = 5000;  // a slow disk
    sim.Change(1000, 1);
    sim.RunUntil(4000);  // the save starts
    ASSERT_EQ(1u, sim.saveStarts.size());
    sim.Change(4500, 2);
    sim.RunUntil(8000);
    // The pause timer ran out while the first save was in flight: one save at a time.
    EXPECT_EQ(1u, sim.saveStarts.size());
    sim.RunUntil(9000);  // the first save ends at 9,000 and the due one starts at once
    ASSERT_EQ(2u, sim.saveStarts.size());
    EXPECT_EQ(9000u, sim.saveStarts[1]);
    EXPECT_TRUE(HasUnsavedChanges(sim.schedule));
    sim.RunUntil(20000);
    EXPECT_FALSE(HasUnsavedChanges(sim.schedule));
    EXPECT_EQ(2u, sim.saveStarts.size());
}

TEST(SaveScheduleTest, WhatTheSaveInFlightHoldsIsWhatCountsAsSaved) {
    Simulation sim;
    BeginSaveSchedule(&sim.schedule, 0);
    sim.Change(0, 1);
    sim.RunUntil(SAVE_PAUSE_MS);
    sim.Change(SAVE_PAUSE_MS + 50, 2);  // during the save
    sim.RunUntil(SAVE_PAUSE_MS + sim.saveTakes);
    EXPECT_EQ(1u, sim.schedule.savedChanges);
    EXPECT_TRUE(HasUnsavedChanges(sim.schedule));
}

TEST(SaveScheduleTest, FailureIsToldOncePerKindUntilASaveSucceeds) {
    Simulation sim;
    BeginSaveSchedule(&sim.schedule, 0);
    sim.nextSaveFails = true;
    uint32_t count = 0;
    sim.Change(0, ++count);
    sim.RunUntil(10000);
    EXPECT_EQ(1u, sim.saveStarts.size());
    EXPECT_EQ(std::vector<SaveFailureKind>({SAVE_FAILURE_DISK_FULL}), sim.told);
    // Tried again after the next pause and after the retry time: told no more.
    sim.Change(20000, ++count);
    sim.RunUntil(200000);
    EXPECT_GE(sim.saveStarts.size(), 3u);
    EXPECT_EQ(1u, sim.told.size());
    // Another kind is news.
    sim.failureKind = SAVE_FAILURE_FILE_IN_USE;
    sim.Change(200000, ++count);
    sim.RunUntil(210000);
    EXPECT_EQ(std::vector<SaveFailureKind>({SAVE_FAILURE_DISK_FULL, SAVE_FAILURE_FILE_IN_USE}), sim.told);
    // A success ends the failure: the same kind later is told again.
    sim.nextSaveFails = false;
    sim.RunUntil(300000);
    EXPECT_FALSE(HasUnsavedChanges(sim.schedule));
    sim.nextSaveFails = true;
    sim.failureKind = SAVE_FAILURE_DISK_FULL;
    sim.Change(300000, ++count);
    sim.RunUntil(310000);
    EXPECT_EQ(3u, sim.told.size());
    EXPECT_EQ(SAVE_FAILURE_DISK_FULL, sim.told.back());
}

TEST(SaveScheduleTest, FailedSaveIsRetriedWithoutNewChangesButNotInALoop) {
    Simulation sim;
    BeginSaveSchedule(&sim.schedule, 0);
    sim.nextSaveFails = true;
    sim.Change(0, 1);
    sim.RunUntil(SAVE_PAUSE_MS + sim.saveTakes + 1);
    ASSERT_EQ(1u, sim.saveStarts.size());
    sim.RunUntil(SAVE_PAUSE_MS + sim.saveTakes + SAVE_RETRY_MS - 1);
    EXPECT_EQ(1u, sim.saveStarts.size());
    sim.nextSaveFails = false;  // the user made room
    sim.RunUntil(SAVE_PAUSE_MS + 2 * sim.saveTakes + SAVE_RETRY_MS);
    EXPECT_EQ(2u, sim.saveStarts.size());
    EXPECT_FALSE(HasUnsavedChanges(sim.schedule));
}

TEST(SaveScheduleTest, SaveThatCouldNotStartIsTriedAgainLater) {
    SaveSchedule schedule = {};
    BeginSaveSchedule(&schedule, 0);
    OnDictionaryChanged(&schedule, 1);
    SaveActions timer = OnSaveTimer(&schedule);
    ASSERT_TRUE(timer.startSave);
    SaveActions retry = OnSaveNotStarted(&schedule);
    EXPECT_EQ(SAVE_RETRY_MS, retry.deadlineTimerMs);
    EXPECT_FALSE(schedule.inFlight);
    EXPECT_TRUE(HasUnsavedChanges(schedule));
}

struct ReloadCase {
    const char* what;
    bool merged;
    bool saveDue;
};

// The file loaded again after another program changed it: only merged words make a save due;
// a save that found the file changed is no failure and is not retried on its own.
TEST(SaveScheduleTest, AReloadMakesASaveDueOnlyForMergedWords) {
    const ReloadCase cases[] = {
        {"learned words merged in", true, true},
        {"nothing to merge: the table is the file", false, false},
    };
    for (const ReloadCase& c : cases) {
        SCOPED_TRACE(c.what);
        Simulation sim;
        BeginSaveSchedule(&sim.schedule, 0);
        sim.Change(1000, 1);
        sim.RunUntil(1000 + SAVE_PAUSE_MS);  // the save starts ...
        ASSERT_EQ(1u, sim.saveStarts.size());
        sim.saveEndsAt = -1;                 // ... and finds the file changed
        OnSaveOutdated(&sim.schedule);
        EXPECT_FALSE(sim.schedule.inFlight);
        EXPECT_TRUE(sim.told.empty());
        sim.RunUntil(10000);
        EXPECT_EQ(1u, sim.saveStarts.size()) << "nothing saved before the file is loaded again";
        uint32_t count = c.merged ? 2 : 1;
        sim.Apply(OnDictionaryReloaded(&sim.schedule, count, c.merged));
        EXPECT_EQ(c.saveDue, HasUnsavedChanges(sim.schedule));
        sim.RunUntil(100000);
        EXPECT_EQ(c.saveDue ? 2u : 1u, sim.saveStarts.size());
        if (c.saveDue) {
            EXPECT_EQ(10000 + SAVE_PAUSE_MS, sim.saveStarts[1]);
        }
        EXPECT_FALSE(HasUnsavedChanges(sim.schedule));
        EXPECT_EQ(-1, sim.pauseAt);
        EXPECT_EQ(-1, sim.deadlineAt);
    }
}

}  // namespace
