#include "exclusion_list.h"

const char16_t* ProgramFileName(const char16_t* path) {
    const char16_t* name = path;
    for (const char16_t* p = path; *p != u'\0'; ++p) {
        if (*p == u'\\' || *p == u'/') {
            name = p + 1;
        }
    }
    return name;
}

static size_t NameLength(const char16_t* name) {
    size_t length = 0;
    while (length < EXCLUSION_NAME_CHARS && name[length] != u'\0') {
        ++length;
    }
    return length;
}

uint32_t PackExclusionNames(const char16_t* const* names, int count, uint16_t* text) {
    uint32_t packed = 0;
    size_t used = 0;
    for (int i = 0; i < count && packed < EXCLUSION_MAX_NAMES; ++i) {
        size_t length = NameLength(names[i]);
        if (length == 0 || length >= EXCLUSION_NAME_CHARS) {
            continue;
        }
        for (size_t k = 0; k < length; ++k) {
            text[used++] = static_cast<uint16_t>(names[i][k]);
        }
        text[used++] = 0;
        ++packed;
    }
    return packed;
}

bool ExclusionNamesHold(const uint16_t* text, uint32_t count, const char16_t* name) {
    size_t at = 0;
    for (uint32_t i = 0; i < count && at < EXCLUSION_TEXT_CHARS; ++i) {
        size_t k = 0;
        while (at + k < EXCLUSION_TEXT_CHARS && text[at + k] != 0 && text[at + k] == name[k]) {
            ++k;
        }
        if (at + k < EXCLUSION_TEXT_CHARS && text[at + k] == 0 && name[k] == u'\0') {
            return true;
        }
        // On to the next name: past this one's NUL.
        while (at < EXCLUSION_TEXT_CHARS && text[at] != 0) {
            ++at;
        }
        ++at;
    }
    return false;
}

bool ExclusionListSettled(uint32_t before, uint32_t after) {
    return before != 0 && (before & 1u) == 0 && before == after;
}
