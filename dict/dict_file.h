// The dictionary file: one "word<TAB>reading<CR><LF>" line per entry, most recent first.
#pragma once

#include <cstdio>

constexpr int DICT_LINE_SIZE = 1024;  // a line is read in pieces of at most 1,023 bytes
constexpr int DICT_PATH_SIZE = 260;   // companion names are formed in buffers of this size

// Loads the file at path into the table. When path does not exist but its backup
// (".bak") does, which a save interrupted between its two renames leaves behind, the
// backup is loaded instead. Returns 1 when a file was opened, 0 otherwise.
int DictLoad(const char* path);

// Reads the lines of an open stream into the table and renumbers it (the body of DictLoad).
void DictLoadStream(FILE* file);

// Writes the table to path through the temporary file (".tmp"), keeping the previous file
// as the backup (".bak"). Returns 1 when the new file is in place, 0 on any failure.
int DictSave(const char* path);

// Forms the name of a companion file: path without its extension, then extension.
// False when it would not fit DICT_PATH_SIZE bytes.
bool DictCompanionName(const char* path, const char* extension, char* out);
