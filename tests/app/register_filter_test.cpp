// Which committed pairs are remembered.
#include "register_filter.h"

#include <gtest/gtest.h>

namespace {

struct FilterCase {
    const char* what;
    const char* word;
    const char* reading;
    bool registered;
};

const FilterCase FILTER_CASES[] = {
    {"kanji 0x889F", "\x88\x9f", "\x82\xa0", true},
    {"hiragana 0x82A0", "\x82\xa0", "\x82\xa0", false},
    {"last katakana 0x8396", "\x83\x96", "\x82\xaf", false},
    {"first code above the kana 0x8397", "\x83\x97", "\x82\xa0", true},
    {"Greek letter 0x839F", "\x83\x9f", "\x82\xa0", true},
    {"full-width blank 0x8140", "\x81\x40", "\x82\xa0", false},
    {"full-width digit 0x824F", "\x82\x4f", "\x82\xa0", false},
    {"kanji with lead byte 0xE0", "\xe0\x40", "\x82\xa0", true},
    {"one byte", "a", "a", false},
    {"one half-width katakana", "\xb1", "\xb1", false},
    {"two single-byte characters", "ab", "ab", true},
    {"two half-width katakana", "\xb1\xb2", "\xb1\xb2", true},
    {"two kana", "\x82\xa0\x82\xa2", "\x82\xa0\x82\xa2", true},
    {"empty word", "", "\x82\xa0", false},
    {"empty reading", "\x88\x9f", "", false},
    {"both empty", "", "", false},
    {"a TAB in the word", "\x88\x9f\t\x88\xa4", "\x82\xa0", false},
    {"a line feed in the word", "ab\n", "ab", false},
    {"a carriage return in the reading", "\x88\x9f\x88\xa4", "\x82\xa0\r", false},
    {"a control byte at the start of the reading", "ab", "\x1f" "ab", false},
    {"a blank and a DEL are kept", "a b\x7f", "a b", true},
};

TEST(RegisterFilterTest, RemembersOnlyWordsWorthRemembering) {
    for (const FilterCase& c : FILTER_CASES) {
        EXPECT_EQ(IsWorthRegistering(c.word, c.reading), c.registered) << c.what;
    }
}

}  // namespace
