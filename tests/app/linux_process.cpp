#include "linux_process.h"

#include "zelvo_driver.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

static const DWORD SIGNAL_TIMEOUT_MS = 5000;

static std::string ProcFile(unsigned long pid, const char* name) {
    return "Z:\\proc\\" + std::to_string(pid) + "\\" + name;
}

static std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

// Several prefixes run on one machine: the process must belong to this one. Its environment
// holds NUL-separated entries, one of them WINEPREFIX=<the prefix>.
static bool InThisPrefix(unsigned long pid) {
    char prefix[MAX_PATH * 2] = {};
    DWORD length = GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    std::string environment;
    if (length == 0 || length >= sizeof prefix || !ReadFileBytes(ProcFile(pid, "environ"), &environment)) {
        return false;
    }
    std::string entry = std::string(1, '\0') + "WINEPREFIX=" + prefix + std::string(1, '\0');
    return (std::string(1, '\0') + environment).find(entry) != std::string::npos;
}

unsigned long FindLinuxProcess(const std::string& programPath) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return 0;
    }
    const std::string wanted = Lower(programPath);
    unsigned long found = 0;
    do {
        char* end = nullptr;
        unsigned long pid = strtoul(entry.cFileName, &end, 10);
        std::string commandLine;
        if (pid == 0 || *end != '\0' || !ReadFileBytes(ProcFile(pid, "cmdline"), &commandLine)) {
            continue;
        }
        if (Lower(commandLine).compare(0, wanted.size(), wanted) == 0 && InThisPrefix(pid)) {
            found = pid;
        }
    } while (found == 0 && FindNextFileA(find, &entry));
    FindClose(find);
    return found;
}

// 'T' for stopped, 'Z' for a zombie, ...; 0 when the process is gone.
static char LinuxState(unsigned long pid) {
    std::string status;
    if (!ReadFileBytes(ProcFile(pid, "status"), &status)) {
        return 0;
    }
    size_t at = status.find("State:");
    if (at == std::string::npos) {
        return 0;
    }
    at = status.find_first_not_of(" \t", at + 6);
    return at == std::string::npos ? 0 : status[at];
}

static bool ReachedState(unsigned long pid, LinuxSignal signal) {
    char state = LinuxState(pid);
    switch (signal) {
    case LINUX_STOP:
        return state == 'T' || state == 't';
    case LINUX_CONTINUE:
        return state != 0 && state != 'T' && state != 't';
    case LINUX_KILL:
        return state == 0 || state == 'Z' || state == 'X';
    }
    return false;
}

bool SignalLinuxProcess(unsigned long pid, LinuxSignal signal) {
    static const char* const NAMES[] = {"STOP", "CONT", "KILL"};
    if (pid == 0) {
        return false;
    }
    char commandLine[64];
    snprintf(commandLine, sizeof commandLine, "/bin/kill -%s %lu", NAMES[signal], pid);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    // A Linux program started from Wine: the call succeeds, with no handle to wait on.
    if (!CreateProcessA("Z:\\bin\\kill", commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    if (process.hThread != nullptr) {
        CloseHandle(process.hThread);
    }
    if (process.hProcess != nullptr) {
        CloseHandle(process.hProcess);
    }
    DWORD start = GetTickCount();
    while (!ReachedState(pid, signal)) {
        if (GetTickCount() - start >= SIGNAL_TIMEOUT_MS) {
            return false;
        }
        Sleep(10);
    }
    return true;
}
