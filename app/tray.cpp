#include "tray.h"

#include <shellapi.h>

#include "exchange.h"
#include "resident_state.h"
#include "window_ids.h"

static const char TRAY_TIP[] = "Zelvo";
static const int TRAY_ICON_SIZE = 16;

static BOOL TrayAdd(HWND window, UINT id, HICON icon, const char* tip, UINT callbackMessage) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    lstrcpynA(data.szTip, tip, 64);  // the tip field of the first record form
    return Shell_NotifyIconA(NIM_ADD, &data);
}

static BOOL TrayDelete(HWND window, UINT id) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = id;
    return Shell_NotifyIconA(NIM_DELETE, &data);
}

void AddTrayIcon(HWND window) {
    if (residentState.trayIconAdded) {
        return;
    }
    HICON icon = static_cast<HICON>(LoadImageA(residentState.instance, MAKEINTRESOURCEA(IDI_MAIN),
                                               IMAGE_ICON, TRAY_ICON_SIZE, TRAY_ICON_SIZE,
                                               LR_DEFAULTCOLOR));
    TrayAdd(window, TRAY_ICON_ID, icon, TRAY_TIP, WM_ZELVO_TRAY);
    residentState.trayIconAdded = true;  // an attempt; "TaskbarCreated" repairs a failure
}

void RemoveTrayIcon() {
    if (!residentState.trayIconAdded) {
        return;
    }
    TrayDelete(residentState.mainWindow, TRAY_ICON_ID);
    residentState.trayIconAdded = false;
}
