// The names the resident program works out at start-up from plain strings: the settings
// name from the command line, the dictionary path from the program's path, and which files
// are set-aside copies of its own. No Windows headers, so all are tested natively.
#pragma once

#include <cstddef>

#include "path_split.h"

constexpr size_t NAME_BUFFER_SIZE = 260;  // the platform's path limit, NUL included
constexpr const char* DEFAULT_SETTINGS_NAME = "SAMPRELO.INI";
constexpr const char* DICTIONARY_EXTENSION = ".TXT";

// Writes the command line, without its leading and trailing blanks (0x20 only), into
// settingsName (NAME_BUFFER_SIZE bytes); "SAMPRELO.INI" when nothing is left. A name too
// long for the buffer is cut at a character boundary, never inside a double-byte character.
void TrimSettingsName(const char* commandLine, char* settingsName,
                      LeadBytePredicate isLeadByte = IsCp932LeadByte);

// Writes the program's path with its extension replaced by ".TXT" into dictionaryPath
// (NAME_BUFFER_SIZE bytes). Returns false, leaving dictionaryPath empty, when the result
// would not fit: a cut path would name some other file.
bool BuildDictionaryPath(const char* programPath, char* dictionaryPath,
                         LeadBytePredicate isLeadByte = IsCp932LeadByte);

// True for the name of a copy that an install or uninstall set aside because the file was
// still loaded: one of ZELVO.EXE, ZELVOD.DLL, ZELVOS.DLL, ZELVO32.EXE or ZELVOS32.DLL, a
// dot, a number (the installer's tick count, which it may write with a minus sign), ".old";
// letters in any case. Such copies lie in the temporary folder and in the program's folder,
// and go at the next start.
bool IsSetAsideCopy(const wchar_t* name);
