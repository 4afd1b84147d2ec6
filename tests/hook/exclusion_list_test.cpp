// The list of programs Zelvo stays out of, as packed by the resident program and read by the
// hook: the names that fit, the exact match, and when a list read counts as whole.
#include "exclusion_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Packed {
    uint16_t text[EXCLUSION_TEXT_CHARS];
    uint32_t count;
};

Packed Pack(const std::vector<std::u16string>& names) {
    std::vector<const char16_t*> pointers;
    for (const std::u16string& name : names) {
        pointers.push_back(name.c_str());
    }
    Packed packed;
    std::fill(std::begin(packed.text), std::end(packed.text), uint16_t{0xFFFF});
    packed.count = PackExclusionNames(pointers.data(), static_cast<int>(pointers.size()), packed.text);
    return packed;
}

TEST(ExclusionListTest, ProgramFileNameIsWhatFollowsTheLastSeparator) {
    EXPECT_EQ(std::u16string(u"NOTEPAD.EXE"), ProgramFileName(u"C:\\Windows\\NOTEPAD.EXE"));
    EXPECT_EQ(std::u16string(u"a.exe"), ProgramFileName(u"Z:/tmp/x\\a.exe"));
    EXPECT_EQ(std::u16string(u"plain.exe"), ProgramFileName(u"plain.exe"));
    EXPECT_EQ(std::u16string(u""), ProgramFileName(u"C:\\folder\\"));
}

struct HoldCase {
    const char* what;
    std::vector<std::u16string> names;
    const char16_t* name;
    bool held;
};

TEST(ExclusionListTest, AListHoldsExactlyItsNames) {
    const HoldCase cases[] = {
        {"the only name", {u"NOTEPAD.EXE"}, u"NOTEPAD.EXE", true},
        {"the last of several", {u"A.EXE", u"B.EXE", u"NOTEPAD.EXE"}, u"NOTEPAD.EXE", true},
        {"the first of several", {u"NOTEPAD.EXE", u"B.EXE"}, u"NOTEPAD.EXE", true},
        {"a name outside the code page", {u"\U0001F600.EXE"}, u"\U0001F600.EXE", true},
        {"a prefix of a name", {u"NOTEPAD.EXE"}, u"NOTEPAD", false},
        {"a name a listed one begins with", {u"NOTE"}, u"NOTEPAD.EXE", false},
        {"another case (both sides upper-case first)", {u"NOTEPAD.EXE"}, u"notepad.exe", false},
        {"an empty list", {}, u"NOTEPAD.EXE", false},
        {"an empty name", {u"A.EXE"}, u"", false},
    };
    for (const HoldCase& c : cases) {
        Packed packed = Pack(c.names);
        EXPECT_EQ(c.held, ExclusionNamesHold(packed.text, packed.count, c.name)) << c.what;
    }
}

TEST(ExclusionListTest, NamesThatDoNotFitAreLeftOut) {
    std::u16string longest(EXCLUSION_NAME_CHARS - 1, u'x');
    std::u16string tooLong(EXCLUSION_NAME_CHARS, u'y');
    Packed packed = Pack({u"", tooLong, longest, u"B.EXE"});
    EXPECT_EQ(2u, packed.count);
    EXPECT_TRUE(ExclusionNamesHold(packed.text, packed.count, longest.c_str()));
    EXPECT_TRUE(ExclusionNamesHold(packed.text, packed.count, u"B.EXE"));
    EXPECT_FALSE(ExclusionNamesHold(packed.text, packed.count, tooLong.c_str()));

    // At most EXCLUSION_MAX_NAMES of the longest names: they fill the text exactly.
    std::vector<std::u16string> many;
    for (int i = 0; i < EXCLUSION_MAX_NAMES + 3; ++i) {
        std::u16string name(EXCLUSION_NAME_CHARS - 1, u'a');
        name[0] = static_cast<char16_t>(u'A' + i);
        many.push_back(name);
    }
    packed = Pack(many);
    EXPECT_EQ(static_cast<uint32_t>(EXCLUSION_MAX_NAMES), packed.count);
    EXPECT_TRUE(ExclusionNamesHold(packed.text, packed.count, many[EXCLUSION_MAX_NAMES - 1].c_str()));
    EXPECT_FALSE(ExclusionNamesHold(packed.text, packed.count, many[EXCLUSION_MAX_NAMES].c_str()));
}

TEST(ExclusionListTest, AHostileCountNeverReadsPastTheText) {
    uint16_t text[EXCLUSION_TEXT_CHARS];
    std::fill(std::begin(text), std::end(text), uint16_t{'A'});  // no NUL anywhere
    EXPECT_FALSE(ExclusionNamesHold(text, 0xFFFFFFFFu, u"A"));
    text[EXCLUSION_TEXT_CHARS - 1] = 0;
    EXPECT_FALSE(ExclusionNamesHold(text, 0xFFFFFFFFu, u"B"));
}

struct SettledCase {
    uint32_t before;
    uint32_t after;
    bool settled;
};

TEST(ExclusionListTest, OnlyTheSameEvenGenerationOnBothSidesIsAWholeList) {
    const SettledCase cases[] = {
        {2, 2, true}, {8, 8, true}, {0, 0, false}, {3, 3, false}, {2, 4, false}, {2, 3, false},
    };
    for (const SettledCase& c : cases) {
        EXPECT_EQ(c.settled, ExclusionListSettled(c.before, c.after)) << c.before << " " << c.after;
    }
}

}  // namespace
