// Which presses on the tray icon open the menu, and what the menu holds.
#include "tray_menu_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cp932.h"
#include "resource_ids.h"

namespace {

struct TrayEventCase {
    const char* what;
    unsigned long long mouseMessage;
    bool opens;
};

const TrayEventCase TRAY_EVENT_CASES[] = {
    {"left button press", 0x0201, true},
    {"right button press", 0x0204, true},
    {"left button release", 0x0202, false},
    {"right button release", 0x0205, false},
    {"mouse move", 0x0200, false},
    {"left double click", 0x0203, false},
    {"right double click", 0x0206, false},
    {"middle button press", 0x0207, false},
    {"middle button release", 0x0208, false},
    {"the message posted after every menu", 0, false},
    {"context menu of the newer icon versions", 0x007B, false},
    {"select of the newer icon versions", 0x0400, false},
    {"press with the icon id in the high word (newer versions)", 0x03E80201, false},
    {"press with bits beyond 32", 0x100000201ull, false},
};

TEST(TrayEventTest, OnlyALeftOrRightPressOpensTheMenu) {
    for (const TrayEventCase& c : TRAY_EVENT_CASES) {
        EXPECT_EQ(TrayEventOpensMenu(c.mouseMessage), c.opens) << c.what;
    }
}

// The texts as a user reads them; the menu carries them in Shift-JIS.
std::string Sjis(const char16_t* text) {
    std::string bytes;
    EXPECT_TRUE(Utf16ToCp932(text, &bytes));
    return bytes;
}

struct ExpectedItem {
    TrayMenuItemKind kind;
    int id;
    const char16_t* text;  // null for the separator
    bool checked;
};

struct MenuCase {
    const char* what;
    bool mayEnd;
    bool clipboardGivenBack;
    std::vector<ExpectedItem> items;
};

TEST(TrayMenuTest, ListsEndSeparatorClipboardAboutInThisOrder) {
    const MenuCase cases[] = {
        {"the program may end, the clipboard is given back",
         true,
         true,
         {{TrayMenuItemKind::Command, IDM_EXIT, u"常駐解除(&Z)", false},
          {TrayMenuItemKind::Separator, 0, nullptr, false},
          {TrayMenuItemKind::Command, IDM_GIVE_CLIPBOARD_BACK, u"クリップボードを元に戻す(&C)", true},
          {TrayMenuItemKind::Command, IDM_ABOUT, u"Zelvoについて(&A)", false}}},
        {"the word stays on the clipboard",
         true,
         false,
         {{TrayMenuItemKind::Command, IDM_EXIT, u"常駐解除(&Z)", false},
          {TrayMenuItemKind::Separator, 0, nullptr, false},
          {TrayMenuItemKind::Command, IDM_GIVE_CLIPBOARD_BACK, u"クリップボードを元に戻す(&C)", false},
          {TrayMenuItemKind::Command, IDM_ABOUT, u"Zelvoについて(&A)", false}}},
        {"the program may not end now",
         false,
         true,
         {{TrayMenuItemKind::Command, IDM_GIVE_CLIPBOARD_BACK, u"クリップボードを元に戻す(&C)", true},
          {TrayMenuItemKind::Command, IDM_ABOUT, u"Zelvoについて(&A)", false}}},
    };
    for (const MenuCase& c : cases) {
        SCOPED_TRACE(c.what);
        TrayMenuItem items[TRAY_MENU_MAX_ITEMS] = {};
        int count = TrayMenuItems(c.mayEnd, c.clipboardGivenBack, items);
        ASSERT_EQ(static_cast<size_t>(count), c.items.size());
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(items[i].kind, c.items[i].kind) << "item " << i;
            EXPECT_EQ(items[i].id, c.items[i].id) << "item " << i;
            EXPECT_EQ(items[i].checked, c.items[i].checked) << "item " << i;
            if (c.items[i].text == nullptr) {
                EXPECT_EQ(items[i].text, nullptr) << "item " << i;
            } else {
                ASSERT_NE(items[i].text, nullptr) << "item " << i;
                EXPECT_EQ(std::string(items[i].text), Sjis(c.items[i].text)) << "item " << i;
            }
        }
    }
}

}  // namespace
