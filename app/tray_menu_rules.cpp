#include "tray_menu_rules.h"

#include "menu_texts.h"
#include "resource_ids.h"

bool TrayEventOpensMenu(unsigned long long mouseMessage) {
    return mouseMessage == TRAY_LEFT_BUTTON_DOWN || mouseMessage == TRAY_RIGHT_BUTTON_DOWN;
}

int TrayMenuItems(bool mayEnd, bool clipboardGivenBack, TrayMenuItem* items) {
    int count = 0;
    if (mayEnd) {
        items[count++] = {TrayMenuItemKind::Command, IDM_EXIT, MENU_TEXT_EXIT, false};
        items[count++] = {TrayMenuItemKind::Separator, 0, nullptr, false};
    }
    items[count++] = {TrayMenuItemKind::Command, IDM_GIVE_CLIPBOARD_BACK, MENU_TEXT_GIVE_CLIPBOARD_BACK,
                      clipboardGivenBack};
    items[count++] = {TrayMenuItemKind::Command, IDM_ABOUT, MENU_TEXT_ABOUT, false};
    return count;
}
