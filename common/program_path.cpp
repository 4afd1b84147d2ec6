#include "program_path.h"

#include <cwchar>

static bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// Length of the folder part of path, up to and including its last separator; 0 when none.
static size_t FolderLength(const wchar_t* path) {
    size_t folder = 0;
    for (size_t i = 0; path[i] != L'\0'; ++i) {
        if (IsSeparator(path[i])) {
            folder = i + 1;
        }
    }
    return folder;
}

// The short form of the folder, with a separator at its end, followed by name.
static bool ShortFolderThen(const wchar_t* path, size_t folderLength, const wchar_t* name,
                            const AnsiPathCalls& calls, wchar_t* out) {
    wchar_t folder[WIDE_PATH_ROOM];
    wmemcpy(folder, path, folderLength);
    folder[folderLength] = L'\0';
    if (!calls.shortForm(folder, out, WIDE_PATH_ROOM)) {
        return false;
    }
    size_t length = wcslen(out);
    if (length == 0) {
        return false;
    }
    if (!IsSeparator(out[length - 1])) {
        out[length++] = L'\\';
    }
    size_t nameLength = wcslen(name);
    if (length + nameLength >= WIDE_PATH_ROOM) {
        return false;
    }
    wmemcpy(out + length, name, nameLength + 1);
    return true;
}

bool ChooseAnsiPath(const wchar_t* path, const AnsiPathCalls& calls, char* out, size_t size) {
    if (size == 0) {
        return false;
    }
    out[0] = '\0';
    size_t pathLength = wcslen(path);
    size_t folderLength = FolderLength(path);
    if (pathLength >= WIDE_PATH_ROOM || folderLength == 0 || folderLength == pathLength) {
        return false;
    }
    if (calls.toAnsi(path, out, size)) {
        return true;
    }
    wchar_t candidate[WIDE_PATH_ROOM];
    if (ShortFolderThen(path, folderLength, path + folderLength, calls, candidate) &&
        calls.toAnsi(candidate, out, size)) {
        return true;
    }
    if (calls.shortForm(path, candidate, WIDE_PATH_ROOM) && calls.toAnsi(candidate, out, size)) {
        return true;
    }
    out[0] = '\0';
    return false;
}
