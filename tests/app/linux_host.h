// The Linux machine under Wine, as a system test reaches it from its Windows side: the Unix
// path of a Windows path, a Linux command started from the test, and the Linux process that
// runs a Windows program, to stop it (a hang), continue it, or kill it (a crash) for real.
// Every function fails (empty, false, 0) when not running under Wine.
#pragma once

#include <string>

// The Unix path of a Windows path; empty when there is none.
std::string UnixPath(const std::string& windowsPath);

// The Windows path (on drive Z:, the root of the Unix file system) of a Unix path.
std::string WindowsPathOfUnix(const std::string& unixPath);

// Starts /bin/<program> with arguments. Wine gives no handle to wait on: the caller polls
// for the command's effect. False when it could not be started.
bool RunLinuxCommand(const std::string& program, const std::string& arguments);

// The Linux process of the running Windows program whose command line begins with
// programPath (its Windows or its Unix form, compared without regard to case), among the
// processes of this test's Wine prefix (several prefixes run on one machine); 0 when there
// is none.
unsigned long FindLinuxProcess(const std::string& programPath);

enum LinuxSignal { LINUX_STOP, LINUX_CONTINUE, LINUX_KILL };

// Sends the signal and waits (10 ms polls, a few seconds at most) until the process is in the
// state it brings: stopped, running again, gone. False when it did not get there.
bool SignalLinuxProcess(unsigned long pid, LinuxSignal signal);
