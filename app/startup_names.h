// The two names the resident program works out at start-up from plain strings: the
// settings name from the command line and the dictionary path from the program's path.
// No Windows headers, so both are tested natively.
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
