// Which committed word/reading pairs are worth remembering. No Windows headers.
#pragma once

#include "path_split.h"

// Highest code of a single double-byte character that is not remembered: the full-width
// blank and symbols, digits, Latin letters, hiragana and katakana end here in Shift-JIS.
constexpr unsigned SINGLE_KANA_LAST_CODE = 0x8396;

// False for an empty word or reading, a word or reading holding a byte below 0x20 (TAB, CR,
// LF, ...: it would split its line in the dictionary file), a one-byte word, and a word that
// is one double-byte character with a code of SINGLE_KANA_LAST_CODE or less; true otherwise.
bool IsWorthRegistering(const char* word, const char* reading,
                        LeadBytePredicate isLeadByte = IsCp932LeadByte);
