// Keys typed ahead of a synthetic paste (input_order.h): while events of Zelvo's own are on
// their way to this thread, each other key it retrieves is typed again behind them and taken
// from the application, and the clipboard is given back once the paste's keys are through.
// Each thread keeps its own order: a process has many threads, and the input queue is a
// thread's.
#include "hook_operations.h"

#include <imm.h>

HookThreadState* ThreadState(bool create) {
    DWORD slot = hookProcess.threadSlot;
    if (slot == TLS_OUT_OF_INDEXES) {
        return nullptr;
    }
    HookThreadState* state = static_cast<HookThreadState*>(TlsGetValue(slot));
    if (state == nullptr && create) {
        state = static_cast<HookThreadState*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof *state));
        if (state != nullptr && !TlsSetValue(slot, state)) {
            HeapFree(GetProcessHeap(), 0, state);
            state = nullptr;
        }
    }
    return state;
}

void ReleaseThreadState() {
    HookThreadState* state = ThreadState(false);
    if (state == nullptr) {
        return;
    }
    ReleaseKeptClipboard(&state->kept);
    HeapFree(GetProcessHeap(), 0, state);
    TlsSetValue(hookProcess.threadSlot, nullptr);
}

static bool IsKeyRoute(HookRoute route) {
    return route == ROUTE_KEY_DOWN || route == ROUTE_KEY_OTHER;
}

static bool IsRelease(const MSG* message) {
    return (static_cast<std::uint32_t>(message->lParam) & 0x80000000u) != 0;
}

static unsigned ScanCodeOf(const MSG* message) {
    return (static_cast<std::uint32_t>(message->lParam) >> 16) & 0xFFu;
}

static bool IsExtended(const MSG* message) {
    return (static_cast<std::uint32_t>(message->lParam) & 0x01000000u) != 0;
}

// The key itself; while the IME takes keys a key-down says only VK_PROCESSKEY.
static unsigned RealKey(const MSG* message) {
    unsigned key = static_cast<unsigned>(message->wParam) & 0xFFu;
    if (key == VK_PROCESSKEY) {
        key = ImmGetVirtualKey(message->hwnd) & 0xFFu;
    }
    if (key == VK_PROCESSKEY) {
        key = MapVirtualKeyA(ScanCodeOf(message), MAPVK_VSC_TO_VK_EX) & 0xFFu;
    }
    return key != 0 ? key : VK_PROCESSKEY;
}

static bool TypeAgain(const MSG* message, unsigned key, uint32_t mark) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = static_cast<WORD>(key);
    input.ki.wScan = static_cast<WORD>(ScanCodeOf(message));
    input.ki.dwFlags = (IsExtended(message) ? KEYEVENTF_EXTENDEDKEY : 0) | (IsRelease(message) ? KEYEVENTF_KEYUP : 0);
    input.ki.dwExtraInfo = mark;
    return SendInput(1, &input, sizeof input) == 1;
}

bool KeepsTypingOrder(HookRoute route, MSG* message) {
    if (!IsKeyRoute(route)) {
        return false;
    }
    HookThreadState* state = ThreadState(false);
    if (state == nullptr || OrderIsEmpty(&state->order)) {
        return false;
    }
    uint16_t serial = 0;
    DWORD thread = GetCurrentThreadId();
    bool marked = ReadInputMark(static_cast<uint64_t>(GetMessageExtraInfo()), thread, &serial);
    unsigned key = RealKey(message);
    if (!marked && !KeyTypedAgain(key)) {
        return false;  // its effect is the system's, as it was typed: it goes on now
    }
    OrderStep step = OrderRetrievedKey(&state->order, marked, serial, message->time, GetTickCount());
    if (step.pasteThrough) {
        GiveClipboardBack(&state->kept);
    }
    if (step.action == ORDER_PASS) {
        return false;
    }
    if (!TypeAgain(message, key, InputMark(thread, step.serial))) {
        // The key goes on now: none is ever lost. A paste still on its way may yet come, so
        // the clipboard keeps the word rather than paste the earlier content.
        DropOrder(&state->order);
        TraceTo(TraceViewer(), "not typed again %x ", key);
        return false;
    }
    ConsumeMessage(message);
    return true;
}
