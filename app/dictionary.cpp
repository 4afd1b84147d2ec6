#include "dictionary.h"

#include "ansi_text.h"
#include "conv_function.h"
#include "program_path.h"
#include "resident_state.h"
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

// Waits for a save in flight, then writes the file once more; true when learning that
// the file did not hold before is lost if this save failed.
static bool SaveOnceMore(ConvSaveOutcome* outcome) {
    ConvSaveOutcome inFlight = {};
    if (ConvFunction(CONV_SAVE_RESULT, reinterpret_cast<INT_PTR>(&inFlight), 1, -1, -1) == 1) {
        TakeSaveOutcome(inFlight, false);
    }
    SaveSchedule& schedule = residentState.saveSchedule;
    OnDictionaryChanged(&schedule, DictionaryChanges());
    bool unsaved = HasUnsavedChanges(schedule);
    OnSaveStarted(&schedule);
    ConvFunction(CONV_SAVE, PathArgument(), -1, -1, -1);
    *outcome = ConvSaveOutcome{};
    ConvFunction(CONV_SAVE_RESULT, reinterpret_cast<INT_PTR>(outcome), 0, -1, -1);
    TakeSaveOutcome(*outcome, false);
    return unsaved && !outcome->saved;
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
