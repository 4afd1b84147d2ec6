// Shows the tray menu or the About box of a real ZELVO.EXE and holds it for a screenshot
// (scripts/screenshots). Not a test: it reports where the window is and waits.
//   tray_screens.exe menu|about <ready file> <done file>
// Writes "left top right bottom" of the shown window to the ready file, waits for the done
// file (at most a minute), then ends the program.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "desktop_input.h"
#include "zelvo_driver.h"

namespace {

const DWORD SHOW_TIMEOUT_MS = 10000;
const DWORD HOLD_TIMEOUT_MS = 60000;

HWND VisibleWindowOf(const char* className, DWORD processId) {
    std::vector<HWND> windows = VisibleWindows(className, processId);
    return windows.empty() ? nullptr : windows.front();
}

HWND WaitForWindow(const char* className, DWORD processId) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = VisibleWindowOf(className, processId)) != nullptr; }, SHOW_TIMEOUT_MS);
    return window;
}

// A press on the icon as a user makes it; for the About box, then the menu's access key A.
HWND Show(const std::string& what, const Resident& resident) {
    DWORD processId = resident.process.dwProcessId;
    WaitUntil([] { return FindWindowA("Shell_TrayWnd", nullptr) != nullptr; }, SHOW_TIMEOUT_MS);
    Click(FirstIconCenter());
    HWND menu = WaitForWindow("#32768", processId);
    if (what == "menu" || menu == nullptr) {
        // The pointer leaves the icon, and the icon's tip with it.
        SetCursorPos(100, 100);
        WaitUntil([] { return FindWindowA("tooltips_class32", nullptr) == nullptr ||
                              !IsWindowVisible(FindWindowA("tooltips_class32", nullptr)); },
                  SHOW_TIMEOUT_MS);
        return menu;
    }
    PressKey('A');
    WaitUntil([&] { return VisibleWindowOf("#32768", processId) == nullptr; }, SHOW_TIMEOUT_MS);
    return WaitForWindow("#32770", processId);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 || (strcmp(argv[1], "menu") != 0 && strcmp(argv[1], "about") != 0)) {
        fprintf(stderr, "usage: tray_screens menu|about <ready file> <done file>\n");
        return 2;
    }
    StartTraceViewer();
    ScratchFolder scratch;
    Resident resident;
    // A folder of its own per window: the shell keeps the hook library of a run loaded.
    std::string folder = std::string("Zelvo-") + argv[1];
    if (!MakeScratchFolder(&scratch, "ZELVO.EXE", folder) || !StartResident(scratch, "", &resident)) {
        fprintf(stderr, "cannot start ZELVO.EXE\n");
        return 1;
    }
    HWND shown = Show(argv[1], resident);
    RECT r = {};
    if (shown != nullptr) {
        GetWindowRect(shown, &r);
        char line[64];
        snprintf(line, sizeof line, "%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
        WriteFileBytes(argv[2], line);
        WaitUntil([&] { return FileExists(argv[3]); }, HOLD_TIMEOUT_MS);
    }
    DWORD exitCode = 0;
    if (!EndResident(&resident, &exitCode)) {
        KillResident(&resident);
    }
    RemoveScratchFolder(scratch);
    return shown != nullptr ? 0 : 1;
}
