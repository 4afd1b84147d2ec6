// The Linux machine under Wine, as a system test reaches it from its Windows side: the Unix
// path of a Windows path, a Linux command started from the test, the Linux process that runs
// a Windows one. Every function fails (empty, false, 0) when not running under Wine.
#pragma once

#include <string>

// The Unix path of a Windows path; empty when there is none.
std::string UnixPath(const std::string& windowsPath);

// The Windows path (on drive Z:, the root of the Unix file system) of a Unix path.
std::string WindowsPathOfUnix(const std::string& unixPath);

// Starts /bin/<program> with arguments. Wine gives no handle to wait on: the caller polls
// for the command's effect. False when it could not be started.
bool RunLinuxCommand(const std::string& program, const std::string& arguments);

// The Linux process that runs the Windows program at programPath in this test's Wine
// prefix (its command line names the program, its environment holds this WINEPREFIX);
// 0 when there is none.
int LinuxProcessOf(const std::string& programPath);
