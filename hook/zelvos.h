// The exports of the hook library ZELVOS.DLL, called by the resident program only.
#pragma once

#include <windows.h>

#ifdef ZELVOS_BUILD
#define ZELVOS_API extern "C" __declspec(dllexport)
#else
#define ZELVOS_API extern "C" __declspec(dllimport)
#endif

// Stores the two windows in the state shared by every process, resolves settingsName
// (a buffer of 260 bytes) in place into a full path, and installs the message hook for all
// threads of the desktop. Returns 1, also when the hook could not be installed.
ZELVOS_API int WINAPI InitZelvo(char* settingsName, HWND candidateWindow, HWND candidateList);

// Removes the hook; 0 when none was installed, else the result of UnhookWindowsHookEx.
ZELVOS_API int WINAPI EndZelvo(void);

// Always 1: the resident program may end now.
ZELVOS_API int WINAPI QueryEnd(void);
