// Making the target paste the clipboard: a WM_PASTE for the edit controls that take it, a
// synthetic Ctrl+V for every other window; and the clipboard tool's notification, which
// does not wait for the tool.
#include "hook_operations.h"
#include "paste_class.h"

static const char CLIPBOARD_TOOL_TITLE[] = "Marnet";
static const char CLIPBOARD_TOOL_MESSAGE[] = "MarnetMsg";

int IsPasteClass(HWND window) {
    char className[CLASS_NAME_SIZE];
    ReadClassName(window, className);
    return IsPasteClassName(className) ? 1 : 0;
}

// The four key events reach the target's thread after this hook call has returned, behind
// the consumed Enter; the application then pastes with its own Ctrl+V handling.
static void TypeControlV() {
    for (const PasteKeyEvent& event : PASTE_KEY_EVENTS) {
        BYTE scanCode = static_cast<BYTE>(MapVirtualKeyA(event.key, MAPVK_VK_TO_VSC));
        keybd_event(event.key, scanCode, event.flags, 0);
    }
}

void PasteIntoTarget(HWND window) {
    char className[CLASS_NAME_SIZE];
    ReadClassName(window, className);
    TraceTo(TraceViewer(), "class=%s ", className);
    if (IsPasteClass(window)) {
        SendMessageA(window, WM_PASTE, 0, 0);
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
