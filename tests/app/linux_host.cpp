#include "linux_host.h"

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace {

typedef char*(CDECL* UnixFileNameFunction)(const wchar_t* dosName);

std::wstring Wide(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

// The whole content of a small file (the files of /proc have no size to ask for).
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

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return static_cast<char>(tolower(static_cast<unsigned char>(c))); });
    return text;
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
    std::replace(path.begin(), path.end(), '/', '\\');
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

int LinuxProcessOf(const std::string& programPath) {
    char prefix[MAX_PATH] = {};
    if (GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix) == 0) {
        return 0;
    }
    const std::string wantedEnvironment = std::string("WINEPREFIX=") + prefix + std::string(1, '\0');
    // The command line holds the Windows path, or the Unix one where Wine shows that.
    const std::string wantedProgram = Lower(programPath);
    const std::string wantedUnixProgram = Lower(UnixPath(programPath));
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA("Z:\\proc\\*", &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return 0;
    }
    int found = 0;
    do {
        int pid = atoi(entry.cFileName);
        if (pid <= 0) {
            continue;
        }
        std::string base = std::string("Z:\\proc\\") + entry.cFileName + "\\";
        std::string commandLine = Lower(ReadSmallFile(base + "cmdline"));
        if (commandLine.find(wantedProgram) == std::string::npos &&
            (wantedUnixProgram.empty() || commandLine.find(wantedUnixProgram) == std::string::npos)) {
            continue;
        }
        if ((std::string(1, '\0') + ReadSmallFile(base + "environ")).find(std::string(1, '\0') + wantedEnvironment) !=
            std::string::npos) {
            found = pid;
        }
    } while (found == 0 && FindNextFileA(find, &entry));
    FindClose(find);
    return found;
}
