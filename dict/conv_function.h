// The one export of the dictionary library and its operation codes.
#pragma once

#include <windows.h>

#include "file_system.h"
#include "save_failure.h"

// Why a save failed: the step, the system error and the kind a user understands
// (save_failure.h).
typedef SaveOutcome ConvSaveOutcome;

// Which state of the dictionary file on disk (file_system.h).
typedef DictFileStamp ConvFileStamp;

// Operations 1 to 5 read only a and b; c and d are read by the operations that say so.
// Callers pass -1 for every argument an operation does not read.
enum ConvOperation {
    CONV_INIT = 1,      // nothing; returns 1
    CONV_REGISTER = 2,  // a = word, b = reading
    CONV_LOOKUP = 3,    // a = list box, b = query reading; returns the number of candidates
    CONV_LOAD = 4,      // a = dictionary path
    // a = dictionary path. Waits for a save in flight (its result is taken with it), then
    // writes the file; returns 1 when the new file is in place, 0 on any failure. The
    // outcome can then be taken with CONV_SAVE_RESULT.
    // With b = 1 it also replaces a file that another program changed since the last load
    // or save; otherwise such a file is left as it is (the outcome says changedOnDisk).
    CONV_SAVE = 5,
    // a = dictionary path, b = window, c = message number. Starts a save in the background:
    // the file's content is built at once on the calling thread, a worker thread writes it,
    // and when the save has ended (saved or failed, also when it failed before the worker
    // could start) message c is posted to window b with wParam 0 and lParam 0. Returns 1
    // when the save is under way, 0 when the background save before it has not been taken
    // back yet by CONV_SAVE_RESULT or CONV_SAVE (nothing started).
    CONV_SAVE_START = 6,
    // a = ConvSaveOutcome to fill, b = 1 to wait for a save in flight to end first, 0 not to
    // wait. Returns 1 and fills a with the outcome of the save that ended last, when one has
    // ended since the previous CONV_SAVE_RESULT (a background save or a CONV_SAVE); 0 when
    // none has (one still in flight, or none started), a untouched.
    CONV_SAVE_RESULT = 7,
    // a = buffer of 260 bytes, or -1. Returns 1 while the next save that succeeds is to move
    // the original file aside first, because the load dropped or cut something the file
    // held; the original's new full path goes into a. 0 otherwise.
    CONV_LOAD_NOTE = 8,
    // Returns the number of registrations that changed what a save writes (a new word, or a
    // known word that was not the most recent already), modulo 2^31. Compared for equality.
    CONV_CHANGES = 9,

    // ---- the user's own changes: removals are made only at the user's request ----
    // a = word, b = reading. Removes the word when the table holds it with that reading;
    // 1 when removed, 0 otherwise. Counts as a change (CONV_CHANGES).
    CONV_REMOVE = 10,
    // a = number of words. Removes that many of the least recently used words; returns how
    // many it removed. Counts as a change.
    CONV_REMOVE_LEAST_RECENT = 11,
    // Returns the number of words in the table.
    CONV_COUNT = 12,
    // Returns the number of words the table can hold.
    CONV_CAPACITY = 13,

    // ---- the dictionary file changed by another program while the program runs ----
    // a = dictionary path, b = ConvFileStamp to fill, or -1. Returns 1 when a file of that name
    // exists and is not the one the last load or save left (its stamp goes into b); 0 otherwise
    // (also for a missing file: the next save writes it).
    CONV_FILE_CHANGED = 14,
    // a = dictionary path. Loads the file again in the table's place and puts the words
    // registered since the last successful save back in front, most recent first. Returns 0
    // when the file could not be read (nothing changed; try again shortly) or while a
    // background save is in flight or not yet taken back; 1 when loaded and nothing needed
    // merging; 2 when learned words were merged in (a save is due).
    CONV_RELOAD = 15,
};

#ifdef ZELVOD_BUILD
#define ZELVOD_API extern "C" __declspec(dllexport)
#else
#define ZELVOD_API extern "C" __declspec(dllimport)
#endif

ZELVOD_API int WINAPI ConvFunction(INT_PTR op, INT_PTR a, INT_PTR b, INT_PTR c, INT_PTR d);
