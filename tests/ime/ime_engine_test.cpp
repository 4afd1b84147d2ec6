// The test IME's engine: romaji, conversions, the keys of a composition and its messages.
#include "ime_engine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

// Found by argument-dependent lookup: ImeMessage lives in the global namespace.
bool operator==(const ImeMessage& a, const ImeMessage& b) {
    return a.message == b.message && a.wParam == b.wParam && a.lParam == b.lParam;
}

void PrintTo(const ImeMessage& m, std::ostream* os) {
    char text[64];
    snprintf(text, sizeof(text), "{%#x, %#x, %#x}", m.message, m.wParam, m.lParam);
    *os << text;
}

namespace {

// Keys in a compact notation: a lower-case letter is its key, ' ' Space, '\n' Enter,
// '\x1b' Escape, '\b' Backspace, '~' the Down arrow (a key the engine has no use for).
unsigned KeyOf(char c) {
    switch (c) {
    case ' ': return 0x20;
    case '\n': return 0x0D;
    case '\x1b': return 0x1B;
    case '\b': return 0x08;
    case '~': return 0x28;
    default: return static_cast<unsigned>(c - 'a' + 'A');
    }
}

// Feeds the keys the IME would take; returns the outcome of the last one.
ImeOutcome Type(ImeComposition* comp, const char* keys) {
    ImeOutcome last = {};
    for (const char* p = keys; *p; ++p)
        if (ImeWantsKey(comp, KeyOf(*p), false)) last = ImeApplyKey(comp, KeyOf(*p));
    return last;
}

std::string Hex(const char* text) {
    std::string out;
    char byte[4];
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p; ++p) {
        snprintf(byte, sizeof(byte), out.empty() ? "%02X" : " %02X", *p);
        out += byte;
    }
    return out;
}

struct CompositionCase {
    const char* keys;
    bool active;
    const char* text;      // expected composition text, hex Shift-JIS
    const char* reading;   // expected reading, hex Shift-JIS
    int attribute;
};

// Shift-JIS: あ 82A0, い 82A2, う 82A4, か 82A9, き 82AB, し 82B5, じ 82B6, ち 82BF,
// っ 82C1, つ 82C2, て 82C4, に 82C9, ほ 82D9, ん 82F1, ａ.. 8281.., 愛 88A4,
// 漢字 8ABF 8E9A, 日本 93FA 967B.
const CompositionCase COMPOSITIONS[] = {
    {"a", true, "82 A0", "82 A0", 0},
    {"ai", true, "82 A0 82 A2", "82 A0 82 A2", 0},
    {"ka", true, "82 A9", "82 A9", 0},
    {"k", true, "82 8B", "82 8B", 0},
    {"kanji", true, "82 A9 82 F1 82 B6", "82 A9 82 F1 82 B6", 0},
    {"nihon", true, "82 C9 82 D9 82 8E", "82 C9 82 D9 82 8E", 0},
    {"kitte", true, "82 AB 82 C1 82 C4", "82 AB 82 C1 82 C4", 0},
    {"shitsuchi", true, "82 B5 82 C2 82 BF", "82 B5 82 C2 82 BF", 0},
    {"nna", true, "82 F1 82 A0", "82 F1 82 A0", 0},
    {"q", true, "82 91", "82 91", 0},
    {"x", true, "82 98", "82 98", 0},
    {"aixq", true, "82 A0 82 A2 8A BF", "82 A0 82 A2 8A BF", 0},  // 漢 typed directly
    {"xa", true, "82 98 82 A0", "82 98 82 A0", 0},
    {"kak\b", true, "82 A9", "82 A9", 0},
    {"ka~", true, "82 A9", "82 A9", 0},
    {"ai ", true, "88 A4", "82 A0 82 A2", 1},
    {"kanji ", true, "8A BF 8E 9A", "82 A9 82 F1 82 B6", 1},
    {"nihon ", true, "93 FA 96 7B", "82 C9 82 D9 82 F1", 1},
    {"u ", true, "82 A4", "82 A4", 1},
    {"ai  ", true, "88 A4", "82 A0 82 A2", 1},
    {"ai a", true, "88 A4", "82 A0 82 A2", 1},
    {"ai \b", true, "82 A0 82 A2", "82 A0 82 A2", 0},
    {"ka\b", false, "", "", 0},
    {"ai\x1b", false, "", "", 0},
    {"ai \n", false, "", "", 0},
    {"", false, "", "", 0},
};

class CompositionTest : public testing::TestWithParam<CompositionCase> {};

TEST_P(CompositionTest, ShowsTextReadingAndAttribute) {
    const CompositionCase& c = GetParam();
    ImeComposition comp = {};
    Type(&comp, c.keys);
    char text[IME_TEXT_SIZE];
    char reading[IME_TEXT_SIZE];
    ImeCompositionText(&comp, text);
    ImeReadingText(&comp, reading);
    EXPECT_EQ(c.active, comp.active != 0);
    EXPECT_EQ(c.text, Hex(text));
    EXPECT_EQ(c.reading, Hex(reading));
    EXPECT_EQ(c.attribute, ImeAttribute(&comp));
}

