// Conversions between UTF-16 or UTF-8 and code page 932 (cp932_iconv.cpp natively,
// cp932_win.cpp with the system's own tables under Windows).
// A text that does not convert exactly (a character code page 932 lacks, a broken byte
// sequence) gives false.
#ifndef ZELVO_TESTS_CP932_H
#define ZELVO_TESTS_CP932_H

#include <string>

bool Utf16ToCp932(const std::u16string& text, std::string* out);
bool Cp932ToUtf8(const std::string& text, std::string* out);

#endif
