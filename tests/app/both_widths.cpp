#include "both_widths.h"

#include <windows.h>

#include "linux_host.h"

static const DWORD HOST_REFUSED_EXIT = 2;

// The folder named by ZELVO_I686_BIN, when it holds the host program.
static bool FindI686Programs(std::string* folder, std::string* whyNot) {
    char unixPath[MAX_PATH] = {};
    DWORD length = GetEnvironmentVariableA(I686_PROGRAMS_VARIABLE, unixPath, sizeof unixPath);
    if (length == 0 || length >= sizeof unixPath) {
        *whyNot = std::string(I686_PROGRAMS_VARIABLE) + " names no i686 build";
        return false;
    }
    *folder = WindowsPathOfUnix(unixPath) + "\\";
    if (!FileExists(*folder + HOST_PROGRAM)) {
        *whyNot = "no i686 build at " + std::string(unixPath) + " (scripts/build i686 makes it)";
        return false;
    }
    return true;
}

bool I686ProgramsThatRun(std::string* folder, std::string* whyNot) {
    if (!FindI686Programs(folder, whyNot)) {
        return false;
    }
    std::string commandLine = "\"" + *folder + HOST_PROGRAM + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        *whyNot = "32-bit programs do not run here (starting one fails with error " +
                  std::to_string(GetLastError()) + ")";
        return false;
    }
    DWORD exitCode = STILL_ACTIVE;
    if (WaitForSingleObject(process.hProcess, EXIT_TIMEOUT_MS) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 99);
    }
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (exitCode != HOST_REFUSED_EXIT) {
        *whyNot = "32-bit programs do not run here (one ended with " + std::to_string(exitCode) + ")";
        return false;
    }
    return true;
}

bool AddHostToScratch(const ScratchFolder& scratch, const std::string& folder) {
    bool copied = true;
    for (const char* name : {HOST_PROGRAM, HOST_LIBRARY}) {
        copied = CopyFileA((folder + name).c_str(), (scratch.dir + name).c_str(), FALSE) && copied;
    }
    return copied;
}
