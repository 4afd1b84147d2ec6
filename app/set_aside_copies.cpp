// Set-aside copies of the program's files: an install or uninstall that found ZELVOS.DLL
// (or another of them) still loaded renamed it to a ".old" name, in the temporary folder or
// the program's folder. They go at the next start; one still loaded somewhere stays.
#include <cwchar>
#include <string>

#include "resident_state.h"
#include "startup.h"

static const DWORD WIDE_FOLDER_ROOM = 1024;

static void RemoveSetAsideCopiesIn(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*.old").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && IsSetAsideCopy(found.cFileName) &&
            !DeleteFileW((folder + found.cFileName).c_str())) {
            TRACE("set-aside copy still in use: %d ", static_cast<int>(GetLastError()));
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

void RemoveSetAsideCopies() {
    wchar_t path[WIDE_FOLDER_ROOM];
    DWORD length = GetTempPathW(WIDE_FOLDER_ROOM, path);
    if (length != 0 && length < WIDE_FOLDER_ROOM) {
        RemoveSetAsideCopiesIn(path);
    }
    length = GetModuleFileNameW(residentState.instance, path, WIDE_FOLDER_ROOM);
    if (length != 0 && length < WIDE_FOLDER_ROOM) {
        std::wstring program(path, length);
        RemoveSetAsideCopiesIn(program.substr(0, program.find_last_of(L"\\/") + 1));
    }
}
