// The demos' console output: their text is in the ANSI code page, the terminal shows UTF-8.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

inline std::string AnsiToUtf8(const std::string& ansi) {
    int length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &wide[0], length);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), -1, &utf8[0], bytes, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(bytes > 0 ? bytes - 1 : 0));
    return utf8;
}

// Prints one line of ANSI text.
inline void Say(const std::string& ansiText) {
    std::string text = AnsiToUtf8(ansiText) + "\n";
    fwrite(text.data(), 1, text.size(), stdout);
    fflush(stdout);
}
