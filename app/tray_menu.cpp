// The tray menu, built anew for every press and destroyed after it.
#include "tray_menu.h"

#include "about_dialog.h"
#include "clipboard_choice.h"
#include "exchange.h"
#include "resident_state.h"
#include "tray_menu_rules.h"
#include "zelvos.h"

static const UINT TRAY_MENU_FLAGS = TPM_RIGHTALIGN;  // top edge at the cursor, left button picks
static_assert(TRAY_MENU_FLAGS == 0x0008, "right-aligned at the cursor, otherwise defaults");

static HMENU BuildTrayMenu() {
    HMENU menu = CreatePopupMenu();
    TrayMenuItem items[TRAY_MENU_MAX_ITEMS];
    int count = TrayMenuItems(QueryEnd() != 0, ClipboardGivenBack(), items);
    for (int i = 0; i < count; ++i) {
        if (items[i].kind == TrayMenuItemKind::Separator) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            UINT flags = MF_STRING | (items[i].checked ? MF_CHECKED : MF_UNCHECKED);
            AppendMenuA(menu, flags, static_cast<UINT_PTR>(items[i].id), items[i].text);
        }
    }
    return menu;
}

void ShowTrayMenu(WPARAM, LPARAM lParam) {
    if (!TrayEventOpensMenu(static_cast<unsigned long long>(lParam))) {
        return;
    }
    CloseAboutBox();
    HMENU menu = BuildTrayMenu();
    POINT cursor = {};
    GetCursorPos(&cursor);
    // In front, so that a click anywhere else closes the menu.
    SetForegroundWindow(GetLastActivePopup(residentState.mainWindow));
    TrackPopupMenu(menu, TRAY_MENU_FLAGS, cursor.x, cursor.y, 0, residentState.mainWindow, nullptr);
    // A message of its own after the menu: the press test above lets it pass without effect.
    PostMessageA(residentState.mainWindow, WM_ZELVO_TRAY, 0, 0);
    DestroyMenu(menu);
}
