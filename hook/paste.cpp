// Making the target paste the clipboard: a WM_PASTE for the edit controls that take it, a
// synthetic Ctrl+V for every other window, and what the clipboard held given back once the
// word is pasted; and the clipboard tool's notification, which does not wait for the tool.
#include "hook_operations.h"
#include "paste_class.h"

static const char CLIPBOARD_TOOL_TITLE[] = "Marnet";
static const char CLIPBOARD_TOOL_MESSAGE[] = "MarnetMsg";

int IsPasteClass(HWND window) {
    char className[CLASS_NAME_SIZE];
    ReadClassName(window, className);
    return IsPasteClassName(className) ? 1 : 0;
}

// The four key events go into the input queue in one call, so that no other input comes in
// between, and reach the target's thread after this hook call has returned; the application
// then pastes with its own Ctrl+V handling. Each carries a mark of this thread's order, which
// keeps the keys typed ahead behind them and gives the clipboard back once they are through.
static void TypeControlV() {
    HookThreadState* state = ThreadState(true);
    uint16_t first = 0;
    bool ordered = state != nullptr && OrderPaste(&state->order, PASTE_KEY_EVENT_COUNT, GetTickCount(), &first);
    INPUT inputs[PASTE_KEY_EVENT_COUNT] = {};
    for (int i = 0; i < PASTE_KEY_EVENT_COUNT; ++i) {
        inputs[i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = PASTE_KEY_EVENTS[i].key;
        inputs[i].ki.wScan = static_cast<WORD>(MapVirtualKeyA(PASTE_KEY_EVENTS[i].key, MAPVK_VK_TO_VSC));
        inputs[i].ki.dwFlags = PASTE_KEY_EVENTS[i].flags;
        inputs[i].ki.dwExtraInfo = ordered ? InputMark(GetCurrentThreadId(), static_cast<uint16_t>(first + i)) : 0;
    }
    UINT sent = SendInput(PASTE_KEY_EVENT_COUNT, inputs, sizeof(INPUT));
    if (sent == 0 && state != nullptr) {
        TraceTo(TraceViewer(), "no paste keys ");
        DropOrder(&state->order);
        GiveClipboardBack(&state->kept);  // no paste is coming
    }
}

void PasteIntoTarget(HWND window) {
    char className[CLASS_NAME_SIZE];
    ReadClassName(window, className);
    TraceTo(TraceViewer(), "class=%s ", className);
    if (IsPasteClass(window)) {
        SendMessageA(window, WM_PASTE, 0, 0);  // the control has pasted when it returns
        if (HookThreadState* state = ThreadState(false)) {
            GiveClipboardBack(&state->kept);
        }
    } else {
        TypeControlV();
    }
}

void NotifyClipboardTool(HWND window) {
    if (!IsPasteClass(window)) {
        return;
    }
    UINT message = RegisterWindowMessageA(CLIPBOARD_TOOL_MESSAGE);
    HWND tool = FindWindowA(nullptr, CLIPBOARD_TOOL_TITLE);
    if (tool == nullptr) {
        return;
    }
    SendNotifyMessageA(tool, message, 1, 0);  // no answer is needed: nothing waits for the tool
}
