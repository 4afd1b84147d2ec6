// Saving the dictionary file in three parts: the content is built in memory on the thread
// that owns the table (fast), written by any thread (slow: the disk), and the outcome is
// taken back on the table's thread. The writer touches nothing but its job and the file
// system, so it can run while the table goes on changing.
//
// The writer's steps: refuse a dictionary file the user marked read-only; write the whole
// content to the temporary file (".tmp") and flush it to the disk; then the previous
// dictionary file becomes the backup (".bak") and the temporary file takes the dictionary's
// name, both by renames that never replace a file. When the old backup cannot be removed
// (read-only, a folder, in use) it stays, and the dictionary file is replaced by the
// temporary file in one step instead. A failure after the temporary file was created removes
// it. At every moment a complete file is under the dictionary's or the backup's name.
//
// A file that another program changed since the last load or save (dictDisk) is not replaced:
// the save ends with changedOnDisk, so that the program loads it again first. The check runs
// just before the renames, once the temporary file is complete.
//
// When the load could not hold the whole file, the first save keeps the original aside
// (DictKeptAsideName) instead of making it the backup: it gets that name as a second name
// (no copy), and the temporary file replaces it under the dictionary's name in one step; on
// a file system without such links it is renamed aside. A save that fails puts it back.
#pragma once

#include <cstddef>

#include "dict_file.h"
#include "save_failure.h"

// The content of the dictionary file.
struct DictImage {
    char* bytes;  // owned by the job; null when empty
    size_t size;
};

// One save, holding everything its writer needs.
struct DictSaveJob {
    char path[DICT_PATH_SIZE];
    char temporary[DICT_PATH_SIZE];
    char backup[DICT_PATH_SIZE];
    DictImage image;
    bool keepAside;            // move the original aside instead of replacing it
    bool keepAsideFromBackup;  // the original is the backup file
    bool replaceChanged;       // replace the file even when another program changed it
    DictFileStamp expected;    // the file as the last load or save left it
    int32_t orderMark;         // orderCounter when the content was built
    DictFileStamp written;     // the new file, once it is in place
    SaveOutcome outcome;
};

// On the table's thread: names the files and builds the content. False, with the outcome
// filled in, when there is nothing to write (names too long, no memory); the job then
// holds no memory.
bool DictPrepareSave(const char* path, DictSaveJob* job);

// On any thread: the file system steps above; fills the job's outcome.
void DictWriteSave(DictSaveJob* job);

// On the table's thread: takes the outcome into the load note (a save that succeeded ends
// the wish to keep an original aside) and into dictDisk, and frees the content.
void DictFinishSave(DictSaveJob* job);

// Prepare, write and finish in a row. Returns 1 when the new file is in place, 0 on any
// failure; outcome, when given, tells why. replaceChanged: replace a file that another
// program changed, too.
int DictSave(const char* path, SaveOutcome* outcome = nullptr, bool replaceChanged = false);
