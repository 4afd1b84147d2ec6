// When the resident program saves the dictionary while it runs: shortly after the last
// change (a pause in typing), and at the latest a fixed time after the first change not yet
// saved, so that a crash loses at most the last half minute of learning; never while nothing
// has changed. One save at a time; a change during a save makes another one due. A failed
// save is told once per kind of failure, until a save succeeds again. No Windows headers:
// the window procedure runs the timers and the saves the actions ask for.
#pragma once

#include <cstdint>

#include "save_failure.h"

constexpr unsigned SAVE_PAUSE_MS = 3000;      // after the last change
constexpr unsigned SAVE_DEADLINE_MS = 20000;  // after the first change not yet saved
constexpr unsigned SAVE_RETRY_MS = 60000;     // after a failed save, with nothing new

struct SaveSchedule {
    uint32_t changes;        // the dictionary's change count, as last seen
    uint32_t savedChanges;   // the change count that the file on disk holds
    uint32_t flightChanges;  // the change count that the save in flight holds
    bool inFlight;
    bool due;                // a timer ran out while a save was in flight
    bool deadlineArmed;      // the deadline timer runs for the oldest unsaved change
    uint32_t toldKinds;      // bit (1 << kind) for each kind of failure told since the last success
};

// What the window procedure does next. A timer of 0 ms is left as it is.
struct SaveActions {
    bool stopTimers;           // both save timers off (done before arming any)
    unsigned pauseTimerMs;     // (re)arm the pause timer
    unsigned deadlineTimerMs;  // (re)arm the deadline timer
    bool startSave;            // start a background save now
    bool tell;                 // tell the user about the failure that just ended a save
};

// The schedule after the load: what the file holds is what the table holds.
void BeginSaveSchedule(SaveSchedule* schedule, uint32_t changeCount);

// The dictionary's change count after a registration.
SaveActions OnDictionaryChanged(SaveSchedule* schedule, uint32_t changeCount);

// The pause or the deadline timer ran out.
SaveActions OnSaveTimer(SaveSchedule* schedule);

// A background save was started, or could not be started.
void OnSaveStarted(SaveSchedule* schedule);
SaveActions OnSaveNotStarted(SaveSchedule* schedule);

// A save ended (a background save, or one at exit).
SaveActions OnSaveEnded(SaveSchedule* schedule, bool saved, SaveFailureKind kind);

// Learning that the file on disk does not hold.
bool HasUnsavedChanges(const SaveSchedule& schedule);

// The save in flight left the file alone because another program changed it (no failure):
// the file is loaded again next, and that decides what is due.
void OnSaveOutdated(SaveSchedule* schedule);

// The dictionary was loaded again from a file another program changed; merged: the words
// learned since the last save were put back in front, and the file does not hold them yet (a
// save becomes due). Without them the table is the file: nothing is due.
SaveActions OnDictionaryReloaded(SaveSchedule* schedule, uint32_t changeCount, bool merged);
