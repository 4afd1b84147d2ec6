#include "save_schedule.h"

void BeginSaveSchedule(SaveSchedule* schedule, uint32_t changeCount) {
    *schedule = SaveSchedule{};
    schedule->changes = changeCount;
    schedule->savedChanges = changeCount;
}

bool HasUnsavedChanges(const SaveSchedule& schedule) {
    return schedule.changes != schedule.savedChanges;
}

SaveActions OnDictionaryChanged(SaveSchedule* schedule, uint32_t changeCount) {
    SaveActions actions = {};
    if (changeCount == schedule->changes) {
        return actions;  // a registration that left the file as it was
    }
    schedule->changes = changeCount;
    actions.pauseTimerMs = SAVE_PAUSE_MS;
    if (!schedule->deadlineArmed) {
        schedule->deadlineArmed = true;
        actions.deadlineTimerMs = SAVE_DEADLINE_MS;
    }
    return actions;
}

SaveActions OnSaveTimer(SaveSchedule* schedule) {
    SaveActions actions = {};
    actions.stopTimers = true;
    schedule->deadlineArmed = false;
    if (!HasUnsavedChanges(*schedule)) {
        return actions;
    }
    if (schedule->inFlight) {
        schedule->due = true;
        return actions;
    }
    actions.startSave = true;
    return actions;
}

void OnSaveStarted(SaveSchedule* schedule) {
    schedule->inFlight = true;
    schedule->due = false;
    schedule->flightChanges = schedule->changes;
}

SaveActions OnSaveNotStarted(SaveSchedule* schedule) {
    SaveActions actions = {};
    schedule->deadlineArmed = true;
    actions.deadlineTimerMs = SAVE_RETRY_MS;
    return actions;
}

SaveActions OnSaveEnded(SaveSchedule* schedule, bool saved, SaveFailureKind kind) {
    SaveActions actions = {};
    bool due = schedule->due;
    schedule->inFlight = false;
    schedule->due = false;
    if (saved) {
        schedule->savedChanges = schedule->flightChanges;
        schedule->toldKinds = 0;  // a later failure is news again
        if (due && HasUnsavedChanges(*schedule)) {
            actions.stopTimers = true;
            schedule->deadlineArmed = false;
            actions.startSave = true;
        }
        return actions;
    }
    uint32_t bit = 1u << static_cast<uint32_t>(kind);
    actions.tell = (schedule->toldKinds & bit) == 0;
    schedule->toldKinds |= bit;
    // Tried again later, and after the next pause in typing; never at once in a loop.
    schedule->deadlineArmed = true;
    actions.deadlineTimerMs = SAVE_RETRY_MS;
    return actions;
}

void OnSaveOutdated(SaveSchedule* schedule) {
    schedule->inFlight = false;
    schedule->due = false;
}

SaveActions OnDictionaryReloaded(SaveSchedule* schedule, uint32_t changeCount, bool merged) {
    SaveActions actions = {};
    actions.stopTimers = true;
    schedule->deadlineArmed = false;
    // What the file holds: the table as loaded; with merged words, a count the table is no
    // longer at, so that the change to changeCount makes a save due.
    uint32_t fileHolds = merged ? changeCount - 1 : changeCount;
    schedule->changes = fileHolds;
    schedule->savedChanges = fileHolds;
    if (merged) {
        SaveActions due = OnDictionaryChanged(schedule, changeCount);
        actions.pauseTimerMs = due.pauseTimerMs;
        actions.deadlineTimerMs = due.deadlineTimerMs;
    }
    return actions;
}
