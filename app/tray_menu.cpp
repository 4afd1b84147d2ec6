// The tray menu, built anew for every press and destroyed after it.
#include "tray_menu.h"

#include <string>

#include "about_dialog.h"
#include "clipboard_choice.h"
#include "exchange.h"
#include "learning_choices.h"
#include "resident_state.h"
#include "tray_menu_rules.h"
#include "zelvos.h"

static const UINT TRAY_MENU_FLAGS = TPM_RIGHTALIGN;  // top edge at the cursor, left button picks
static_assert(TRAY_MENU_FLAGS == 0x0008, "right-aligned at the cursor, otherwise defaults");
static const UINT MENU_TEXT_CODE_PAGE = 932;  // the texts are Shift-JIS bytes whatever the system's code page

static void AppendShiftJis(std::wstring* text, const char* sjis) {
    WCHAR wide[256];
    int length = MultiByteToWideChar(MENU_TEXT_CODE_PAGE, 0, sjis, -1, wide, 256);
    if (length > 1) {
        text->append(wide, static_cast<size_t>(length - 1));
    }
}

// A program's name is shown as it is: an '&' in it is no access key.
static std::wstring ItemText(const TrayMenuItem& item) {
    std::wstring text;
    AppendShiftJis(&text, item.text);
    for (const char16_t* p = item.name; p != nullptr && *p != u'\0'; ++p) {
        if (*p == u'&') {
            text += L'&';
        }
        text += static_cast<WCHAR>(*p);
    }
    if (item.textAfter != nullptr) {
        AppendShiftJis(&text, item.textAfter);
    }
    return text;
}

static void AppendItem(HMENU menu, const TrayMenuItem& item, HMENU submenu) {
    if (item.kind == TrayMenuItemKind::Separator) {
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        return;
    }
    UINT flags = MF_STRING | (item.checked ? MF_CHECKED : 0) | (item.grayed ? MF_GRAYED : 0);
    UINT_PTR id = static_cast<UINT_PTR>(item.id);
    if (item.kind == TrayMenuItemKind::Submenu) {
        flags |= MF_POPUP;
        id = reinterpret_cast<UINT_PTR>(submenu);
    }
    AppendMenuW(menu, flags, id, ItemText(item).c_str());
}

static HMENU BuildTrayMenu() {
    HMENU menu = CreatePopupMenu();
    TrayMenuItem items[TRAY_MENU_MAX_ITEMS];
    int count = TrayMenuItems(QueryEnd() != 0, CurrentLearningState(), ClipboardGivenBack(), items);
    for (int i = 0; i < count; ++i) {
        if (items[i].inSubmenu) {
            continue;  // appended with their submenu
        }
        HMENU submenu = nullptr;
        if (items[i].kind == TrayMenuItemKind::Submenu) {
            submenu = CreatePopupMenu();
            for (int k = i + 1; k < count && items[k].inSubmenu; ++k) {
                AppendItem(submenu, items[k], nullptr);
            }
        }
        AppendItem(menu, items[i], submenu);  // the menu destroys its submenu with it
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
