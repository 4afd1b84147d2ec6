#include "startup_names.h"

#include <cstring>

// Length of the longest prefix of text[0, length) that ends on a character boundary and
// holds at most limit bytes.
static size_t CutAtCharacter(const char* text, size_t length, size_t limit,
                             LeadBytePredicate isLeadByte) {
    size_t kept = 0;
    while (kept < length) {
        size_t step = (isLeadByte(static_cast<unsigned char>(text[kept])) && kept + 1 < length) ? 2 : 1;
        if (kept + step > limit) {
            break;
        }
        kept += step;
    }
    return kept;
}

static size_t WithoutTrailingBlanks(const char* text, size_t length) {
    while (length > 0 && text[length - 1] == ' ') {
        --length;
    }
    return length;
}

void TrimSettingsName(const char* commandLine, char* settingsName, LeadBytePredicate isLeadByte) {
    const char* begin = commandLine;
    while (*begin == ' ') {
        ++begin;
    }
    size_t length = WithoutTrailingBlanks(begin, strlen(begin));
    length = CutAtCharacter(begin, length, NAME_BUFFER_SIZE - 1, isLeadByte);
    length = WithoutTrailingBlanks(begin, length);  // the cut may end on a blank
    if (length == 0) {
        strcpy(settingsName, DEFAULT_SETTINGS_NAME);
        return;
    }
    memcpy(settingsName, begin, length);
    settingsName[length] = '\0';
}

// The ASCII text in any case at the start of name; the rest of name, or null.
static const wchar_t* AfterAsciiNoCase(const wchar_t* name, const char* text) {
    for (; *text != '\0'; ++text, ++name) {
        wchar_t c = *name;
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
        char t = (*text >= 'a' && *text <= 'z') ? static_cast<char>(*text - 'a' + 'A') : *text;
        if (c != static_cast<wchar_t>(t)) {
            return nullptr;
        }
    }
    return name;
}

bool IsSetAsideCopy(const wchar_t* name) {
    static const char* const PROGRAM_FILES[] = {"ZELVO.EXE.", "ZELVOD.DLL.", "ZELVOS.DLL.", "ZELVO32.EXE.",
                                                "ZELVOS32.DLL."};
    for (const char* file : PROGRAM_FILES) {
        const wchar_t* rest = AfterAsciiNoCase(name, file);
        if (rest == nullptr) {
            continue;
        }
        if (*rest == L'-') {
            ++rest;
        }
        const wchar_t* digits = rest;
        while (*rest >= L'0' && *rest <= L'9') {
            ++rest;
        }
        const wchar_t* end = rest != digits ? AfterAsciiNoCase(rest, ".old") : nullptr;
        return end != nullptr && *end == L'\0';
    }
    return false;
}

bool BuildDictionaryPath(const char* programPath, char* dictionaryPath, LeadBytePredicate isLeadByte) {
    dictionaryPath[0] = '\0';
    PathParts parts;
    if (!SplitPath(programPath, &parts, isLeadByte)) {
        return false;
    }
    return JoinPath(dictionaryPath, NAME_BUFFER_SIZE, parts, DICTIONARY_EXTENSION);
}
