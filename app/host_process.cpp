// The host program ZELVO32.EXE beside a 64-bit ZELVO.EXE: it installs the 32-bit hook library
// for the 32-bit applications. Started once the program's own hook is installed, watched on
// the program's 500 ms timer, and started again after it ended (host_schedule.h). It ends by
// itself when the program ends. The 32-bit program never starts it: the 32-bit applications
// are its own, and a 32-bit Windows has no others.
#include <string>

#include "host_arguments.h"
#include "host_schedule.h"
#include "resident_state.h"
#include "startup.h"

static const wchar_t HOST_PROGRAM[] = L"ZELVO32.EXE";
static const DWORD WIDE_PATH_ROOM = 1024;

// ZELVO32.EXE in the program's folder (the wide path: the folder may lie outside the ANSI
// code page); empty when the program's path does not fit.
static std::wstring HostPath() {
    wchar_t path[WIDE_PATH_ROOM];
    DWORD length = GetModuleFileNameW(residentState.instance, path, WIDE_PATH_ROOM);
    if (length == 0 || length >= WIDE_PATH_ROOM) {
        return std::wstring();
    }
    std::wstring program(path, length);
    return program.substr(0, program.find_last_of(L"\\/") + 1) + HOST_PROGRAM;
}

static bool HostWanted() {
#ifdef _WIN64
    std::wstring path = HostPath();
    return !path.empty() && GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    return false;
#endif
}

static bool LaunchHost() {
    HostArguments arguments = {GetCurrentProcessId(), HandleToULong(residentState.mainWindow),
                               HandleToULong(residentState.listBox)};
    char text[HOST_ARGUMENTS_SIZE];
    std::wstring path = HostPath();
    if (path.empty() || !FormatHostArguments(arguments, text, sizeof text)) {
        return false;
    }
    std::wstring commandLine = L"\"" + path + L"\" " + std::wstring(text, text + strlen(text));
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        TRACE("host not started %d ", static_cast<int>(GetLastError()));
        return false;
    }
    CloseHandle(process.hThread);
    residentState.hostProcess = process.hProcess;
    TRACE("host started %d ", static_cast<int>(process.dwProcessId));
    return true;
}

// A host that has ended is noted, with its exit code.
static void NoteEndedHost(DWORD now) {
    if (residentState.hostProcess == nullptr || WaitForSingleObject(residentState.hostProcess, 0) != WAIT_OBJECT_0) {
        return;
    }
    DWORD exitCode = 0;
    GetExitCodeProcess(residentState.hostProcess, &exitCode);
    CloseHandle(residentState.hostProcess);
    residentState.hostProcess = nullptr;
    NoteHostEnded(&residentState.hostSchedule, now);
    TRACE("host ended %d ", static_cast<int>(exitCode));
}

void TendHostProgram() {
    DWORD now = GetTickCount();
    NoteEndedHost(now);
    if (!HostStartDue(residentState.hostSchedule, now)) {
        return;
    }
    if (LaunchHost()) {
        NoteHostStarted(&residentState.hostSchedule, now);
    } else {
        NoteHostEnded(&residentState.hostSchedule, now);
    }
}

void StartHostProgram() {
    BeginHostSchedule(&residentState.hostSchedule, HostWanted(), GetTickCount());
    TendHostProgram();
}
