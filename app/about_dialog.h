// The About box: modal, one at a time, owned by the CandidateWindow.
#pragma once

#include <windows.h>

// The IDM_ABOUT command: shows the About box and returns when it is closed. With a box
// already open it brings that one to the front instead of opening a second.
void ShowAboutBox();

// Closes the open About box, if there is one (a press on the tray icon, the end command).
void CloseAboutBox();

// Always FALSE: no message needs the dialog manager's default handling turned off.
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
