#include "register_filter.h"

#include <cstring>

#include "request_record.h"

static bool IsSingleKanaOrSymbol(const char* word, LeadBytePredicate isLeadByte) {
    unsigned char first = static_cast<unsigned char>(word[0]);
    unsigned char second = static_cast<unsigned char>(word[1]);
    return isLeadByte(first) && (first * 256u + second) <= SINGLE_KANA_LAST_CODE;
}

bool IsWorthRegistering(const char* word, const char* reading, LeadBytePredicate isLeadByte) {
    if (word[0] == '\0' || reading[0] == '\0' || ContainsControlByte(word) ||
        ContainsControlByte(reading)) {
        return false;
    }
    size_t length = strlen(word);
    if (length == 1) {
        return false;
    }
    return !(length == 2 && IsSingleKanaOrSymbol(word, isLeadByte));
}