INSTANTIATE_TEST_SUITE_P(Keys, CompositionTest, testing::ValuesIn(COMPOSITIONS));

struct CommitCase {
    const char* keys;
    ImeChange change;
    const char* result;
    const char* resultReading;
};

const CommitCase COMMITS[] = {
    {"ai \n", IME_COMMITTED, "88 A4", "82 A0 82 A2"},
    {"kanji \n", IME_COMMITTED, "8A BF 8E 9A", "82 A9 82 F1 82 B6"},
    {"ai\n", IME_COMMITTED, "82 A0 82 A2", "82 A0 82 A2"},
    {"nihon\n", IME_COMMITTED, "82 C9 82 D9 82 F1", "82 C9 82 D9 82 F1"},
    {"kaq\n", IME_COMMITTED, "82 A9 82 91", "82 A9 82 91"},
    {"ai\x1b", IME_CANCELLED, "", ""},
    {"a\b", IME_CANCELLED, "", ""},
    {"ai \x1b", IME_CANCELLED, "", ""},
};

class CommitTest : public testing::TestWithParam<CommitCase> {};

TEST_P(CommitTest, EndsWithResultOrNothing) {
    const CommitCase& c = GetParam();
    ImeComposition comp = {};
    ImeOutcome outcome = Type(&comp, c.keys);
    EXPECT_EQ(c.change, outcome.change);
    EXPECT_EQ(0, comp.active);
    if (c.change == IME_COMMITTED) {
        EXPECT_EQ(c.result, Hex(outcome.result));
        EXPECT_EQ(c.resultReading, Hex(outcome.resultReading));
    }
}

INSTANTIATE_TEST_SUITE_P(Keys, CommitTest, testing::ValuesIn(COMMITS));

struct WantsCase {
    const char* before;   // keys typed first
    unsigned vk;
    bool ctrlOrAlt;
    bool wanted;
};

const WantsCase WANTS[] = {
    {"", 'A', false, true},     {"", 'A', true, false},      {"", 0x20, false, false},
    {"", 0x0D, false, false},   {"", 0x1B, false, false},    {"", 0x08, false, false},
    {"", 0x28, false, false},   {"", '1', false, false},     {"", 0x10, false, false},
    {"a", 0x20, false, true},   {"a", 0x0D, false, true},    {"a", 0x28, false, true},
    {"a", 0x22, false, true},   {"a", 'A', true, true},      {"a", 0x10, false, false},
    {"a", 0x11, false, false},  {"a", 0xA2, false, false},   {"a\n", 'A', false, true},
    {"a\n", 0x0D, false, false},
};

class WantsKeyTest : public testing::TestWithParam<WantsCase> {};

TEST_P(WantsKeyTest, TakesKeysOnlyWhenUseful) {
    const WantsCase& c = GetParam();
    ImeComposition comp = {};
    Type(&comp, c.before);
    EXPECT_EQ(c.wanted, ImeWantsKey(&comp, c.vk, c.ctrlOrAlt));
}

INSTANTIATE_TEST_SUITE_P(Keys, WantsKeyTest, testing::ValuesIn(WANTS));

struct MessagesCase {
    const char* before;
    char key;
    std::vector<ImeMessage> expected;
};

const MessagesCase MESSAGES[] = {
    {"", 'a', {{0x10D, 0, 0}, {0x10F, 0x82A0, 0x1BF}}},
    {"a", 'i', {{0x10F, 0x82A2, 0x1BF}}},
    {"ai", ' ', {{0x10F, 0x88A4, 0x1BF}}},
    {"ai ", '\b', {{0x10F, 0x82A2, 0x1BF}}},
    {"ai ", '\n', {{0x10F, 0x88A4, 0x1E00}, {0x10E, 0, 0}}},
    {"ai", '\n', {{0x10F, 0x82A2, 0x1E00}, {0x10E, 0, 0}}},
    {"ai", '\x1b', {{0x10F, 0, 0}, {0x10E, 0, 0}}},
    {"a", '\b', {{0x10F, 0, 0}, {0x10E, 0, 0}}},
    {"ai", '~', {}},
    {"ai ", ' ', {}},
};

class MessagesTest : public testing::TestWithParam<MessagesCase> {};

TEST_P(MessagesTest, ReportsEachOutcome) {
    const MessagesCase& c = GetParam();
    ImeComposition comp = {};
    Type(&comp, c.before);
    ImeOutcome outcome = ImeApplyKey(&comp, KeyOf(c.key));
    ImeMessage out[IME_MAX_MESSAGES];
    int count = ImeMessagesFor(outcome, &comp, out);
    EXPECT_EQ(c.expected, std::vector<ImeMessage>(out, out + count));
}

INSTANTIATE_TEST_SUITE_P(Keys, MessagesTest, testing::ValuesIn(MESSAGES));

