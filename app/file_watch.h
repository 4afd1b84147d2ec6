// When the resident program loads the dictionary file again: another program (the user's
// editor, a folder-sync program) changed it while Zelvo runs. The file is looked at on a
// timer; a change is loaded once the file has stayed the same for a whole tick (its writer is
// done), never while a save is in flight (that save leaves the changed file alone itself). A
// file that could not be read is tried again at the next tick. No Windows headers.
#pragma once

#include "file_system.h"

constexpr unsigned FILE_WATCH_MS = 1000;

struct FileWatch {
    bool changeSeen;         // the last tick found the file changed ...
    DictFileStamp lastSeen;  // ... in this state
};

enum FileWatchAction {
    FILE_WATCH_NOTHING,
    FILE_WATCH_RELOAD,  // load the file again now
};

// A tick: changed tells whether the file is not the one the last load or save left, now is
// its stamp.
FileWatchAction OnFileWatchTick(FileWatch* watch, bool changed, const DictFileStamp& now, bool saveInFlight);
