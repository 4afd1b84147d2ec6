// The notification-area icon of the resident program.
#pragma once

#include <windows.h>

// Adds the icon for window unless trayIconAdded says it is there; sets trayIconAdded.
void AddTrayIcon(HWND window);

// Removes the icon of mainWindow if trayIconAdded; clears trayIconAdded.
void RemoveTrayIcon();

// The icon and its tip show again whether learning is paused (a greyed icon, and the tip
// says so).
void UpdateTrayIcon();

enum TrayNoticeIcon { TRAY_NOTICE_INFO, TRAY_NOTICE_WARNING, TRAY_NOTICE_ERROR };

// Shows a notice from the icon in a balloon: a title (at most 63 bytes), a text (at most
// 255), an icon kind. False when the shell refused it (no icon in the notification area).
bool ShowTrayNotice(const char* title, const char* text, TrayNoticeIcon icon);
