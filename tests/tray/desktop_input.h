// Real mouse and key input on the Wine desktop, and the windows of other processes, for the
// tray tests and the screenshot helper.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The top-level windows of a class, of one process (0: any), visible ones only unless asked.
std::vector<HWND> VisibleWindows(const char* className, DWORD processId, bool visibleOnly = true);

RECT Rect(HWND window);
POINT Center(const RECT& r);

void MoveMouse(POINT at);
void Click(POINT at, DWORD down = MOUSEEVENTF_LEFTDOWN, DWORD up = MOUSEEVENTF_LEFTUP);
void PressKey(WORD key);

// The texts of the static controls of a dialog of another process (the text of a message
// box), in the ANSI code page.
std::string DialogText(HWND box);

// The message boxes (dialogs) shown by one process (0: none), the first one to appear within
// the time (nullptr if none did; this thread's messages are handled meanwhile), and a press
// of one of a box's buttons.
std::vector<HWND> MessageBoxes(DWORD processId);
HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs);
void AnswerMessageBox(HWND box, int button);

// The texts of the tooltips on screen (the taskbar's tips and balloons), in the ANSI code page.
std::vector<std::string> ShownTooltips();

// The taskbar of the virtual desktop, and the centre of the first icon of its notification area.
HWND Taskbar();
POINT FirstIconCenter();
