#include "composition_text.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(CompositionMessage, ClearedOnlyForZeroAndWantedForStringsAndReadings) {
    const struct {
        unsigned long flags;
        bool cleared;
        bool wanted;
    } cases[] = {
        {0x0000, true, false},   {0x0080, false, false},  // cursor position alone
        {0x0001, false, true},   {0x0008, false, true},   {0x0200, false, true},
        {0x0800, false, true},   {0x01BF, false, true},   {0x1E00, false, true},
        {0x0016, false, false},  // attributes and clauses only
        {0x0400, false, false},  // result clause only
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CompositionCleared(c.flags), c.cleared) << std::hex << c.flags;
        EXPECT_EQ(CompositionWanted(c.flags), c.wanted) << std::hex << c.flags;
    }
}

TEST(ChooseCompositionKinds, ResultWhenTheResultStringIsInTheFlags) {
    const struct {
        unsigned long flags;
        unsigned text;
        unsigned reading;
        bool isResult;
    } cases[] = {
        {0x1E00, RESULT_STRING, RESULT_READING, true},
        {0x0800, RESULT_STRING, RESULT_READING, true},
        {0x0200, COMPOSITION_STRING, COMPOSITION_READING, false},  // result reading alone
        {0x01BF, COMPOSITION_STRING, COMPOSITION_READING, false},
        {REFRESH_FLAGS, COMPOSITION_STRING, COMPOSITION_READING, false},
    };
    for (const auto& c : cases) {
        CompositionKinds kinds = ChooseCompositionKinds(c.flags);
        EXPECT_EQ(kinds.text, c.text) << std::hex << c.flags;
        EXPECT_EQ(kinds.reading, c.reading) << std::hex << c.flags;
        EXPECT_EQ(kinds.isResult, c.isResult) << std::hex << c.flags;
    }
}

TEST(CompositionSizes, MainStringAndReadingMustFitTheirFields) {
    const struct {
        long size;
        CompositionSizeAction main;
        bool readingFits;
    } cases[] = {
        {0, COMPOSITION_HIDE, true},     {1, COMPOSITION_READ, true},
        {255, COMPOSITION_READ, true},   {256, COMPOSITION_IGNORE, false},
        {4000, COMPOSITION_IGNORE, false}, {-1, COMPOSITION_IGNORE, false},  // IMM_ERROR_NODATA
        {-2, COMPOSITION_IGNORE, false},  // IMM_ERROR_GENERAL
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ActOnCompositionSize(c.size), c.main) << c.size;
        EXPECT_EQ(ReadingSizeFits(c.size), c.readingFits) << c.size;
    }
}

TEST(IsAllUnconvertedInput, LooksAtTheFirstSizeAttributeBytes) {
    const struct {
        const char* what;
        std::vector<unsigned char> attributes;
        long size;
        bool unconverted;
    } cases[] = {
        {"all input", {0, 0, 0, 0}, 4, true},
        {"converted clause", {0, 0, 1, 1}, 4, false},
        {"target clause first", {3, 0}, 2, false},
        {"set byte beyond the size", {0, 0, 1}, 2, true},
        {"empty", {1}, 0, true},
        {"error size", {1}, -1, true},
        {"too big to read", std::vector<unsigned char>(512, 1), 256, true},
        {"largest read size", std::vector<unsigned char>(255, 0), 255, true},
    };
    for (const auto& c : cases) {
        std::vector<unsigned char> exact(c.attributes);  // exactly the bytes given
        EXPECT_EQ(IsAllUnconvertedInput(exact.data(), c.size), c.unconverted) << c.what;
    }
}

TEST(ContainsKanji, OnlyLeadBytesFrom0x88Count) {
    const struct {
        const char* what;
        const char* text;
        bool kanji;
    } cases[] = {
        {"hiragana", "\x82\xA0\x82\xA2", false},             // あい
        {"katakana", "\x83\x41\x83\x43", false},             // アイ
        {"full-width letters and digits", "\x82\x60\x82\x4F", false},
        {"symbols", "\x81\x41\x81\x5B\x87\x40", false},
        {"kanji", "\x88\xA4", true},                         // 愛
        {"kanji after hiragana", "\x82\xA0\x88\xA4", true},
        {"kanji in the last rows", "\xE0\x40", true},
        {"ASCII", "abc", false},
        {"half-width katakana", "\xB1\xB2\xDD", false},
        {"trail byte looking like a kanji lead", "\x82\x88", false},
        {"trail byte looking like a lead byte", "\x82\x9F\x82\xA0", false},
        {"lead byte cut off by the NUL", "\x82", false},
        {"kanji lead byte cut off by the NUL", "a\x88", true},
        {"empty", "", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ContainsKanji(c.text), c.kanji) << c.what;
    }
}

TEST(AnsiTextMatches, OnlyAnExactConversionWithoutDefaultCharacterPasses) {
    // What the ANSI call gave, what the Unicode form converts to, whether the conversion had
    // to use the default character.
    const struct {
        const char* what;
        const char* ansi;
        const char* converted;
        long length;
        bool usedDefault;
        bool matches;
    } cases[] = {
        {"a kanji word", "\x88\xa4\x8f\xee", "\x88\xa4\x8f\xee", 4, false, true},
        {"empty both", "", "", 0, false, true},
        {"ASCII", "abc", "abc", 3, false, true},
        {"a character the code page lacks: '?' both", "?", "?", 1, true, false},
        {"'?' in the ANSI text, a kanji in the Unicode one", "?", "\x88\xa4", 2, false, false},
        {"the ANSI text is shorter", "\x88\xa4", "\x88\xa4\x88\xa4", 4, false, false},
        {"the ANSI text is longer", "\x88\xa4\x88\xa4", "\x88\xa4", 2, false, false},
        {"same length, another byte", "\x88\xa4", "\x88\xa5", 2, false, false},
        {"the conversion failed", "\x88\xa4", "", 0, false, false},
        {"an error length", "", "", -1, false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AnsiTextMatches(c.ansi, c.converted, c.length, c.usedDefault), c.matches) << c.what;
    }
}

TEST(DefersPlacement, WaitsUnlessWordWindowOrAlreadyVisible) {
    const struct {
        const char* windowClass;
        bool visible;
        bool defers;
    } cases[] = {
        {"Edit", false, true}, {"Edit", true, false}, {"_WwG", false, false},
        {"_WwG", true, false}, {"_wwg", false, true},  {"", false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DefersPlacement(c.windowClass, c.visible), c.defers)
            << c.windowClass << " " << c.visible;
    }
}

}  // namespace
