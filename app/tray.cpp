#include "tray.h"

#include <shellapi.h>

#include "exchange.h"
#include "notice_texts.h"
#include "resident_state.h"
#include "window_ids.h"

// The first, version-less form of the record: window, id, flags, callback message, icon and a
// 64-byte tip. 88 bytes in the 32-bit program; the same fields take 104 bytes in 64 bits.
#ifdef _WIN64
static_assert(NOTIFYICONDATAA_V1_SIZE == 104, "first record form, 64-bit layout");
#else
static_assert(NOTIFYICONDATAA_V1_SIZE == 88, "first record form");
#endif
static const int TRAY_TIP_SIZE = 64;

static const char TRAY_TIP[] = "Zelvo";
static const int TRAY_ICON_SIZE = 16;
static const UINT TRAY_NOTICE_TIMEOUT_MS = 15000;  // how long the balloon asks to stay

static BOOL TrayAdd(HWND window, UINT id, HICON icon, const char* tip, UINT callbackMessage) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    lstrcpynA(data.szTip, tip, TRAY_TIP_SIZE);  // with its NUL
    return Shell_NotifyIconA(NIM_ADD, &data);
}

static BOOL TrayDelete(HWND window, UINT id) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = id;
    return Shell_NotifyIconA(NIM_DELETE, &data);
}

// The icon and tip say whether learning is paused.
static HICON CurrentIcon() {
    int id = residentState.learningPaused ? IDI_PAUSED : IDI_MAIN;
    return static_cast<HICON>(LoadImageA(residentState.instance, MAKEINTRESOURCEA(id), IMAGE_ICON, TRAY_ICON_SIZE,
                                         TRAY_ICON_SIZE, LR_DEFAULTCOLOR));
}

static const char* CurrentTip() {
    return residentState.learningPaused ? NOTICE_TIP_PAUSED : TRAY_TIP;
}

void AddTrayIcon(HWND window) {
    if (residentState.trayIconAdded) {
        return;
    }
    TrayAdd(window, TRAY_ICON_ID, CurrentIcon(), CurrentTip(), WM_ZELVO_TRAY);
    residentState.trayIconAdded = true;  // an attempt; "TaskbarCreated" repairs a failure
}

void RemoveTrayIcon() {
    if (!residentState.trayIconAdded) {
        return;
    }
    TrayDelete(residentState.mainWindow, TRAY_ICON_ID);
    residentState.trayIconAdded = false;
}

void UpdateTrayIcon() {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = residentState.mainWindow;
    data.uID = TRAY_ICON_ID;
    data.uFlags = NIF_ICON | NIF_TIP;
    data.hIcon = CurrentIcon();
    lstrcpynA(data.szTip, CurrentTip(), TRAY_TIP_SIZE);
    Shell_NotifyIconA(NIM_MODIFY, &data);
}

static DWORD NoticeIconFlags(TrayNoticeIcon icon) {
    switch (icon) {
    case TRAY_NOTICE_WARNING:
        return NIIF_WARNING;
    case TRAY_NOTICE_ERROR:
        return NIIF_ERROR;
    default:
        return NIIF_INFO;
    }
}

// A change of the icon that adds a balloon: the record in its second form, which has the
// balloon's fields.
bool ShowTrayNotice(const char* title, const char* text, TrayNoticeIcon icon) {
    NOTIFYICONDATAA data = {};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = residentState.mainWindow;
    data.uID = TRAY_ICON_ID;
    data.uFlags = NIF_INFO;
    lstrcpynA(data.szInfo, text, sizeof data.szInfo);
    lstrcpynA(data.szInfoTitle, title, sizeof data.szInfoTitle);
    data.uTimeout = TRAY_NOTICE_TIMEOUT_MS;
    data.dwInfoFlags = NoticeIconFlags(icon);
    bool shown = Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
    TRACE("notice %s: %s: %s ", shown ? "shown" : "refused", title, text);
    return shown;
}
