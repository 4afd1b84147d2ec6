// The dictionary file: one "word<TAB>reading<CR><LF>" line per entry, most recent first.
// Loading it, and the names of its companion files. Saving is in dict_save.h.
#pragma once

#include <cstdint>
#include <cstdio>

#include "file_system.h"

constexpr int DICT_LINE_SIZE = 1024;  // a line is read in pieces of at most 1,023 bytes
constexpr int DICT_PATH_SIZE = 260;   // companion names are formed in buffers of this size

// What the last load found, and what it asks of the next save. Touched only on the thread
// that owns the table.
struct DictLoadNote {
    // The load dropped or cut something the file held: pairs beyond the table's capacity,
    // lines taken in pieces, NUL bytes, lines with one field or with extra fields, a second
    // reading of a word. The table cannot write that file back as it was.
    bool lossy;
    // The next save moves the original aside (to a free DictKeptAsideName) instead of
    // replacing it; cleared by the first save that succeeds.
    bool keepAsidePending;
    // The original is the backup file: the dictionary file itself was missing.
    bool fromBackup;
    // Where the original goes, as the load worked it out (the first free name then).
    char keptAsidePath[DICT_PATH_SIZE];
};
extern DictLoadNote dictLoadNote;

// What the dictionary file on disk holds, as this program left it or found it: set by every
// load and by every save that succeeded. Touched only on the thread that owns the table.
struct DictDiskState {
    // The file as the last load found it (taken before it was read) or the last save left it;
    // all zero when there was no file.
    DictFileStamp stamp;
    // orderCounter when that content was taken: the entries with a larger order number were
    // registered since, and the file does not hold them yet.
    int32_t savedMark;
};
extern DictDiskState dictDisk;

// True when a file named path exists and is not the one the last load or save left (another
// program wrote it); *now gets its stamp. A missing file is no change: the next save writes it.
bool DictFileChanged(const char* path, DictFileStamp* now);

// Loads the file at path into the table. When path does not exist but its backup
// (".bak") does, which a save interrupted between its two renames leaves behind, the
// backup is loaded instead. Returns 1 when a file was opened, 0 otherwise. Sets
// dictLoadNote for a file that was opened.
int DictLoad(const char* path);

// Reads the lines of an open stream into the table and renumbers it (the body of DictLoad).
// True when the load was lossy (see DictLoadNote).
bool DictLoadStream(FILE* file);

// Records in dictLoadNote what a load of path found (fromBackup: the backup was read).
void DictNoteLoad(const char* path, bool lossy, bool fromBackup);

// Forms the name of a companion file: path without its extension, then extension.
// False when it would not fit DICT_PATH_SIZE bytes.
bool DictCompanionName(const char* path, const char* extension, char* out);

// The name under which an original that the table cannot hold is kept beside path: its
// base name, ".original", its extension (ZELVO.original.TXT); from number 2 on with the
// number as well (ZELVO.original-2.TXT). False when it would not fit DICT_PATH_SIZE bytes.
bool DictKeptAsideName(const char* path, int number, char* out);

// The first DictKeptAsideName that names no file yet; false when there is none.
bool DictFreeKeptAsideName(const char* path, char* out);
