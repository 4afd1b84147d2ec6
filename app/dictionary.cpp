#include "dictionary.h"

#include <windows.h>
#include <shellapi.h>

#include "ansi_text.h"
#include "candidate_window.h"
#include "conv_function.h"
#include "file_watch.h"
#include "program_path.h"
#include "resident_state.h"
#include "notice_texts.h"
#include "save_notice.h"
#include "tray.h"
#include "window_ids.h"

// Room for any path the system may report, so that a long one is noticed, not cut.
static const DWORD PROGRAM_PATH_ROOM = 1024;
static const char EXIT_BOX_CAPTION[] = "Zelvo";

static bool FindDictionaryPath() {
    char programPath[PROGRAM_PATH_ROOM];
    if (!AnsiModulePath(residentState.instance, programPath, PROGRAM_PATH_ROOM)) {
        residentState.dictionaryPath[0] = '\0';
        TRACE("program path has no ANSI form: dictionary not loaded, not saved ");
        return false;
    }
    if (!BuildDictionaryPath(programPath, residentState.dictionaryPath, IsAnsiLeadByte)) {
        TRACE("dictionary path too long: not loaded, not saved ");
        return false;
    }
    return true;
}

static bool HasDictionaryPath() {
    return residentState.dictionaryPath[0] != '\0';
}

static INT_PTR PathArgument() {
    return reinterpret_cast<INT_PTR>(residentState.dictionaryPath);
}

static uint32_t DictionaryChanges() {
    return static_cast<uint32_t>(ConvFunction(CONV_CHANGES, -1, -1, -1, -1));
}

static void TellKeptAside() {
    char keptAside[NAME_BUFFER_SIZE] = {};
    if (ConvFunction(CONV_LOAD_NOTE, reinterpret_cast<INT_PTR>(keptAside), -1, -1, -1) != 1) {
        return;
    }
    Notice notice;
    KeptAsideNotice(residentState.dictionaryPath, keptAside, &notice, IsAnsiLeadByte);
    ShowTrayNotice(notice.title, notice.text, TRAY_NOTICE_WARNING);
}

void LoadDictionary() {
    if (!FindDictionaryPath()) {
        residentState.learningNotKept = true;
        return;
    }
    ConvFunction(CONV_LOAD, PathArgument(), -1, -1, -1);
    BeginSaveSchedule(&residentState.saveSchedule, DictionaryChanges());
    TellKeptAside();
    SetTimer(residentState.mainWindow, FILE_WATCH_TIMER_ID, FILE_WATCH_MS, nullptr);
}

static void TellSaveFailure(const ConvSaveOutcome& outcome) {
    Notice notice;
    SaveFailureNotice(outcome.kind, outcome.systemError, residentState.dictionaryPath, &notice, IsAnsiLeadByte);
    ShowTrayNotice(notice.title, notice.text, TRAY_NOTICE_WARNING);
}

static void StartBackgroundSave();

static void ApplySaveActions(const SaveActions& actions) {
    HWND window = residentState.mainWindow;
    if (actions.stopTimers) {
        KillTimer(window, SAVE_PAUSE_TIMER_ID);
        KillTimer(window, SAVE_DEADLINE_TIMER_ID);
    }
    if (actions.pauseTimerMs != 0) {
        SetTimer(window, SAVE_PAUSE_TIMER_ID, actions.pauseTimerMs, nullptr);
    }
    if (actions.deadlineTimerMs != 0) {
        SetTimer(window, SAVE_DEADLINE_TIMER_ID, actions.deadlineTimerMs, nullptr);
    }
    if (actions.startSave) {
        StartBackgroundSave();
    }
}

static void StartBackgroundSave() {
    TRACE("save started ");
    if (ConvFunction(CONV_SAVE_START, PathArgument(), reinterpret_cast<INT_PTR>(residentState.mainWindow),
                     WM_ZELVO_SAVE_ENDED, -1) == 1) {
        OnSaveStarted(&residentState.saveSchedule);
    } else {
        ApplySaveActions(OnSaveNotStarted(&residentState.saveSchedule));
    }
}

static void TakeSaveOutcome(const ConvSaveOutcome& outcome, bool mayTell) {
    if (outcome.changedOnDisk) {
        TRACE("save left the file changed outside alone ");
        OnSaveOutdated(&residentState.saveSchedule);
        return;  // the watch loads it again at its next tick
    }
    TRACE("save %s: step %d kind %d error %u backup %s%s ", outcome.saved ? "done" : "failed",
          static_cast<int>(outcome.step), static_cast<int>(outcome.kind), outcome.systemError,
          outcome.backupSkipped ? "kept" : "renewed", outcome.originalKeptAside ? ", original kept aside" : "");
    SaveActions actions = OnSaveEnded(&residentState.saveSchedule, outcome.saved != 0, outcome.kind);
    if (actions.tell && mayTell) {
        TellSaveFailure(outcome);
    }
    ApplySaveActions(actions);
}

void NoteDictionaryChanges() {
    if (HasDictionaryPath()) {
        ApplySaveActions(OnDictionaryChanged(&residentState.saveSchedule, DictionaryChanges()));
    }
}

