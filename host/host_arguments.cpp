#include "host_arguments.h"

#include <cstdio>

static const int MAX_DIGITS = 8;

bool FormatHostArguments(const HostArguments& arguments, char* text, size_t size) {
    if (arguments.residentProcess == 0 || arguments.candidateWindow == 0 || arguments.candidateList == 0) {
        return false;
    }
    int length = snprintf(text, size, "%lx %lx %lx", static_cast<unsigned long>(arguments.residentProcess),
                          static_cast<unsigned long>(arguments.candidateWindow),
                          static_cast<unsigned long>(arguments.candidateList));
    return length > 0 && static_cast<size_t>(length) < size;
}

static int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// One value of 1 to 8 digits, not 0; *text moves past it.
static bool ReadValue(const char** text, uint32_t* value) {
    uint32_t result = 0;
    int digits = 0;
    for (int digit = HexDigit(**text); digit >= 0; digit = HexDigit(**text)) {
        if (++digits > MAX_DIGITS) {
            return false;
        }
        result = result << 4 | static_cast<uint32_t>(digit);
        ++*text;
    }
    *value = result;
    return digits > 0 && result != 0;
}

static const char* SkipBlanks(const char* text) {
    while (*text == ' ') {
        ++text;
    }
    return text;
}

bool ParseHostArguments(const char* text, HostArguments* arguments) {
    if (text == nullptr) {
        return false;
    }
    const char* p = SkipBlanks(text);
    uint32_t* const values[] = {&arguments->residentProcess, &arguments->candidateWindow,
                                &arguments->candidateList};
    for (size_t i = 0; i < sizeof values / sizeof values[0]; ++i) {
        if (i > 0 && *p++ != ' ') {
            return false;
        }
        if (!ReadValue(&p, values[i])) {
            return false;
        }
    }
    return *SkipBlanks(p) == '\0';
}
