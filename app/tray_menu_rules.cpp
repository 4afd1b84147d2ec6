#include "tray_menu_rules.h"

#include "exchange.h"
#include "menu_texts.h"
#include "resource_ids.h"

bool TrayEventOpensMenu(unsigned long long mouseMessage) {
    return mouseMessage == TRAY_LEFT_BUTTON_DOWN || mouseMessage == TRAY_RIGHT_BUTTON_DOWN;
}

static_assert(IDM_INCLUDE_LAST - IDM_INCLUDE_FIRST + 1 == EXCLUSION_MAX_NAMES, "one id per excluded program");
static_assert(9 + EXCLUSION_MAX_NAMES <= TRAY_MENU_MAX_ITEMS, "room for every item");

static TrayMenuItem Command(int id, const char* text) {
    return {TrayMenuItemKind::Command, id, text, nullptr, nullptr, false, false, false};
}

static TrayMenuItem Separator() {
    return {TrayMenuItemKind::Separator, 0, nullptr, nullptr, nullptr, false, false, false};
}

// Pause; leave the program of the last candidates alone, or use Zelvo in an excluded one
// again; open the dictionary file; clear out old words.
static int LearningItems(const TrayLearningState& learning, TrayMenuItem* items) {
    int count = 0;
    TrayMenuItem pause = Command(IDM_PAUSE_LEARNING, MENU_TEXT_PAUSE);
    pause.checked = learning.paused;
    items[count++] = pause;
    int excluded = learning.excludedCount < EXCLUSION_MAX_NAMES ? learning.excludedCount : EXCLUSION_MAX_NAMES;
    if (learning.lastProgram != nullptr && learning.lastProgram[0] != u'\0' && !learning.lastProgramExcluded &&
        excluded < EXCLUSION_MAX_NAMES) {
        TrayMenuItem exclude = Command(IDM_EXCLUDE_PROGRAM, MENU_TEXT_EXCLUDE_BEFORE);
        exclude.name = learning.lastProgram;
        exclude.textAfter = MENU_TEXT_EXCLUDE_AFTER;
        items[count++] = exclude;
    }
    if (excluded > 0) {
        items[count++] = {TrayMenuItemKind::Submenu, 0, MENU_TEXT_EXCLUDED, nullptr, nullptr, false, false, false};
        for (int i = 0; i < excluded; ++i) {
            TrayMenuItem program = Command(IDM_INCLUDE_FIRST + i, "");
            program.name = learning.excluded[i];
            program.checked = true;
            program.inSubmenu = true;
            items[count++] = program;
        }
    }
    TrayMenuItem open = Command(IDM_OPEN_DICTIONARY, MENU_TEXT_OPEN_DICTIONARY);
    open.grayed = !learning.dictionaryFile;
    items[count++] = open;
    TrayMenuItem cleanUp = Command(IDM_CLEAN_UP, MENU_TEXT_CLEAN_UP);
    cleanUp.grayed = learning.words <= CLEAN_UP_WORDS;
    items[count++] = cleanUp;
    return count;
}

int TrayMenuItems(bool mayEnd, const TrayLearningState& learning, bool clipboardGivenBack,
                  TrayMenuItem* items) {
    int count = LearningItems(learning, items);
    TrayMenuItem clipboard = Command(IDM_GIVE_CLIPBOARD_BACK, MENU_TEXT_GIVE_CLIPBOARD_BACK);
    clipboard.checked = clipboardGivenBack;
    items[count++] = clipboard;
    items[count++] = Separator();
    if (mayEnd) {
        items[count++] = Command(IDM_EXIT, MENU_TEXT_EXIT);
        items[count++] = Separator();
    }
    items[count++] = Command(IDM_ABOUT, MENU_TEXT_ABOUT);
    return count;
}
