// The plain decisions behind the tray icon: which mouse messages over the icon open the menu,
// and what the menu holds. No Windows headers.
#pragma once

// Mouse messages that the notification area reports for the icon (the values of WM_*).
constexpr unsigned long long TRAY_LEFT_BUTTON_DOWN = 0x0201;
constexpr unsigned long long TRAY_RIGHT_BUTTON_DOWN = 0x0204;

// True for a left or right button press over the icon. Releases, double clicks, moves, other
// buttons and the 0 that follows every menu open nothing.
bool TrayEventOpensMenu(unsigned long long mouseMessage);

enum class TrayMenuItemKind { Command, Separator };

struct TrayMenuItem {
    TrayMenuItemKind kind;
    int id;            // command id; 0 for the separator
    const char* text;  // Shift-JIS; null for the separator
    bool checked;      // shown with a check mark
};

constexpr int TRAY_MENU_MAX_ITEMS = 4;

// Fills items (room for TRAY_MENU_MAX_ITEMS) in menu order and returns their number. The end
// command and its separator come only when the program may end now. The clipboard item is
// checked while what the clipboard held is given back after a commit.
int TrayMenuItems(bool mayEnd, bool clipboardGivenBack, TrayMenuItem* items);
