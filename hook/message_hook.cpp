#include "message_hook.h"

#include "hook_operations.h"
#include "message_route.h"

static void Dispatch(HookRoute route, MSG* record) {
    switch (route) {
    case ROUTE_KEY_DOWN:
        HandleKeyDown(record);
        break;
    case ROUTE_COMPOSITION:
        HandleComposition(record);
        break;
    case ROUTE_REFRESH:
        RefreshCandidates();
        break;
    case ROUTE_HIDE:
        HideCandidatesOnMouse();
        break;
    case ROUTE_COMMIT:
        TraceTo(TraceViewer(), "kakutei ");
        CommitSelection(record);
        break;
    case ROUTE_MOVE:
        PlaceDeferredCandidates();
        break;
    case ROUTE_KEY_OTHER:
    case ROUTE_NONE:
        break;
    }
}

// A hook that an earlier copy of the resident program left installed (it ended without
// removing it) runs this same procedure again, from inside CallNextHookEx, for the same
// record. Each thread remembers the record it is handling, so the nested call only passes it
// on: the work is done once per message however many copies of the hook are chained.
static LRESULT HandleRouted(HookRoute route, int code, WPARAM removal, MSG* record) {
    DWORD slot = hookProcess.recordSlot;
    void* outer = slot != TLS_OUT_OF_INDEXES ? TlsGetValue(slot) : nullptr;
    if (outer == record) {
        return CallNextHookEx(SharedHook(), code, removal, reinterpret_cast<LPARAM>(record));
    }
    if (slot != TLS_OUT_OF_INDEXES) {
        TlsSetValue(slot, record);
    }
    // A stalled resident program is left alone, and so is a program the user keeps Zelvo out
    // of: the message goes on as if Zelvo were not running. The order of keys typed ahead of a
    // paste is kept whatever the resident program does.
    if (!KeepsTypingOrder(route, record) && ResidentAvailable() && !ProcessExcluded()) {
        Dispatch(route, record);
    }
    LRESULT result = CallNextHookEx(SharedHook(), code, removal, reinterpret_cast<LPARAM>(record));
    if (slot != TLS_OUT_OF_INDEXES) {
        TlsSetValue(slot, outer);
    }
    return result;
}

// Every message of every GUI thread passes here. A message the hook does not act on costs
// the two entry tests, the route test and CallNextHookEx; nothing is allocated.
LRESULT CALLBACK MessageHook(int code, WPARAM removal, LPARAM message) {
    if (IsRemovedMessage(code, static_cast<unsigned long>(removal))) {
        MSG* record = reinterpret_cast<MSG*>(message);
        HookRoute route = RouteOfMessage(record->message, hookProcess.commitMessage,
                                         hookProcess.moveMessage);
        // A call for a window of another process is Windows' call for an application of the
        // other width, in the thread that installed the hook: it goes on at once.
        if (route != ROUTE_NONE && IsWindowOfThisProcess(record->hwnd)) {
            return HandleRouted(route, code, removal, record);
        }
    }
    return CallNextHookEx(SharedHook(), code, removal, message);
}
