#include "composition_text.h"

#include <cstring>

#include "class_name.h"

constexpr unsigned long WANTED_FLAGS =
    RESULT_STRING | RESULT_READING | COMPOSITION_STRING | COMPOSITION_READING;

bool CompositionCleared(unsigned long flags) {
    return flags == 0;
}

bool CompositionWanted(unsigned long flags) {
    return (flags & WANTED_FLAGS) != 0;
}

CompositionKinds ChooseCompositionKinds(unsigned long flags) {
    if ((flags & RESULT_STRING) != 0) {
        return {RESULT_STRING, RESULT_READING, true};
    }
    return {COMPOSITION_STRING, COMPOSITION_READING, false};
}

CompositionSizeAction ActOnCompositionSize(long size) {
    if (size < 0 || size >= COMPOSITION_TEXT_SIZE) {
        return COMPOSITION_IGNORE;
    }
    return size == 0 ? COMPOSITION_HIDE : COMPOSITION_READ;
}

bool ReadingSizeFits(long size) {
    return size >= 0 && size < COMPOSITION_TEXT_SIZE;
}

bool AnsiTextMatches(const char* ansi, const char* converted, long length, bool usedDefault) {
    return !usedDefault && length >= 0 && strlen(ansi) == static_cast<size_t>(length) &&
           memcmp(ansi, converted, static_cast<size_t>(length)) == 0;
}

bool IsAllUnconvertedInput(const unsigned char* attributes, long size) {
    if (size <= 0 || size >= COMPOSITION_TEXT_SIZE) {
        return true;
    }
    for (long i = 0; i < size; ++i) {
        if (attributes[i] != 0) {
            return false;
        }
    }
    return true;
}

bool ContainsKanji(const char* text, LeadBytePredicate isLeadByte) {
    for (const char* p = text; *p != '\0'; ++p) {
        unsigned char byte = static_cast<unsigned char>(*p);
        if (!isLeadByte(byte)) {
            continue;
        }
        if (byte >= 0x88) {
            return true;
        }
        if (p[1] == '\0') {
            break;
        }
        ++p;  // the trail byte
    }
    return false;
}

bool DefersPlacement(const char* windowClass, bool candidatesVisible) {
    return !IsWordWindowClass(windowClass) && !candidatesVisible;
}
