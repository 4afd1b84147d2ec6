// Faults of a Windows program made for real: the Linux process that runs it under Wine is
// stopped (a hang), continued, or killed (a crash) through Z:\bin\kill. For the Wine tests
// and benchmarks; under Windows itself there is no such process and every call fails.
#pragma once

#include <string>

// The Linux process of the running Windows program whose command line begins with
// programPath (compared without regard to case), among the processes of this test's Wine
// prefix; 0 when there is none.
unsigned long FindLinuxProcess(const std::string& programPath);

enum LinuxSignal { LINUX_STOP, LINUX_CONTINUE, LINUX_KILL };

// Sends the signal and waits (10 ms polls, a few seconds at most) until the process is in the
// state it brings: stopped, running again, gone. False when it did not get there.
bool SignalLinuxProcess(unsigned long pid, LinuxSignal signal);
