#include "settings.h"

#include <windows.h>

static const char SETTINGS_KEY[] = "Software\\Zelvo";

static HKEY OpenSettings(REGSAM access) {
    HKEY key = nullptr;
    LONG status = (access & KEY_SET_VALUE) != 0
                      ? RegCreateKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, nullptr, 0, access, nullptr, &key,
                                        nullptr)
                      : RegOpenKeyExA(HKEY_CURRENT_USER, SETTINGS_KEY, 0, access, &key);
    return status == ERROR_SUCCESS ? key : nullptr;
}

bool ReadSettingFlag(const char* name, bool defaultValue) {
    HKEY key = OpenSettings(KEY_QUERY_VALUE);
    if (key == nullptr) {
        return defaultValue;
    }
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof value;
    LONG status = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) {
        return defaultValue;
    }
    return value != 0;
}

bool WriteSettingFlag(const char* name, bool value) {
    HKEY key = OpenSettings(KEY_SET_VALUE);
    if (key == nullptr) {
        return false;
    }
    DWORD data = value ? 1 : 0;
    LONG status = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

static std::wstring WideName(const char* name) {
    std::wstring wide;
    for (const char* p = name; *p != '\0'; ++p) {
        wide += static_cast<wchar_t>(static_cast<unsigned char>(*p));  // value names are ASCII
    }
    return wide;
}

std::vector<std::wstring> ReadSettingList(const char* name) {
    std::vector<std::wstring> items;
    HKEY key = OpenSettings(KEY_QUERY_VALUE);
    if (key == nullptr) {
        return items;
    }
    std::wstring valueName = WideName(name);
    DWORD type = 0;
    DWORD size = 0;
    LONG status = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, nullptr, &size);
    std::wstring data;
    if (status == ERROR_SUCCESS && type == REG_MULTI_SZ && size > 0) {
        data.resize(size / sizeof(wchar_t) + 2, L'\0');
        status = RegQueryValueExW(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
    }
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_MULTI_SZ) {
        return items;
    }
    // NUL-separated items, ended by an empty one; the extra room guarantees the end.
    for (size_t at = 0; at < data.size() && data[at] != L'\0';) {
        std::wstring item = data.c_str() + at;
        at += item.size() + 1;
        items.push_back(item);
    }
    return items;
}

bool WriteSettingList(const char* name, const std::vector<std::wstring>& items) {
    HKEY key = OpenSettings(KEY_SET_VALUE);
    if (key == nullptr) {
        return false;
    }
    std::wstring data;
    for (const std::wstring& item : items) {
        if (!item.empty()) {
            data += item;
            data += L'\0';
        }
    }
    data += L'\0';
    LONG status = RegSetValueExW(key, WideName(name).c_str(), 0, REG_MULTI_SZ,
                                 reinterpret_cast<const BYTE*>(data.data()),
                                 static_cast<DWORD>(data.size() * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}
