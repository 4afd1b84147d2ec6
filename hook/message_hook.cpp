#include "message_hook.h"

#include "hook_state.h"

// Passes every message on to the next hook; nothing is allocated on this path.
LRESULT CALLBACK MessageHook(int code, WPARAM removal, LPARAM message) {
    return CallNextHookEx(SharedHook(), code, removal, message);
}
