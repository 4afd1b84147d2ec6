// The notification-area icon of the resident program.
#pragma once

#include <windows.h>

// Adds the icon for window unless trayIconAdded says it is there; sets trayIconAdded.
void AddTrayIcon(HWND window);

// Removes the icon of mainWindow if trayIconAdded; clears trayIconAdded.
void RemoveTrayIcon();