TEST(ImeCancel, DropsAnOpenCompositionOnly) {
    ImeComposition comp = {};
    Type(&comp, "kanji ");
    EXPECT_TRUE(ImeCancel(&comp));
    char text[IME_TEXT_SIZE];
    ImeCompositionText(&comp, text);
    EXPECT_EQ("", Hex(text));
    EXPECT_EQ(0, comp.active);
    EXPECT_FALSE(ImeCancel(&comp));
    ImeMessage out[IME_MAX_MESSAGES];
    ASSERT_EQ(2, ImeCancelMessages(out));
    EXPECT_TRUE((out[0] == ImeMessage{0x10F, 0, 0}));
    EXPECT_TRUE((out[1] == ImeMessage{0x10E, 0, 0}));
}

TEST(ImeComposition, StopsTakingLettersWhenFull) {
    ImeComposition comp = {};
    std::string keys(200, 'a');
    Type(&comp, keys.c_str());
    char text[IME_TEXT_SIZE];
    ImeCompositionText(&comp, text);
    std::string shown = Hex(text);
    // Only whole あ characters, and the text with its NUL fits the buffer.
    EXPECT_LT(strlen(text), static_cast<size_t>(IME_TEXT_SIZE));
    EXPECT_GT(strlen(text), static_cast<size_t>(IME_TEXT_SIZE) / 2);
    EXPECT_EQ(0u, strlen(text) % 2);
    EXPECT_EQ(std::string::npos, shown.find_first_not_of("82A0 "));
}

struct ConversionCase {
    const char* reading;   // UTF-8 for the reader; looked up as Shift-JIS below
    const char* sjis;
    const char* word;      // hex, or null for none
};

const ConversionCase CONVERSIONS[] = {
    {"あい", "\x82\xa0\x82\xa2", "88 A4"},
    {"かんじ", "\x82\xa9\x82\xf1\x82\xb6", "8A BF 8E 9A"},
    {"にほん", "\x82\xc9\x82\xd9\x82\xf1", "93 FA 96 7B"},
    {"あ", "\x82\xa0", nullptr},
    {"あいう", "\x82\xa0\x82\xa2\x82\xa4", nullptr},
    {"", "", nullptr},
};

class ConversionTest : public testing::TestWithParam<ConversionCase> {};

TEST_P(ConversionTest, KnowsOnlyItsFixedWords) {
    const ConversionCase& c = GetParam();
    const char* word = ImeConversionOf(c.sjis);
    if (c.word == nullptr)
        EXPECT_EQ(nullptr, word) << c.reading;
    else
        EXPECT_EQ(c.word, word ? Hex(word) : "(none)") << c.reading;
}

INSTANTIATE_TEST_SUITE_P(Readings, ConversionTest, testing::ValuesIn(CONVERSIONS));

// A Unicode IME also converts to words that Shift-JIS cannot hold.
struct WideOnlyCase {
    const char* what;
    bool unicode;
    const char* keys;         // ending in Space: the composition is converted
    bool wideOnly;            // the conversion is 𠮟
    const char* conversion;   // the Shift-JIS text, hex
};

const WideOnlyCase WIDE_ONLY_CASES[] = {
    {"unicode: しか converts to the word without a Shift-JIS form", true, "shika ", true, "82 B5 82 A9"},
    {"ansi: しか has no conversion", false, "shika ", false, "82 B5 82 A9"},
    {"unicode: あい converts to its Shift-JIS word", true, "ai ", false, "88 A4"},
    {"unicode: backspace undoes the conversion", true, "shika \b", false, "82 B5 82 A9"},
};

TEST(ImeWideOnly, ConvertsOnlyInAUnicodeIme) {
    for (const WideOnlyCase& c : WIDE_ONLY_CASES) {
        ImeComposition comp = {};
        for (const char* p = c.keys; *p; ++p)
            if (ImeWantsKey(&comp, KeyOf(*p), false)) ImeApplyKey(&comp, KeyOf(*p), c.unicode);
        char text[IME_TEXT_SIZE];
        ImeCompositionText(&comp, text);
        EXPECT_EQ(c.conversion, Hex(text)) << c.what;
        EXPECT_EQ(c.wideOnly, comp.wideOnly != 0) << c.what;
        const char16_t* word = ImeWideOnlyWord(comp.wideOnly);
        EXPECT_EQ(c.wideOnly ? std::u16string(u"\U00020B9F") : std::u16string(), word ? word : u"") << c.what;
        ImeOutcome committed = ImeApplyKey(&comp, KeyOf('\n'), c.unicode);
        ASSERT_EQ(IME_COMMITTED, committed.change) << c.what;
        EXPECT_EQ(c.wideOnly, committed.wideResult != 0 && committed.wideResult == ImeWideOnlyConversionOf(
                                                              "\x82\xb5\x82\xa9")) << c.what;
        EXPECT_EQ(c.conversion, Hex(committed.result)) << c.what;
        EXPECT_EQ(0, comp.wideOnly) << c.what << ": left after the commit";
    }
    EXPECT_EQ(nullptr, ImeWideOnlyWord(0));
    EXPECT_EQ(nullptr, ImeWideOnlyWord(99));
    EXPECT_EQ(0, ImeWideOnlyConversionOf("\x82\xa0\x82\xa2"));
}

}  // namespace
