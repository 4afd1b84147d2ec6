// What the user is told once Zelvo is resident: on its first start (no dictionary yet) that
// it runs, what it does and where its menu is; or that the words it learns cannot be kept.
// The tray icon's balloon says it; the trace records which notice was due.
#include <cstring>

#include "ansi_text.h"
#include "notice_texts.h"
#include "path_split.h"
#include "resident_state.h"
#include "startup.h"
#include "tray.h"

static bool AnsiFileExists(const char* path) {
    return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
}

// Neither the dictionary nor the backup a save leaves beside it: nothing was ever learnt here.
static bool NoDictionaryYet() {
    char backup[NAME_BUFFER_SIZE];
    PathParts parts;
    bool backupNamed = SplitPath(residentState.dictionaryPath, &parts, IsAnsiLeadByte) &&
                       JoinPath(backup, sizeof backup, parts, ".bak");
    return !AnsiFileExists(residentState.dictionaryPath) && !(backupNamed && AnsiFileExists(backup));
}

void ShowStartNotices() {
    if (residentState.learningNotKept) {
        TRACE("notice: learning cannot be kept ");
        ShowTrayNotice(NOTICE_TITLE_NOT_KEPT, NOTICE_NOT_KEPT, TRAY_NOTICE_WARNING);
        return;
    }
    residentState.firstStart = NoDictionaryYet();
    if (residentState.firstStart) {
        TRACE("notice: first start ");
        ShowTrayNotice(NOTICE_TITLE_FIRST_START, NOTICE_FIRST_START, TRAY_NOTICE_INFO);
    }
}
