// HOLDPROBE.DLL (see hold_probe.h).
#include <windows.h>

#include "hold_probe.h"

extern "C" LRESULT CALLBACK HoldProbeHook(int code, WPARAM removal, LPARAM message) {
    static const UINT hold = RegisterWindowMessageA(HOLD_PROBE_MESSAGE);
    const MSG* record = reinterpret_cast<const MSG*>(message);
    if (code == HC_ACTION && removal == PM_REMOVE && hold != 0 && record->message == hold) {
        HANDLE release = OpenEventA(SYNCHRONIZE, FALSE, HOLD_PROBE_RELEASE);
        if (release != nullptr) {
            WaitForSingleObject(release, HOLD_PROBE_LONGEST_MS);
            CloseHandle(release);
        }
    }
    return CallNextHookEx(nullptr, code, removal, message);
}
