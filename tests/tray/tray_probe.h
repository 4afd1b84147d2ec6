// TRAYPROBE.DLL: a test library that a thread hook loads into the resident program, so that
// the open popup menu can be read where it lives (menu handles do not cross processes under
// Wine). The test sends MENU_PROBE_MESSAGE to the menu window ("#32768") with its reply window
// in wParam and gets a MenuProbeReply by WM_COPYDATA.
#pragma once

#include <windows.h>

constexpr const char* TRAY_PROBE_LIBRARY = "TRAYPROBE.DLL";
constexpr const char* MENU_PROBE_HOOK = "MenuProbeHook";

constexpr const char* MENU_PROBE_MESSAGE_NAME = "ZelvoTestMenuProbe";
constexpr ULONG_PTR MENU_PROBE_REPLY_TAG = 0x4D454E55;  // "MENU"
constexpr int MENU_PROBE_MAX_ITEMS = 16;

struct MenuProbeItem {
    UINT id;
    UINT type;   // MFT_* of the item (MFT_SEPARATOR for a separator)
    UINT state;  // MFS_* of the item
    RECT rect;   // on the screen
    char text[64];
};

struct MenuProbeReply {
    int count;  // -1 when the window held no menu
    MenuProbeItem items[MENU_PROBE_MAX_ITEMS];
};
