// Installs the test IME: a file copy into the system folder and three registry values.
#include "install_ime.h"

#include <windows.h>

#include <fstream>
#include <iterator>

namespace {

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool CopyIme(const std::string& source, const std::string& target, std::string* error) {
    if (CopyFileA(source.c_str(), target.c_str(), FALSE)) return true;
    DWORD code = GetLastError();
    std::string wanted = ReadWholeFile(source);
    if (!wanted.empty() && wanted == ReadWholeFile(target)) return true;
    *error = "cannot copy " + source + " to " + target + ": error " + std::to_string(code);
    return false;
}

bool SetString(HKEY key, const char* name, const char* value, std::string* error) {
    LONG status = RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                                 static_cast<DWORD>(strlen(value) + 1));
    if (status == ERROR_SUCCESS) return true;
    *error = std::string("cannot set ") + name + ": error " + std::to_string(status);
    return false;
}

bool SetLayoutValues(std::string* error) {
    HKEY key;
    LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, TEST_IME_LAYOUT_KEY, 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        *error = "cannot open the layout key: error " + std::to_string(status);
        return false;
    }
    bool ok = SetString(key, "Ime File", TEST_IME_FILE, error) &&
              SetString(key, "Layout File", "kbdjpn.dll", error) &&
              SetString(key, "Layout Text", "Zelvo test IME", error);
    RegCloseKey(key);
    return ok;
}

// The system folder that getFolder names, or "" when there is none.
typedef UINT(WINAPI* SystemFolderFunction)(LPSTR buffer, UINT size);
std::string SystemFolder(SystemFolderFunction getFolder) {
    char system[MAX_PATH];
    UINT length = getFolder(system, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(system) + "\\";
}

bool InstallInto(const std::string& folder, const std::string& imePath, std::string* error) {
    if (folder.empty()) {
        *error = "no system folder for " + imePath;
        return false;
    }
    return CopyIme(imePath, folder + TEST_IME_FILE, error) && SetLayoutValues(error);
}

}  // namespace

std::string TestImeBesideProgram() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return "";
    std::string folder(path, length);
    folder.resize(folder.find_last_of("\\/") + 1);
    return folder + TEST_IME_FILE;
}

bool InstallTestIme(const std::string& imePath, std::string* error) {
    return InstallInto(SystemFolder(GetSystemDirectoryA), imePath, error);
}

// The layout's registry values are one for both widths; the files are not.
bool InstallTestIme32(const std::string& imePath, std::string* error) {
    return InstallInto(SystemFolder(GetSystemWow64DirectoryA), imePath, error);
}

bool SetTestImeUnicode(bool unicode, std::string* error) {
    HKEY key;
    LONG status = RegCreateKeyExA(HKEY_LOCAL_MACHINE, TEST_IME_LAYOUT_KEY, 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        *error = "cannot open the layout key: error " + std::to_string(status);
        return false;
    }
    if (unicode) {
        DWORD one = 1;
        status = RegSetValueExA(key, TEST_IME_UNICODE_VALUE, 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&one), sizeof(one));
    } else {
        status = RegDeleteValueA(key, TEST_IME_UNICODE_VALUE);
        if (status == ERROR_FILE_NOT_FOUND) status = ERROR_SUCCESS;
    }
    RegCloseKey(key);
    if (status == ERROR_SUCCESS) return true;
    *error = std::string("cannot set ") + TEST_IME_UNICODE_VALUE + ": error " + std::to_string(status);
    return false;
}

bool RemoveTestIme() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, TEST_IME_LAYOUT_KEY, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                      &key) != ERROR_SUCCESS)
        return true;
    char file[MAX_PATH] = {};
    DWORD size = sizeof(file) - 1;
    bool ours = RegQueryValueExA(key, "Ime File", nullptr, nullptr,
                                 reinterpret_cast<BYTE*>(file), &size) == ERROR_SUCCESS &&
                lstrcmpiA(file, TEST_IME_FILE) == 0;
    bool removed = true;
    if (ours) {
        for (const char* name : {"Ime File", "Layout File", "Layout Text"})
            removed = RegDeleteValueA(key, name) == ERROR_SUCCESS && removed;
        LONG unicode = RegDeleteValueA(key, TEST_IME_UNICODE_VALUE);
        removed = (unicode == ERROR_SUCCESS || unicode == ERROR_FILE_NOT_FOUND) && removed;
    }
    RegCloseKey(key);
    return removed;
}
