// A path that the ANSI calls can open, for a file whose full path the system gives in UTF-16.
// A folder or user name may hold characters that the ANSI code page lacks (𠮷 is not in code
// page 932): the ANSI form of such a path names no file. The short (8.3) form of the same
// path, where the volume keeps one, is plain ASCII and opens the same file. No Windows
// headers: the conversions come from the caller, and the choice is tested natively.
#pragma once

#include <cstddef>

// Room for the wide forms of a path, NUL included: longer paths are refused.
constexpr size_t WIDE_PATH_ROOM = 1024;

struct AnsiPathCalls {
    // Writes wide in the ANSI code page into out (size bytes, NUL included); true only when it
    // fits and converts back to exactly wide.
    bool (*toAnsi)(const wchar_t* wide, char* out, size_t size);
    // Writes the short form of the existing file or folder path into out (size characters,
    // NUL included); false when there is none or it does not fit.
    bool (*shortForm)(const wchar_t* path, wchar_t* out, size_t size);
};

// Writes into out (size bytes) the first of these that the ANSI calls can open:
//   1. path itself;
//   2. the short form of its folder, then its own file name (a dictionary beside the program
//      keeps the name the program gives it);
//   3. the short form of the whole path (the file name shortened too).
// path is a full path of an existing file: a drive or share, folders, a file name. False, with
// out empty, when none of them converts.
bool ChooseAnsiPath(const wchar_t* path, const AnsiPathCalls& calls, char* out, size_t size);

// Windows only: the path of module (an HMODULE; null for the running program's own file)
// chosen as above with the system's conversions. False, with out empty, when the module's
// path is longer than WIDE_PATH_ROOM or has no form the ANSI calls can open.
bool AnsiModulePath(void* module, char* out, size_t size);
