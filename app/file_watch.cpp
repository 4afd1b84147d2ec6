#include "file_watch.h"

FileWatchAction OnFileWatchTick(FileWatch* watch, bool changed, const DictFileStamp& now, bool saveInFlight) {
    if (!changed) {
        watch->changeSeen = false;
        return FILE_WATCH_NOTHING;
    }
    bool settled = watch->changeSeen && SameFileStamp(watch->lastSeen, now);
    watch->changeSeen = true;
    watch->lastSeen = now;
    return settled && !saveInFlight ? FILE_WATCH_RELOAD : FILE_WATCH_NOTHING;
}
