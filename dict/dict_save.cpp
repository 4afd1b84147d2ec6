#include "dict_save.h"

#include <cstdlib>
#include <cstring>

#include "dict_table.h"
#include "file_system.h"

namespace {

// The lines "word<TAB>reading<CR><LF>", most recent first, in one block.
bool BuildImage(DictImage* image) {
    static int indices[DICT_CAPACITY];  // the table's thread only
    int count = DictSlotsByRecency(indices);
    size_t size = 0;
    for (int i = 0; i < count; ++i) {
        const DictEntry& entry = DictTable[indices[i]];
        size += strlen(entry.word) + strlen(entry.reading) + 3;
    }
    image->size = size;
    image->bytes = nullptr;
    if (size == 0) {
        return true;
    }
    image->bytes = static_cast<char*>(dictAllocate(size));
    if (image->bytes == nullptr) {
        return false;
    }
    char* out = image->bytes;
    for (int i = 0; i < count; ++i) {
        const DictEntry& entry = DictTable[indices[i]];
        size_t wordLength = strlen(entry.word);
        size_t readingLength = strlen(entry.reading);
        memcpy(out, entry.word, wordLength);
        out += wordLength;
        *out++ = '\t';
        memcpy(out, entry.reading, readingLength);
        out += readingLength;
        *out++ = '\r';
        *out++ = '\n';
    }
    return true;
}

// Records a failure at step with the error of the call that has just failed.
void Fail(DictSaveJob* job, SaveStep step) {
    SetSaveFailure(&job->outcome, step, dictFileSystem->lastError());
}

// A failed save gives the disk its space back; the failure reported stays the first one.
void DropTemporary(const DictSaveJob* job) {
    dictFileSystem->remove(job->temporary);
}

// The whole content in the temporary file, on the disk, the file closed.
bool WriteTemporary(DictSaveJob* job) {
    const DictFileSystem* fs = dictFileSystem;
    DictOutFile file = fs->create(job->temporary);
    if (file == nullptr) {
        Fail(job, SAVE_STEP_CREATE);
        return false;
    }
    SaveStep failed = SAVE_STEP_NONE;
    if (job->image.size > 0 && !fs->write(file, job->image.bytes, job->image.size)) {
        failed = SAVE_STEP_WRITE;
    } else if (!fs->flushToDisk(file)) {
        failed = SAVE_STEP_FLUSH;
    }
    if (failed != SAVE_STEP_NONE) {
        Fail(job, failed);
        fs->closeOut(file);
        DropTemporary(job);
        return false;
    }
    if (!fs->closeOut(file)) {
        Fail(job, SAVE_STEP_CLOSE);
        DropTemporary(job);
        return false;
    }
    return true;
}

const char* OriginalOf(const DictSaveJob* job) {
    return job->keepAsideFromBackup ? job->backup : job->path;
}

// How the original went aside.
enum class Aside { NONE, LINKED, MOVED };

// Puts the original under a free name beside the dictionary, into aside: a second name of
// the same file where the file system has them (the original keeps its own name until the
// new file replaces it in one step), a rename where it has not.
bool KeepOriginalAside(DictSaveJob* job, char* aside, Aside* how) {
    *how = Aside::NONE;
    aside[0] = '\0';
    const char* original = OriginalOf(job);
    if (!dictFileSystem->exists(original)) {
        return true;  // gone already: nothing left to keep
    }
    if (!DictFreeKeptAsideName(job->path, aside)) {
        SetSaveFailure(&job->outcome, SAVE_STEP_KEEP_ASIDE, SYSTEM_ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    if (dictFileSystem->link(original, aside)) {
        *how = Aside::LINKED;
    } else if (dictFileSystem->renameNoReplace(original, aside)) {
        *how = Aside::MOVED;
    } else {
        Fail(job, SAVE_STEP_KEEP_ASIDE);
        aside[0] = '\0';
        return false;
    }
    job->outcome.originalKeptAside = 1;
    return true;
}

// A save that failed after the original went aside leaves it as it was, for the next save.
void UndoKeepAside(DictSaveJob* job, const char* aside, Aside how) {
    bool undone = (how == Aside::LINKED && dictFileSystem->remove(aside)) ||
                  (how == Aside::MOVED && dictFileSystem->renameNoReplace(aside, OriginalOf(job)));
    if (undone) {
        job->outcome.originalKeptAside = 0;
    }
}

// The temporary file under the dictionary's name; the file it replaces becomes the backup.
bool PutInPlace(DictSaveJob* job) {
    const DictFileSystem* fs = dictFileSystem;
    if (!fs->exists(job->path)) {
        // A first save, or one after the backup was loaded: the backup is the only copy
        // and stays.
        if (fs->renameNoReplace(job->temporary, job->path)) {
            return true;
        }
        Fail(job, SAVE_STEP_REPLACE);
        return false;
    }
    if (fs->remove(job->backup) && fs->renameNoReplace(job->path, job->backup)) {
        if (fs->renameNoReplace(job->temporary, job->path)) {
            return true;
        }
        Fail(job, SAVE_STEP_REPLACE);
        fs->renameNoReplace(job->backup, job->path);  // the previous file back under its name
        return false;
    }
    // The backup cannot make room: the old backup stays, and the dictionary file is
    // replaced by the complete, flushed temporary file in one step.
    job->outcome.backupSkipped = 1;
    if (fs->replace(job->temporary, job->path)) {
        return true;
    }
    Fail(job, SAVE_STEP_REPLACE);
    return false;
}

// Another program wrote the file since the last load or save; a missing file is no change.
bool ChangedOnDisk(const DictSaveJob* job) {
    DictFileStamp now;
    return !job->replaceChanged && dictFileSystem->stamp(job->path, &now) && !SameFileStamp(now, job->expected);
}

}  // namespace

bool DictPrepareSave(const char* path, DictSaveJob* job) {
    job->outcome = SaveOutcome{};
    job->image = DictImage{};
    job->replaceChanged = false;
    job->expected = dictDisk.stamp;
    job->orderMark = orderCounter;
    job->written = DictFileStamp{};
    job->keepAside = dictLoadNote.keepAsidePending;
    job->keepAsideFromBackup = dictLoadNote.fromBackup;
    size_t length = strlen(path);
    if (length >= DICT_PATH_SIZE || !DictCompanionName(path, ".tmp", job->temporary) ||
        !DictCompanionName(path, ".bak", job->backup)) {
        SetSaveFailure(&job->outcome, SAVE_STEP_NAMES, SYSTEM_ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    memcpy(job->path, path, length + 1);
    if (!BuildImage(&job->image)) {
        SetSaveFailure(&job->outcome, SAVE_STEP_IMAGE, SYSTEM_ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    return true;
}

void DictWriteSave(DictSaveJob* job) {
    const DictFileSystem* fs = dictFileSystem;
    // The user's own decision: a read-only dictionary file is never replaced.
    if (fs->isReadOnly(job->path)) {
        SetSaveFailure(&job->outcome, SAVE_STEP_CHECK, 0);
        return;
    }
    if (!WriteTemporary(job)) {
        return;
    }
    if (ChangedOnDisk(job)) {
        job->outcome.changedOnDisk = 1;
        DropTemporary(job);
        return;
    }
    char aside[DICT_PATH_SIZE] = "";
    Aside how = Aside::NONE;
    if (job->keepAside && !KeepOriginalAside(job, aside, &how)) {
        DropTemporary(job);
        return;
    }
    bool placed;
    if (how == Aside::LINKED && !job->keepAsideFromBackup) {
        // Instead of becoming the backup, the original (now also under its kept-aside name)
        // is replaced in one step; the backup stays as it is.
        placed = fs->replace(job->temporary, job->path);
        if (!placed) {
            Fail(job, SAVE_STEP_REPLACE);
        }
    } else {
        placed = PutInPlace(job);
    }
    if (!placed) {
        DropTemporary(job);
        UndoKeepAside(job, aside, how);
        return;
    }
    job->outcome.saved = 1;
    dictFileSystem->stamp(job->path, &job->written);
}

void DictFinishSave(DictSaveJob* job) {
    if (job->outcome.saved) {
        dictLoadNote.keepAsidePending = false;
        dictDisk.stamp = job->written;
        dictDisk.savedMark = job->orderMark;
    }
    free(job->image.bytes);
    job->image = DictImage{};
}

int DictSave(const char* path, SaveOutcome* outcome, bool replaceChanged) {
    DictSaveJob job;
    if (DictPrepareSave(path, &job)) {
        job.replaceChanged = replaceChanged;
        DictWriteSave(&job);
        DictFinishSave(&job);
    }
    if (outcome != nullptr) {
        *outcome = job.outcome;
    }
    return job.outcome.saved;
}
