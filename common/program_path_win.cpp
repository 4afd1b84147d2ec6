// The system's side of ChooseAnsiPath: the code page conversions and the short form.
#include <windows.h>

#include <cwchar>

#include "program_path.h"

// Without best-fit characters: a near match (a '?' or a look-alike) names another file.
static bool ToAnsi(const wchar_t* wide, char* out, size_t size) {
    BOOL lossy = FALSE;
    int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, -1, out, static_cast<int>(size),
                                     nullptr, &lossy);
    if (length == 0 || lossy) {
        return false;
    }
    wchar_t back[WIDE_PATH_ROOM];
    int backLength = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, out, -1, back, WIDE_PATH_ROOM);
    return backLength != 0 && wcscmp(back, wide) == 0;
}

static bool ShortForm(const wchar_t* path, wchar_t* out, size_t size) {
    DWORD length = GetShortPathNameW(path, out, static_cast<DWORD>(size));
    return length != 0 && length < size;
}

bool AnsiModulePath(void* module, char* out, size_t size) {
    wchar_t path[WIDE_PATH_ROOM];
    DWORD length = GetModuleFileNameW(static_cast<HMODULE>(module), path, WIDE_PATH_ROOM);
    if (length == 0 || length >= WIDE_PATH_ROOM) {
        if (size > 0) {
            out[0] = '\0';
        }
        return false;
    }
    const AnsiPathCalls calls = {ToAnsi, ShortForm};
    return ChooseAnsiPath(path, calls, out, size);
}
