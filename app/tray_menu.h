// The tray menu: opened by a button press on the notification-area icon.
#pragma once

#include <windows.h>

// The WM_ZELVO_TRAY handler: on a left or right button press (lParam) it closes an open
// About box and shows the menu at the cursor; the chosen command arrives as WM_COMMAND.
// wParam (the icon id) is not read.
void ShowTrayMenu(WPARAM wParam, LPARAM lParam);
