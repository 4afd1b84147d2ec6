#include "class_name.h"
#include "paste_class.h"

#include <gtest/gtest.h>

namespace {

TEST(ClassNames, CaseIsIgnoredForAsciiLettersOnly) {
    const struct {
        const char* a;
        const char* b;
        bool equal;
    } cases[] = {
        {"Edit", "EDIT", true},   {"edit", "EDIT", true},      {"EDIT", "EDIT", true},
        {"EDIT1", "EDIT", false}, {"EDI", "EDIT", false},      {"", "", true},
        {"", "A", false},         {"\x82\xA0", "\x82\xA0", true}, {"\xE1", "\xC1", false},
        {"[", "{", false},        {"@", "`", false},           // not letters
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EqualsIgnoringAsciiCase(c.a, c.b), c.equal) << c.a << " / " << c.b;
        EXPECT_EQ(EqualsIgnoringAsciiCase(c.b, c.a), c.equal) << c.b << " / " << c.a;
    }
}

TEST(ClassNames, WordWindowIsCaseSensitiveAndRichEditIsNot) {
    const struct {
        const char* windowClass;
        bool word;
        bool richEdit;
    } cases[] = {
        {"_WwG", true, false},       {"_wwg", false, false},     {"_WwG ", false, false},
        {"RICHEDIT", false, true},   {"RichEdit", false, true},  {"richedit", false, true},
        {"RichEdit20A", false, false}, {"RICHEDIT50W", false, false}, {"", false, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsWordWindowClass(c.windowClass), c.word) << c.windowClass;
        EXPECT_EQ(IsRichEditClass(c.windowClass), c.richEdit) << c.windowClass;
    }
}

TEST(PasteClass, FiveClassesTakeThePasteMessage) {
    const struct {
        const char* windowClass;
        bool paste;
    } cases[] = {
        {"EDIT", true},          {"Edit", true},
        {"eDiT", true},          {"RichEdit20A", true},
        {"RICHEDIT20A", true},   {"PimWclasschild32", true},
        {"pimwclasschild32", true}, {"RichEdit20W", true},  // the wide-character classes
        {"richedit20w", true},   {"RICHEDIT50W", true},
        {"RichEdit50W", true},   {"RichEdit50A", false},
        {"RichEdit20", false},   {"RICHEDIT50W2", false},
        {"RichEdit", false},
        {"EDIT2", false},        {"_WwG", false},
        {"", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsPasteClassName(c.windowClass), c.paste) << c.windowClass;
    }
}

TEST(PasteClass, ClipboardBlockHoldsWordNulAndNineZeroBytes) {
    const struct {
        size_t word;
        size_t block;
    } cases[] = {{4, 14}, {0, 10}, {255, 265}};
    for (const auto& c : cases) {
        EXPECT_EQ(ClipboardBlockSize(c.word), c.block) << c.word;
    }
}

TEST(PasteClass, CtrlVIsPressedAroundVAndReleasedLast) {
    // Ctrl goes down before V and comes up after it; V is pressed then released.
    EXPECT_EQ(PASTE_KEY_EVENTS[0].key, PASTE_KEY_EVENTS[3].key);
    EXPECT_EQ(PASTE_KEY_EVENTS[1].key, PASTE_KEY_EVENTS[2].key);
    const struct {
        unsigned char key;
        unsigned flags;
    } expected[PASTE_KEY_EVENT_COUNT] = {{0x11, 0}, {'V', 0}, {'V', 2}, {0x11, 2}};
    for (int i = 0; i < PASTE_KEY_EVENT_COUNT; ++i) {
        EXPECT_EQ(PASTE_KEY_EVENTS[i].key, expected[i].key) << i;
        EXPECT_EQ(PASTE_KEY_EVENTS[i].flags, expected[i].flags) << i;
    }
}

}  // namespace
