// Turning the settings-file name given to InitZelvo into a full path: a bare name is placed
// in the folder of the running program, a name with a drive or a folder is kept as given.
// No Windows headers: the program path and the code page's lead bytes come from the caller.
#pragma once

#include <cstddef>

#include "path_split.h"

// Room of the settings path: at most 259 bytes and the NUL.
constexpr size_t SETTINGS_PATH_SIZE = 260;

// Writes the resolved path into out (SETTINGS_PATH_SIZE bytes) and returns true.
// programPath is the full path of the running program; it is only needed for a bare name
// and may be null when it could not be read. A name (kept or joined) that does not fit, or
// whose parts are longer than a path component may be, is refused: out becomes the empty
// string, which names no file, and the result is false. Nothing is ever cut short.
bool ResolveSettingsPath(const char* name, const char* programPath, char* out,
                         LeadBytePredicate isLeadByte = IsCp932LeadByte);
