#include "host_schedule.h"

// Counts beyond this all give the longest pause.
static const uint32_t MAX_COUNTED_RESTARTS = 32;

void BeginHostSchedule(HostSchedule* schedule, bool wanted, uint32_t now) {
    *schedule = HostSchedule();
    schedule->wanted = wanted;
    schedule->nextStartAt = now;
}

bool HostStartDue(const HostSchedule& schedule, uint32_t now) {
    // The difference as a signed value: right across a wrap of the tick count.
    return schedule.wanted && !schedule.running && static_cast<int32_t>(now - schedule.nextStartAt) >= 0;
}

void NoteHostStarted(HostSchedule* schedule, uint32_t now) {
    schedule->running = true;
    schedule->startedAt = now;
}

void NoteHostEnded(HostSchedule* schedule, uint32_t now) {
    bool steady = schedule->running && now - schedule->startedAt >= HOST_STEADY_MS;
    if (steady) {
        schedule->restarts = 1;
    } else if (schedule->restarts < MAX_COUNTED_RESTARTS) {
        ++schedule->restarts;
    }
    schedule->running = false;
    schedule->nextStartAt = now + HostRestartPause(schedule->restarts);
}

uint32_t HostRestartPause(uint32_t restarts) {
    uint32_t pause = HOST_FIRST_RESTART_MS;
    for (uint32_t i = 1; i < restarts && pause < HOST_LONGEST_RESTART_MS; ++i) {
        pause *= 2;
    }
    return pause < HOST_LONGEST_RESTART_MS ? pause : HOST_LONGEST_RESTART_MS;
}
