// Which presses on the tray icon open the menu, and what the menu holds.
#include "tray_menu_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cp932.h"
#include "exchange.h"
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
    const char16_t* text;  // as the user reads it, the program's name included; null for a separator
    bool checked;
    bool grayed;
    bool inSubmenu;
};

ExpectedItem Command(int id, const char16_t* text) {
    return {TrayMenuItemKind::Command, id, text, false, false, false};
}

const ExpectedItem SEPARATOR = {TrayMenuItemKind::Separator, 0, nullptr, false, false, false};

struct MenuCase {
    const char* what;
    bool mayEnd;
    TrayLearningState learning;
    bool clipboardGivenBack;
    std::vector<ExpectedItem> items;
};

// The text of an item as the menu shows it: text, the program's name, the text after it.
std::string ShownText(const TrayMenuItem& item) {
    std::string shown = item.text;
    if (item.name != nullptr) {
        std::string name;
        EXPECT_TRUE(Utf16ToCp932(item.name, &name));
        shown += name;
    }
    if (item.textAfter != nullptr) {
        shown += item.textAfter;
    }
    return shown;
}

const char16_t* const NO_PROGRAMS[] = {nullptr};
const char16_t* const TWO_PROGRAMS[] = {u"NOTEPAD.EXE", u"WORDPAD.EXE"};
const TrayLearningState LEARNING = {false, nullptr, false, NO_PROGRAMS, 0, true, 5000};

TrayLearningState With(TrayLearningState state, void (*change)(TrayLearningState*)) {
    change(&state);
    return state;
}

