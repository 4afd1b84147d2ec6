// ConvFunction: the dictionary library's dispatcher, the list box side of a lookup, and the
// worker thread of a background save.
#include "conv_function.h"

#include <cstdlib>
#include <cstring>

#include "dict_file.h"
#include "dict_reload.h"
#include "dict_save.h"
#include "dict_table.h"

// Fills the list box with the candidate lines for query, most recent first. The lines go in
// with repainting held back, so a long list costs one paint at the end, not one per line.
static int DictLookup(HWND listBox, const char* query) {
    static int indices[DICT_CAPACITY];
    int count = DictFindCandidates(query, indices);
    if (count == 0) {
        // An empty list needs no reset; a miss while the user types costs next to nothing.
        if (SendMessageA(listBox, LB_GETCOUNT, 0, 0) != 0) {
            SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
        }
        return 0;
    }
    SendMessageA(listBox, WM_SETREDRAW, FALSE, 0);
    SendMessageA(listBox, LB_RESETCONTENT, 0, 0);
    // Room for every line at once instead of growing the list line by line.
    SendMessageA(listBox, LB_INITSTORAGE, static_cast<WPARAM>(count), static_cast<LPARAM>(count) * 32);
    char line[CANDIDATE_LINE_SIZE];
    for (int i = 0; i < count; ++i) {
        FormatCandidateLine(indices[i], line);
        SendMessageA(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
    }
    SendMessageA(listBox, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(listBox, nullptr, TRUE);
    return count;
}

// ---- saving ----

// A save handed to the worker thread. Until `ended` is set the job is the worker's; after
// that it belongs to the table's thread again.
struct BackgroundSave {
    DictSaveJob job;
    HWND window;
    UINT message;
    volatile LONG ended;
};

// The saves of this library. The table's thread only.
struct SaveState {
    BackgroundSave* inFlight;  // null when no save is under way or waiting to be taken
    HANDLE worker;
    SaveOutcome lastEnded;     // the outcome of the save that ended last
    bool unreported;           // lastEnded not yet taken with CONV_SAVE_RESULT
};
static SaveState saveState;

static void NoteEnded(const SaveOutcome& outcome) {
    saveState.lastEnded = outcome;
    saveState.unreported = true;
}

static DWORD WINAPI WriteInBackground(void* parameter) {
    BackgroundSave* save = static_cast<BackgroundSave*>(parameter);
    HWND window = save->window;
    UINT message = save->message;
    DictWriteSave(&save->job);
    InterlockedExchange(&save->ended, 1);  // save is not touched from here on
    PostMessageA(window, message, 0, 0);
    return 0;
}

// Takes the save in flight back once it has ended (waiting for that when asked to); true
// when one was taken.
static bool TakeEndedSave(bool wait) {
    BackgroundSave* save = saveState.inFlight;
    if (save == nullptr) {
        return false;
    }
    if (wait) {
        WaitForSingleObject(saveState.worker, INFINITE);
    } else if (InterlockedCompareExchange(&save->ended, 0, 0) == 0) {
        return false;
    }
    DictFinishSave(&save->job);
    NoteEnded(save->job.outcome);
    CloseHandle(saveState.worker);
    saveState.worker = nullptr;
    free(save);
    saveState.inFlight = nullptr;
    return true;
}

// A save that ended before its worker ran: its end is told at once.
static int EndAtOnce(const SaveOutcome& outcome, HWND window, UINT message) {
    NoteEnded(outcome);
    PostMessageA(window, message, 0, 0);
    return 1;
}

// One save at a time: the next starts once the result of the last has been taken.
static int StartSave(const char* path, HWND window, UINT message) {
    if (saveState.inFlight != nullptr) {
        return 0;
    }
    saveState.unreported = false;  // an outcome not taken so far is one of an older save
    BackgroundSave* save = static_cast<BackgroundSave*>(calloc(1, sizeof(BackgroundSave)));
    if (save == nullptr) {
        SaveOutcome outcome = {};
        SetSaveFailure(&outcome, SAVE_STEP_IMAGE, ERROR_NOT_ENOUGH_MEMORY);
        return EndAtOnce(outcome, window, message);
    }
    save->window = window;
    save->message = message;
    if (!DictPrepareSave(path, &save->job)) {
        SaveOutcome outcome = save->job.outcome;
        free(save);
        return EndAtOnce(outcome, window, message);
    }
    HANDLE worker = CreateThread(nullptr, 0, WriteInBackground, save, 0, nullptr);
    if (worker == nullptr) {
        SetSaveFailure(&save->job.outcome, SAVE_STEP_START, GetLastError());
        DictFinishSave(&save->job);
        SaveOutcome outcome = save->job.outcome;
        free(save);
        return EndAtOnce(outcome, window, message);
    }
    saveState.inFlight = save;
    saveState.worker = worker;
    return 1;
}

static int SaveNow(const char* path, bool replaceChanged) {
    TakeEndedSave(true);
    SaveOutcome outcome = {};
    DictSave(path, &outcome, replaceChanged);
    NoteEnded(outcome);
    return outcome.saved;
}

static int TakeSaveResult(ConvSaveOutcome* outcome, bool wait) {
    TakeEndedSave(wait);
    if (!saveState.unreported) {
        return 0;
    }
    *outcome = saveState.lastEnded;
    saveState.unreported = false;
    return 1;
}

static int LoadNote(INT_PTR buffer) {
    if (!dictLoadNote.keepAsidePending) {
        return 0;
    }
    if (buffer != -1) {
        memcpy(reinterpret_cast<char*>(buffer), dictLoadNote.keptAsidePath, DICT_PATH_SIZE);
    }
    return 1;
}

static int FileChanged(const char* path, INT_PTR stamp) {
    DictFileStamp now;
    if (!DictFileChanged(path, &now)) {
        return 0;
    }
    if (stamp != -1) {
        *reinterpret_cast<ConvFileStamp*>(stamp) = now;
    }
    return 1;
}

// The table is not replaced under a save that still reads it or whose outcome would then
// describe another table.
static int Reload(const char* path) {
    if (saveState.inFlight != nullptr) {
        return 0;
    }
    return DictReload(path);
}

extern "C" int WINAPI ConvFunction(INT_PTR op, INT_PTR a, INT_PTR b, INT_PTR c, INT_PTR d) {
    (void)d;
    switch (op) {
    case CONV_INIT:
        return 1;
    case CONV_REGISTER:
        return DictRegister(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
    case CONV_LOOKUP:
        return DictLookup(reinterpret_cast<HWND>(a), reinterpret_cast<const char*>(b));
    case CONV_LOAD:
        return DictLoad(reinterpret_cast<const char*>(a));
    case CONV_SAVE:
        return SaveNow(reinterpret_cast<const char*>(a), b == 1);
    case CONV_SAVE_START:
        return StartSave(reinterpret_cast<const char*>(a), reinterpret_cast<HWND>(b), static_cast<UINT>(c));
    case CONV_SAVE_RESULT:
        return TakeSaveResult(reinterpret_cast<ConvSaveOutcome*>(a), b == 1);
    case CONV_LOAD_NOTE:
        return LoadNote(a);
    case CONV_CHANGES:
        return static_cast<int>(DictChangeCount() & 0x7FFFFFFFu);
    case CONV_REMOVE:
        return DictRemoveWord(reinterpret_cast<const char*>(a), reinterpret_cast<const char*>(b));
    case CONV_REMOVE_LEAST_RECENT:
        return a > 0 ? DictRemoveLeastRecent(a > DICT_CAPACITY ? DICT_CAPACITY : static_cast<int>(a)) : 0;
    case CONV_COUNT:
        return DictCount();
    case CONV_CAPACITY:
        return DICT_CAPACITY;
    case CONV_FILE_CHANGED:
        return FileChanged(reinterpret_cast<const char*>(a), b);
    case CONV_RELOAD:
        return Reload(reinterpret_cast<const char*>(a));
    default:
        return 0;
    }
}
