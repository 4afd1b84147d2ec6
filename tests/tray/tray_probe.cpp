// TRAYPROBE.DLL (see tray_probe.h).
#include "tray_probe.h"

static const UINT MN_GETHMENU_MESSAGE = 0x01E1;

static void ReadItem(HMENU menu, int position, MenuProbeItem* item) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING;
    info.dwTypeData = item->text;
    info.cch = sizeof item->text;
    GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info);
    item->id = info.wID;
    item->type = info.fType;
    item->state = info.fState;
    GetMenuItemRect(nullptr, menu, static_cast<UINT>(position), &item->rect);
}

static void AnswerMenuProbe(HWND menuWindow, HWND replyTo) {
    MenuProbeReply reply = {};
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU_MESSAGE, 0, 0));
    int count = menu != nullptr ? GetMenuItemCount(menu) : -1;
    reply.count = count < MENU_PROBE_MAX_ITEMS ? count : MENU_PROBE_MAX_ITEMS;
    for (int i = 0; i < reply.count; ++i) {
        ReadItem(menu, i, &reply.items[i]);
    }
    COPYDATASTRUCT data = {MENU_PROBE_REPLY_TAG, sizeof reply, &reply};
    SendMessageA(replyTo, WM_COPYDATA, reinterpret_cast<WPARAM>(menuWindow), reinterpret_cast<LPARAM>(&data));
}

extern "C" LRESULT CALLBACK MenuProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    static UINT probeMessage = RegisterWindowMessageA(MENU_PROBE_MESSAGE_NAME);
    const CWPSTRUCT* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == probeMessage) {
        AnswerMenuProbe(sent->hwnd, reinterpret_cast<HWND>(sent->wParam));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