TEST(TrayMenuTest, LearningAndClipboardItemsComeFirstAndTheEndAndAboutLast) {
    const ExpectedItem PAUSE = Command(IDM_PAUSE_LEARNING, u"学習を一時停止(&P)");
    const ExpectedItem OPEN = Command(IDM_OPEN_DICTIONARY, u"辞書ファイルを開く(&E)");
    const ExpectedItem CLEAN_UP = Command(IDM_CLEAN_UP, u"古い単語を整理…(&O)");
    const ExpectedItem EXIT = Command(IDM_EXIT, u"常駐解除(&Z)");
    const ExpectedItem ABOUT = Command(IDM_ABOUT, u"Zelvoについて(&A)");
    ExpectedItem paused = PAUSE;
    paused.checked = true;
    ExpectedItem openGrayed = OPEN;
    openGrayed.grayed = true;
    ExpectedItem cleanUpGrayed = CLEAN_UP;
    cleanUpGrayed.grayed = true;
    const ExpectedItem WORD_STAYS = Command(IDM_GIVE_CLIPBOARD_BACK, u"クリップボードを元に戻す(&C)");
    ExpectedItem givenBack = WORD_STAYS;
    givenBack.checked = true;
    const MenuCase cases[] = {
        {"the program may end", true, LEARNING, true, {PAUSE, OPEN, CLEAN_UP, givenBack, SEPARATOR, EXIT, SEPARATOR, ABOUT}},
        {"the word stays on the clipboard", true, LEARNING, false,
         {PAUSE, OPEN, CLEAN_UP, WORD_STAYS, SEPARATOR, EXIT, SEPARATOR, ABOUT}},
        {"the program may not end now", false, LEARNING, true, {PAUSE, OPEN, CLEAN_UP, givenBack, SEPARATOR, ABOUT}},
        {"learning paused", true, With(LEARNING, [](TrayLearningState* s) { s->paused = true; }), true,
         {paused, OPEN, CLEAN_UP, givenBack, SEPARATOR, EXIT, SEPARATOR, ABOUT}},
        {"the program of the last candidates",
         true,
         With(LEARNING, [](TrayLearningState* s) { s->lastProgram = u"notepad.exe"; }), true,
         {PAUSE, Command(IDM_EXCLUDE_PROGRAM, u"「notepad.exe」では使わない(&X)"), OPEN, CLEAN_UP, givenBack, SEPARATOR, EXIT,
          SEPARATOR, ABOUT}},
        {"the program of the last candidates is already left alone; two are",
         true,
         With(LEARNING,
              [](TrayLearningState* s) {
                  s->lastProgram = u"notepad.exe";
                  s->lastProgramExcluded = true;
                  s->excluded = TWO_PROGRAMS;
                  s->excludedCount = 2;
              }),
         true,
         {PAUSE,
          {TrayMenuItemKind::Submenu, 0, u"使わないプログラム(&U)", false, false, false},
          {TrayMenuItemKind::Command, IDM_INCLUDE_FIRST, u"NOTEPAD.EXE", true, false, true},
          {TrayMenuItemKind::Command, IDM_INCLUDE_FIRST + 1, u"WORDPAD.EXE", true, false, true},
          OPEN, CLEAN_UP, givenBack, SEPARATOR, EXIT, SEPARATOR, ABOUT}},
        {"no dictionary file, and too few words to clear out", true,
         With(LEARNING,
              [](TrayLearningState* s) {
                  s->dictionaryFile = false;
                  s->words = CLEAN_UP_WORDS;
              }),
         true,
         {PAUSE, openGrayed, cleanUpGrayed, givenBack, SEPARATOR, EXIT, SEPARATOR, ABOUT}},
        {"an empty program name offers nothing", true,
         With(LEARNING, [](TrayLearningState* s) { s->lastProgram = u""; }), true,
         {PAUSE, OPEN, CLEAN_UP, givenBack, SEPARATOR, EXIT, SEPARATOR, ABOUT}},
    };
    for (const MenuCase& c : cases) {
        SCOPED_TRACE(c.what);
        TrayMenuItem items[TRAY_MENU_MAX_ITEMS] = {};
        int count = TrayMenuItems(c.mayEnd, c.learning, c.clipboardGivenBack, items);
        ASSERT_EQ(static_cast<size_t>(count), c.items.size());
        for (int i = 0; i < count; ++i) {
            const ExpectedItem& expected = c.items[i];
            EXPECT_EQ(items[i].kind, expected.kind) << "item " << i;
            EXPECT_EQ(items[i].id, expected.id) << "item " << i;
            EXPECT_EQ(items[i].checked, expected.checked) << "item " << i;
            EXPECT_EQ(items[i].grayed, expected.grayed) << "item " << i;
            EXPECT_EQ(items[i].inSubmenu, expected.inSubmenu) << "item " << i;
            if (expected.text == nullptr) {
                EXPECT_EQ(items[i].text, nullptr) << "item " << i;
            } else {
                ASSERT_NE(items[i].text, nullptr) << "item " << i;
                EXPECT_EQ(ShownText(items[i]), Sjis(expected.text)) << "item " << i;
            }
        }
    }
}

TEST(TrayMenuTest, AFullListOfExcludedProgramsOffersNoFurtherOne) {
    std::vector<std::u16string> names;
    std::vector<const char16_t*> pointers;
    for (int i = 0; i < EXCLUSION_MAX_NAMES + 2; ++i) {
        names.push_back(u"P" + std::u16string(1, static_cast<char16_t>(u'A' + i)) + u".EXE");
    }
    for (const std::u16string& name : names) {
        pointers.push_back(name.c_str());
    }
    TrayLearningState state = LEARNING;
    state.lastProgram = u"other.exe";
    state.excluded = pointers.data();
    state.excludedCount = static_cast<int>(pointers.size());
    TrayMenuItem items[TRAY_MENU_MAX_ITEMS] = {};
    int count = TrayMenuItems(true, state, true, items);
    int programs = 0;
    for (int i = 0; i < count; ++i) {
        EXPECT_NE(items[i].id, IDM_EXCLUDE_PROGRAM);
        programs += items[i].inSubmenu ? 1 : 0;
        if (items[i].inSubmenu) {
            EXPECT_EQ(items[i].id, IDM_INCLUDE_FIRST + programs - 1);
            EXPECT_EQ(items[i].name, pointers[static_cast<size_t>(programs - 1)]);
        }
    }
    EXPECT_EQ(programs, EXCLUSION_MAX_NAMES);
    EXPECT_LE(count, TRAY_MENU_MAX_ITEMS);
}

}  // namespace
