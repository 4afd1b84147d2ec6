#include "linux_host.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const DWORD SIGNAL_TIMEOUT_MS = 5000;

typedef char*(CDECL* UnixFileNameFunction)(const wchar_t* dosName);

std::wstring Wide(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

// The whole content of a small file (the files of /proc have no size to ask for); empty when
// it cannot be read.
std::string ReadSmallFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return "";
    }
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0 && bytes.size() < (1 << 20)) {
        bytes.append(buffer, got);
    }
    CloseHandle(file);
    return bytes;
}

std::string ProcFile(unsigned long pid, const char* name) {
    return "Z:\\proc\\" + std::to_string(pid) + "\\" + name;
}

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

bool BeginsWith(const std::string& text, const std::string& start) {
    return !start.empty() && text.compare(0, start.size(), start) == 0;
}

// The command line's NUL-separated arguments: Wine writes the Windows command line over them
// (the Windows path first, or the Unix one where Wine shows that); a 32-bit program run
// through an emulator has the emulator and Wine's loader before it.
bool NamesProgram(const std::string& commandLine, const std::string& wanted, const std::string& wantedUnix) {
    for (size_t at = 0; at < commandLine.size();) {
        std::string argument = commandLine.c_str() + at;
        if (BeginsWith(argument, wanted) || BeginsWith(argument, wantedUnix)) {
            return true;
        }
        at += argument.size() + 1;
    }
    return false;
}

// Its environment holds NUL-separated entries, one of them WINEPREFIX=<this test's prefix>.
bool InThisPrefix(unsigned long pid) {
    char prefix[MAX_PATH * 2] = {};
    DWORD length = GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix);
    if (length == 0 || length >= sizeof prefix) {
        return false;
    }
    std::string entry = std::string(1, '\0') + "WINEPREFIX=" + prefix + std::string(1, '\0');
    return (std::string(1, '\0') + ReadSmallFile(ProcFile(pid, "environ"))).find(entry) != std::string::npos;
}

// 'T' for stopped, 'Z' for a zombie, ...; 0 when the process is gone.
char LinuxState(unsigned long pid) {
    std::string status = ReadSmallFile(ProcFile(pid, "status"));
    size_t at = status.find("State:");
    if (at == std::string::npos) {
        return 0;
    }
    at = status.find_first_not_of(" \t", at + 6);
    return at == std::string::npos ? 0 : status[at];
}

bool ReachedState(unsigned long pid, LinuxSignal signal) {
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

}  // namespace

std::string UnixPath(const std::string& windowsPath) {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC address = kernel != nullptr ? GetProcAddress(kernel, "wine_get_unix_file_name") : nullptr;
    if (address == nullptr) {
        return "";
    }
    UnixFileNameFunction unixFileName = reinterpret_cast<UnixFileNameFunction>(reinterpret_cast<void*>(address));
    char* name = unixFileName(Wide(windowsPath).c_str());
    if (name == nullptr) {
        return "";
    }
    std::string path = name;
    HeapFree(GetProcessHeap(), 0, name);
    return path;
}

std::string WindowsPathOfUnix(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return path;
}

bool RunLinuxCommand(const std::string& program, const std::string& arguments) {
    std::string application = "Z:\\bin\\" + program;
    std::string commandLine = "/bin/" + program + " " + arguments;
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(application.c_str(), writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    // A Unix program comes back without handles; close whatever there is.
    if (process.hThread != nullptr) {
        CloseHandle(process.hThread);
    }
    if (process.hProcess != nullptr) {
        CloseHandle(process.hProcess);
    }
    return true;
}

unsigned long FindLinuxProcess(const std::string& programPath) {
    const std::string wanted = Lower(programPath);
    const std::string wantedUnix = Lower(UnixPath(programPath));
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return 0;
    }
    unsigned long found = 0;
    do {
        char* end = nullptr;
        unsigned long pid = strtoul(entry.cFileName, &end, 10);
        if (pid == 0 || *end != '\0') {
            continue;
        }
        if (NamesProgram(Lower(ReadSmallFile(ProcFile(pid, "cmdline"))), wanted, wantedUnix) && InThisPrefix(pid)) {
            found = pid;
        }
    } while (found == 0 && FindNextFileA(find, &entry));
    FindClose(find);
    return found;
}

bool SignalLinuxProcess(unsigned long pid, LinuxSignal signal) {
    static const char* const NAMES[] = {"STOP", "CONT", "KILL"};
    if (pid == 0) {
        return false;
    }
    char arguments[64];
    snprintf(arguments, sizeof arguments, "-%s %lu", NAMES[signal], pid);
    if (!RunLinuxCommand("kill", arguments)) {
        return false;
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
