#include "word_removal.h"

#include <cstring>

#include "candidate_window.h"
#include "conv_function.h"
#include "dictionary.h"
#include "notice_texts.h"
#include "resident_state.h"
#include "save_notice.h"
#include "tray.h"
#include "tray_menu_rules.h"

static const char CLEAN_UP_CAPTION[] = "Zelvo";

void RemoveCandidateWord(const char* word, const char* reading) {
    int removed = ConvFunction(CONV_REMOVE, reinterpret_cast<INT_PTR>(word), reinterpret_cast<INT_PTR>(reading), -1, -1);
    TRACE("removed %d: %s %s ", removed, word, reading);
    if (removed == 1) {
        NoteDictionaryChanges();
        RefreshCandidateList();
    }
}

// The list's lines hold the word, a TAB and the reading (the program's own list: the ANSI
// text is exact here).
void RemoveSelectedLine() {
    HWND list = residentState.listBox;
    LRESULT selected = SendMessageA(list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR || SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(selected), 0) >= 1024) {
        return;
    }
    char line[1024] = {};
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(line));
    char* tab = strchr(line, '\t');
    if (tab == nullptr) {
        return;
    }
    *tab = '\0';
    RemoveCandidateWord(line, tab + 1);
}

void CleanUpOldWords() {
    int words = ConvFunction(CONV_COUNT, -1, -1, -1, -1);
    if (words <= CLEAN_UP_WORDS) {
        return;
    }
    char question[EXIT_BOX_TEXT_SIZE];
    CleanUpQuestion(words, CLEAN_UP_WORDS, question);
    int answer = MessageBoxA(residentState.mainWindow, question, CLEAN_UP_CAPTION,
                             MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2 | MB_SETFOREGROUND);
    TRACE("clean-up answered %d ", answer);
    if (answer != IDOK) {
        return;
    }
    int removed = ConvFunction(CONV_REMOVE_LEAST_RECENT, CLEAN_UP_WORDS, -1, -1, -1);
    TRACE("cleaned up %d ", removed);
    residentState.fullTold = false;  // full once more later is news again
    NoteDictionaryChanges();
}

void NoteRegisterRefused() {
    int capacity = ConvFunction(CONV_CAPACITY, -1, -1, -1, -1);
    if (residentState.fullTold || ConvFunction(CONV_COUNT, -1, -1, -1, -1) < capacity) {
        return;
    }
    residentState.fullTold = true;
    TRACE("notice: dictionary full ");
    ShowTrayNotice(NOTICE_TITLE_FULL, NOTICE_FULL, TRAY_NOTICE_WARNING);
}
