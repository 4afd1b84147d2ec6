#include "hook_state.h"

// One instance for all processes: the linker marks the section shared. The initializer
// keeps the variable in that section rather than in uninitialised data.
#ifdef _MSC_VER
#pragma data_seg(".shared")
HookSharedState hookShared = {};
#pragma data_seg()
#pragma comment(linker, "/SECTION:.shared,RWS")
#else
HookSharedState hookShared __attribute__((section(".shared"), shared)) = {};
#endif

HookProcessState hookProcess = {
    nullptr, 0, 0, 0, INVALID_HANDLE_VALUE, nullptr, nullptr, nullptr, nullptr, TLS_OUT_OF_INDEXES,
    {}, {}, 0, false, TLS_OUT_OF_INDEXES,
};

// Only the low 32 bits of a handle are significant in either width; a 64-bit process
// widens a 32-bit value with its sign, as the system does.
HWND SharedWindow(ULONG value) {
    return static_cast<HWND>(LongToHandle(static_cast<LONG>(value)));
}

HHOOK SharedHook() {
    return static_cast<HHOOK>(LongToHandle(static_cast<LONG>(hookShared.hookHandle)));
}

ULONG ToSharedValue(HANDLE handle) {
    return HandleToULong(handle);
}
