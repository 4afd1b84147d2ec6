// The user's choices that outlive a run of the program, kept under HKCU\Software\Zelvo: read
// at start-up, each written as soon as the user changes it. A value that is missing, or not
// of the expected type, reads as the default.
#pragma once

#include <string>
#include <vector>

// A DWORD value: 0 is false, anything else true.
bool ReadSettingFlag(const char* name, bool defaultValue);
// False when the value could not be written (the choice then lasts only for this run).
bool WriteSettingFlag(const char* name, bool value);

// A list of names (REG_MULTI_SZ, UTF-16), in its order; empty when missing.
std::vector<std::wstring> ReadSettingList(const char* name);
bool WriteSettingList(const char* name, const std::vector<std::wstring>& items);
