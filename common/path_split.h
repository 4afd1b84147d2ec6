// Splitting a path of the ANSI code page into drive, directory, base name and extension,
// and joining the parts again with a new extension. No Windows headers: used by the
// dictionary library and the resident program alike, and tested natively.
#pragma once

#include <cstddef>

// Each part is NUL-terminated; the sizes include the NUL.
struct PathParts {
    char drive[3];   // "C:" or empty
    char dir[256];   // up to and including the last '\' or '/'
    char name[256];  // between the directory and the extension
    char ext[256];   // from the last '.' after the directory, or empty
};

// True for a byte that starts a double-byte character of the code page.
typedef bool (*LeadBytePredicate)(unsigned char byte);

// Lead bytes of code page 932 (Shift-JIS): 0x81-0x9F and 0xE0-0xFC.
bool IsCp932LeadByte(unsigned char byte);

// Splits path; the second byte of a double-byte character is never taken for '\', '/', '.'
// or ':'. Returns false when a part was longer than its field and had to be cut, so that a
// name joined from the parts would not name the same place.
bool SplitPath(const char* path, PathParts* parts, LeadBytePredicate isLeadByte = IsCp932LeadByte);

// Writes drive, directory and name followed by newExtension (".TXT", ".bak", ...) into out,
// which holds size bytes with the NUL. Returns false, leaving out empty, when it does not fit.
bool JoinPath(char* out, size_t size, const PathParts& parts, const char* newExtension);
