// The plain decisions behind the tray icon: which mouse messages over the icon open the menu,
// and what the menu holds. No Windows headers.
#pragma once

// Mouse messages that the notification area reports for the icon (the values of WM_*).
constexpr unsigned long long TRAY_LEFT_BUTTON_DOWN = 0x0201;
constexpr unsigned long long TRAY_RIGHT_BUTTON_DOWN = 0x0204;

// True for a left or right button press over the icon. Releases, double clicks, moves, other
// buttons and the 0 that follows every menu open nothing.
bool TrayEventOpensMenu(unsigned long long mouseMessage);

// Submenu: the items after it marked inSubmenu are its items.
enum class TrayMenuItemKind { Command, Separator, Submenu };

struct TrayMenuItem {
    TrayMenuItemKind kind;
    int id;                 // command id; 0 for a separator or a submenu
    const char* text;       // Shift-JIS; null for the separator
    const char16_t* name;   // a program's file name that follows text, or null
    const char* textAfter;  // Shift-JIS after the name, or null
    bool checked;
    bool grayed;
    bool inSubmenu;         // an item of the submenu above it
};

// What the menu shows about what Zelvo learns.
struct TrayLearningState {
    bool paused;                          // learning is paused
    const char16_t* lastProgram;          // file name of the program of the last candidates, or null
    bool lastProgramExcluded;             // ... which the user already keeps Zelvo out of
    const char16_t* const* excluded;      // the programs Zelvo is kept out of, in the list's order
    int excludedCount;
    bool dictionaryFile;                  // the program has a dictionary file it can open
    int words;                            // the words in the dictionary
};

// The old words the clean-up removes, and the fewest words a dictionary must hold for it to
// be offered (fewer would leave next to nothing).
constexpr int CLEAN_UP_WORDS = 1000;

constexpr int TRAY_MENU_MAX_ITEMS = 48;

// Fills items (room for TRAY_MENU_MAX_ITEMS) in menu order and returns their number: the
// items about what Zelvo learns, the clipboard item (checked while what the clipboard held is
// given back after a commit) and a separator, then the end command and its separator only
// when the program may end now, then the About command.
int TrayMenuItems(bool mayEnd, const TrayLearningState& learning, bool clipboardGivenBack,
                  TrayMenuItem* items);
