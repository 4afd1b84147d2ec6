// When the 64-bit resident program starts its host program ZELVO32.EXE, which brings the hook
// to the 32-bit applications: at once after its own hook is installed, and again whenever the
// host has ended, after a pause that doubles with each host in a row that ended soon after
// its start, so that a host that cannot run is not started over and over. Times are
// GetTickCount values; they may wrap. No Windows headers.
#pragma once

#include <cstdint>

constexpr uint32_t HOST_FIRST_RESTART_MS = 200;       // after a host that ended
constexpr uint32_t HOST_LONGEST_RESTART_MS = 30000;   // the pause doubles up to this
constexpr uint32_t HOST_STEADY_MS = 10000;            // a host that lived this long ran well

struct HostSchedule {
    bool wanted;           // a 64-bit program with the host beside it
    bool running;          // a host started by this program runs
    uint32_t startedAt;    // when the running host was started
    uint32_t restarts;     // restarts in a row: 1 after a host that ran HOST_STEADY_MS, and one
                           // more for each that ended (or failed to start) sooner
    uint32_t nextStartAt;  // while no host runs: when the next start is due
};

// The schedule at start-up: a start is due at once when the host is wanted, never otherwise.
void BeginHostSchedule(HostSchedule* schedule, bool wanted, uint32_t now);

// True when no host runs and one is to be started now.
bool HostStartDue(const HostSchedule& schedule, uint32_t now);

void NoteHostStarted(HostSchedule* schedule, uint32_t now);

// The running host ended, or a start failed: the next start waits HostRestartPause.
void NoteHostEnded(HostSchedule* schedule, uint32_t now);

// The pause before a restart: 200 ms for the first in a row, doubled for each further one, at
// most HOST_LONGEST_RESTART_MS.
uint32_t HostRestartPause(uint32_t restarts);
