// The About box's dictionary line, filled in with the real path of the dictionary file.
// No Windows headers.
#pragma once

#include <cstddef>

// The label of the template's line (its text up to and including the first ": ") followed by
// path, into out. False, with out untouched, when path is empty, the template line has no
// label, or the result and its NUL do not fit into outSize bytes.
bool DictionaryLine(const char* templateLine, const char* path, char* out, size_t outSize);
