#include "cp932.h"

#include <windows.h>

bool Utf16ToCp932(const std::u16string& text, std::string* out) {
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
  int length = static_cast<int>(text.size());
  if (length == 0) {
    out->clear();
    return true;
  }
  BOOL usedDefault = FALSE;
  int size = WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, length, nullptr, 0,
                                 nullptr, &usedDefault);
  if (size <= 0 || usedDefault) return false;
  out->assign(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, wide, length, &(*out)[0], size, nullptr,
                      &usedDefault);
  return !usedDefault;
}

bool Cp932ToUtf8(const std::string& text, std::string* out) {
  out->clear();
  if (text.empty()) return true;
  int length = static_cast<int>(text.size());
  int wideSize = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (wideSize <= 0) return false;
  std::wstring wide(static_cast<size_t>(wideSize), L'\0');
  MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.data(), length, &wide[0], wideSize);
  int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return false;
  out->assign(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, &(*out)[0], size, nullptr, nullptr);
  return true;
}
