// Which messages the message hook acts on. The hook runs for every message of every GUI
// thread: these tests are all it does for the messages it leaves alone.
#pragma once

enum HookRoute {
    ROUTE_NONE,         // pass on untouched
    ROUTE_KEY_DOWN,     // WM_KEYDOWN
    ROUTE_KEY_OTHER,    // WM_KEYUP, WM_SYSKEYDOWN, WM_SYSKEYUP: kept in order behind a paste
    ROUTE_COMPOSITION,  // WM_IME_COMPOSITION
    ROUTE_REFRESH,      // WM_LBUTTONUP: show the last composition again
    ROUTE_HIDE,         // right or middle button press, wheel: hide the candidates
    ROUTE_COMMIT,       // "Zelvo_kakuteiMSG"
    ROUTE_MOVE,         // "Zelvo_moveMSG"
};

// Only a message taken out of the queue (hook code HC_ACTION, removal flag PM_REMOVE) is
// acted on; one that is only peeked at is left alone.
bool IsRemovedMessage(int hookCode, unsigned long removal);

// The route of a message: the fixed numbers first, then the registered commit and move
// numbers. A registered number of 0 (registration failed) never matches.
HookRoute RouteOfMessage(unsigned message, unsigned commitMessage, unsigned moveMessage);

// Whether the hook acts on a routed message whose window belongs to windowProcess (0: the
// message has no window, or its window is gone), in the process ownProcess. Windows calls a
// hook for the applications of the other width in the thread that installed it, with their
// messages: their windows belong to other processes, and such a call is passed on at once,
// so that those applications never wait on anything the hook would do.
bool ActsOnWindowOf(unsigned long windowProcess, unsigned long ownProcess);
