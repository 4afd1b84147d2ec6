#include "tray_menu_rules.h"

#include "menu_texts.h"
#include "resource_ids.h"

bool TrayEventOpensMenu(unsigned long long mouseMessage) {
    return mouseMessage == TRAY_LEFT_BUTTON_DOWN || mouseMessage == TRAY_RIGHT_BUTTON_DOWN;
}

int TrayMenuItems(bool mayEnd, TrayMenuItem* items) {
    int count = 0;
    if (mayEnd) {
        items[count++] = {TrayMenuItemKind::Command, IDM_EXIT, MENU_TEXT_EXIT};
        items[count++] = {TrayMenuItemKind::Separator, 0, nullptr};
    }
    items[count++] = {TrayMenuItemKind::Command, IDM_ABOUT, MENU_TEXT_ABOUT};
    return count;
}