void RunSaveTimer() {
    ApplySaveActions(OnSaveTimer(&residentState.saveSchedule));
}

void TakeBackgroundSaveResult() {
    ConvSaveOutcome outcome = {};
    if (ConvFunction(CONV_SAVE_RESULT, reinterpret_cast<INT_PTR>(&outcome), 0, -1, -1) == 1) {
        TakeSaveOutcome(outcome, true);
    }
}

// Loads the file again, with the words learned since the last save in front; false when it
// could not be read just now.
static bool ReloadDictionary() {
    int result = ConvFunction(CONV_RELOAD, PathArgument(), -1, -1, -1);
    TRACE("dictionary reloaded %d ", result);
    if (result == 0) {
        return false;
    }
    ApplySaveActions(OnDictionaryReloaded(&residentState.saveSchedule, DictionaryChanges(), result == 2));
    TellKeptAside();
    if (IsWindowVisible(residentState.mainWindow)) {
        RefreshCandidateList();
    }
    return true;
}

void RunFileWatch() {
    if (!HasDictionaryPath()) {
        return;
    }
    ConvFileStamp now = {};
    bool changed = ConvFunction(CONV_FILE_CHANGED, PathArgument(), reinterpret_cast<INT_PTR>(&now), -1, -1) == 1;
    if (OnFileWatchTick(&residentState.fileWatch, changed, now, residentState.saveSchedule.inFlight) ==
        FILE_WATCH_RELOAD) {
        ReloadDictionary();
    }
}

// A file another program changed is loaded again before the save; when it keeps changing,
// the last try replaces it (its content as loaded a moment ago is in the table).
static const int SAVE_TRIES_ON_CHANGES = 3;

// Waits for a save in flight, then writes the file once more; true when learning that
// the file did not hold before is lost if this save failed.
static bool SaveOnceMore(ConvSaveOutcome* outcome) {
    ConvSaveOutcome inFlight = {};
    if (ConvFunction(CONV_SAVE_RESULT, reinterpret_cast<INT_PTR>(&inFlight), 1, -1, -1) == 1) {
        TakeSaveOutcome(inFlight, false);
    }
    SaveSchedule& schedule = residentState.saveSchedule;
    for (int tries = 1;; ++tries) {
        if (ConvFunction(CONV_FILE_CHANGED, PathArgument(), -1, -1, -1) == 1) {
            ReloadDictionary();
        }
        OnDictionaryChanged(&schedule, DictionaryChanges());
        bool unsaved = HasUnsavedChanges(schedule);
        OnSaveStarted(&schedule);
        bool last = tries == SAVE_TRIES_ON_CHANGES;
        ConvFunction(CONV_SAVE, PathArgument(), last ? 1 : -1, -1, -1);
        *outcome = ConvSaveOutcome{};
        ConvFunction(CONV_SAVE_RESULT, reinterpret_cast<INT_PTR>(outcome), 0, -1, -1);
        TakeSaveOutcome(*outcome, false);
        if (!outcome->changedOnDisk || last) {
            return unsaved && !outcome->saved;
        }
    }
}

void OpenDictionaryFile() {
    if (!HasDictionaryPath()) {
        return;
    }
    // The editor shows what Zelvo knows: learning not yet in the file is saved first (a
    // file that does not exist yet is made, empty).
    if (HasUnsavedChanges(residentState.saveSchedule) ||
        GetFileAttributesA(residentState.dictionaryPath) == INVALID_FILE_ATTRIBUTES) {
        ConvSaveOutcome outcome;
        SaveOnceMore(&outcome);
    }
    HINSTANCE result = ShellExecuteA(residentState.mainWindow, nullptr, residentState.dictionaryPath, nullptr,
                                     nullptr, SW_SHOWNORMAL);
    INT_PTR code = reinterpret_cast<INT_PTR>(result);
    TRACE("dictionary opened %d ", static_cast<int>(code));
    if (code <= 32) {
        Notice notice;
        FitPath(residentState.dictionaryPath, notice.text, sizeof notice.text, IsAnsiLeadByte);
        ShowTrayNotice(NOTICE_TITLE_OPEN_FAILED, notice.text, TRAY_NOTICE_WARNING);
    }
}

void SaveDictionaryAtExit() {
    if (!HasDictionaryPath()) {
        return;
    }
    ConvSaveOutcome outcome;
    while (SaveOnceMore(&outcome)) {
        char text[EXIT_BOX_TEXT_SIZE];
        ExitSaveFailureText(outcome.kind, outcome.systemError, residentState.dictionaryPath, text, IsAnsiLeadByte);
        int answer = MessageBoxA(nullptr, text, EXIT_BOX_CAPTION, MB_RETRYCANCEL | MB_ICONWARNING | MB_SETFOREGROUND);
        TRACE("exit box answered %d ", answer);
        if (answer != IDRETRY) {
            return;
        }
    }
}

void SaveDictionaryAtSessionEnd() {
    if (HasDictionaryPath()) {
        ConvSaveOutcome outcome;
        SaveOnceMore(&outcome);
    }
}
