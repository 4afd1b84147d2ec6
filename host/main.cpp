// ZELVO32.EXE: the host that brings the hook to the 32-bit applications on 64-bit Windows.
// The 64-bit ZELVO.EXE starts it with its windows on the command line (host_arguments.h). It
// loads the 32-bit hook library ZELVOS32.DLL and installs it, with ZELVO.EXE's windows as the
// target of every request, from its only thread, which does nothing else but retrieve
// messages: Windows calls the hook there for the 64-bit applications, and they wait for it.
// It removes the hook and ends when ZELVO.EXE ends.
#include <windows.h>

#include "exchange.h"
#include "host_arguments.h"
#include "trace.h"
#include "zelvos.h"

static const char HOST_MUTEX[] = "MUTEXZelvoHost32";
static const int HOST_EXIT_NORMAL = 0;       // ZELVO.EXE ended
static const int HOST_EXIT_NOT_STARTED = 1;  // another host runs, or InitZelvo failed
static const int HOST_EXIT_REFUSED = 2;      // the command line names no running ZELVO.EXE's windows
static const int CLASS_NAME_ROOM = 32;

static HWND traceViewer;

// The mutex is owned for the host's whole life: its end, however it comes, abandons the
// mutex, which an installer can wait for. The handle stays open until the process ends.
static bool AnotherHostRuns() {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, HOST_MUTEX);
    return mutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS;
}

// Only the low 32 bits of a handle are significant; a 64-bit build widens them with the sign.
static HWND WindowOfValue(uint32_t value) {
    return static_cast<HWND>(LongToHandle(static_cast<LONG>(value)));
}

// The arguments must name the CandidateWindow of the running process they name, and its
// CandidateList.
static bool NamesResidentWindows(const HostArguments& arguments, HWND window, HWND list) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[CLASS_NAME_ROOM] = "";
    GetClassNameA(window, className, CLASS_NAME_ROOM);
    return owner == arguments.residentProcess && lstrcmpA(className, CANDIDATE_CLASS_NAME) == 0 &&
           GetParent(list) == window && GetDlgCtrlID(list) == CANDIDATE_LIST_ID;
}

// Retrieves messages (among them Windows' calls of the hook for applications of the other
// width) until the resident program's process ends or WM_QUIT arrives.
static void PumpUntilResidentEnds(HANDLE resident) {
    for (;;) {
        DWORD woke = MsgWaitForMultipleObjectsEx(1, &resident, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke != WAIT_OBJECT_0 + 1) {
            return;  // the process ended, or the wait failed
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                return;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    traceViewer = FindTraceViewer();
    HostArguments arguments = {};
    if (!ParseHostArguments(commandLine, &arguments)) {
        TraceTo(traceViewer, "host: command line refused ");
        return HOST_EXIT_REFUSED;
    }
    // Held open first, so that the process id cannot name another process meanwhile.
    HANDLE resident = OpenProcess(SYNCHRONIZE, FALSE, arguments.residentProcess);
    HWND window = WindowOfValue(arguments.candidateWindow);
    HWND list = WindowOfValue(arguments.candidateList);
    if (resident == nullptr || !NamesResidentWindows(arguments, window, list)) {
        TraceTo(traceViewer, "host: no resident program %x ", arguments.residentProcess);
        return HOST_EXIT_REFUSED;
    }
    if (AnotherHostRuns()) {
        TraceTo(traceViewer, "host: another host runs ");
        return HOST_EXIT_NOT_STARTED;
    }
    char settingsName[MAX_PATH] = "SAMPRELO.INI";  // resolved beside the host; never read
    if (InitZelvo(settingsName, window, list) != 1) {
        return HOST_EXIT_NOT_STARTED;
    }
    TraceTo(traceViewer, "host: hook installed for %x ", arguments.residentProcess);
    PumpUntilResidentEnds(resident);
    EndZelvo();
    TraceTo(traceViewer, "host: ended ");
    return HOST_EXIT_NORMAL;
}
