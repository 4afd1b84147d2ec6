#include "message_hook.h"

#include "hook_operations.h"
#include "message_route.h"

// Every message of every GUI thread passes here. A message the hook does not act on costs
// the two entry tests, the route test and CallNextHookEx; nothing is allocated.
LRESULT CALLBACK MessageHook(int code, WPARAM removal, LPARAM message) {
    if (IsRemovedMessage(code, static_cast<unsigned long>(removal))) {
        MSG* record = reinterpret_cast<MSG*>(message);
        switch (RouteOfMessage(record->message, hookProcess.commitMessage,
                               hookProcess.moveMessage)) {
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
        case ROUTE_NONE:
            break;
        }
    }
    return CallNextHookEx(SharedHook(), code, removal, message);
}
