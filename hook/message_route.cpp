#include "message_route.h"

constexpr unsigned MSG_KEY_DOWN = 0x0100;         // WM_KEYDOWN
constexpr unsigned MSG_KEY_UP = 0x0101;           // WM_KEYUP
constexpr unsigned MSG_SYS_KEY_DOWN = 0x0104;     // WM_SYSKEYDOWN
constexpr unsigned MSG_SYS_KEY_UP = 0x0105;       // WM_SYSKEYUP
constexpr unsigned MSG_IME_COMPOSITION = 0x010F;  // WM_IME_COMPOSITION
constexpr unsigned MSG_LBUTTON_UP = 0x0202;       // WM_LBUTTONUP
constexpr unsigned MSG_RBUTTON_DOWN = 0x0204;     // WM_RBUTTONDOWN
constexpr unsigned MSG_MBUTTON_DOWN = 0x0207;     // WM_MBUTTONDOWN
constexpr unsigned MSG_MOUSE_WHEEL = 0x020A;      // WM_MOUSEWHEEL

bool IsRemovedMessage(int hookCode, unsigned long removal) {
    return hookCode == 0 && removal == 1;
}

HookRoute RouteOfMessage(unsigned message, unsigned commitMessage, unsigned moveMessage) {
    switch (message) {
    case MSG_KEY_DOWN:
        return ROUTE_KEY_DOWN;
    case MSG_KEY_UP:
    case MSG_SYS_KEY_DOWN:
    case MSG_SYS_KEY_UP:
        return ROUTE_KEY_OTHER;
    case MSG_IME_COMPOSITION:
        return ROUTE_COMPOSITION;
    case MSG_LBUTTON_UP:
        return ROUTE_REFRESH;
    case MSG_RBUTTON_DOWN:
    case MSG_MBUTTON_DOWN:
    case MSG_MOUSE_WHEEL:
        return ROUTE_HIDE;
    default:
        break;
    }
    if (message != 0 && message == commitMessage) {
        return ROUTE_COMMIT;
    }
    if (message != 0 && message == moveMessage) {
        return ROUTE_MOVE;
    }
    return ROUTE_NONE;
}

bool ActsOnWindowOf(unsigned long windowProcess, unsigned long ownProcess) {
    return windowProcess != 0 && windowProcess == ownProcess;
}
