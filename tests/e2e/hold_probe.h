// HOLDPROBE.DLL: a test library that a thread hook of the test loads into the resident
// program, to hold its window thread as a long modal loop or a stuck call would, while its
// other threads run on: when the thread retrieves the registered message HOLD_PROBE_MESSAGE,
// it waits, retrieving nothing and answering no sent message, until the test sets the named
// event HOLD_PROBE_RELEASE (30 s at most, so that a failed test cannot hold it for ever).
#pragma once

constexpr const char* HOLD_PROBE_LIBRARY = "HOLDPROBE.DLL";
constexpr const char* HOLD_PROBE_HOOK = "HoldProbeHook";
constexpr const char* HOLD_PROBE_MESSAGE = "ZelvoTestHold";
constexpr const char* HOLD_PROBE_RELEASE = "ZelvoTestRelease";
constexpr unsigned long HOLD_PROBE_LONGEST_MS = 30000;
