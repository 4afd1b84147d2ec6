// When the resident program counts as stalled. Every call from the hook into its windows is
// bounded; once one has not been answered in time, the hook leaves the resident program
// alone, so that every application goes on as if Zelvo were not running, until it answers
// again: its heartbeat in the status record has moved on since the mark was made. A process
// that cannot read the heartbeat waits for a fixed time instead. No Windows headers.
#pragma once

#include <cstdint>

// The longest a call into the resident program waits for its answer: a key that meets a
// stalled program is delayed by this once, and by nothing after it.
constexpr unsigned RESIDENT_SEND_TIMEOUT_MS = 150;

// Without a heartbeat to compare, a mark holds for this long.
constexpr uint32_t STALL_FALLBACK_MS = 2000;

// Whether a bounded send that failed with error (GetLastError) means a stall: a window that
// still exists and did not answer (a time-out, or a thread refused as hung). A send to a
// window that no longer exists fails at once and is no stall.
bool SendFailureIsStall(unsigned long error, bool windowExists);

struct StallView {
    bool marked;              // a stall mark is set
    bool markHasHeartbeat;    // the mark holds the heartbeat read when it was made
    uint32_t markHeartbeat;
    uint32_t markTick;        // GetTickCount when it was made
    bool haveHeartbeat;       // this process can read the heartbeat now
    uint32_t heartbeat;
    uint32_t now;             // GetTickCount now
};

// True while the resident program still counts as stalled: marked, and the heartbeat is the
// one seen at the mark (when both are known), or else less than STALL_FALLBACK_MS passed.
bool StillStalled(const StallView& view);
