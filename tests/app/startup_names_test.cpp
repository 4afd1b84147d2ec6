// The settings name from the command line and the dictionary path beside the program.
#include "startup_names.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char HIRAGANA_A[] = "\x82\xa0";          // one double-byte character
const char KANJI_HYOU[] = "\x95\x5c";          // its second byte is '\'
const std::string A259(259, 'a');

struct TrimCase {
    const char* what;
    std::string commandLine;
    std::string expected;
};

class TrimSettingsNameTest : public testing::TestWithParam<TrimCase> {};

TEST_P(TrimSettingsNameTest, GivesTheSettingsName) {
    const TrimCase& c = GetParam();
    // The name buffer is followed by guard bytes that must survive untouched.
    struct {
        char name[NAME_BUFFER_SIZE];
        char guard[32];
    } buffer;
    memset(&buffer, 0x7F, sizeof buffer);
    TrimSettingsName(c.commandLine.c_str(), buffer.name);
    EXPECT_EQ(std::string(buffer.name), c.expected);
    EXPECT_LT(strlen(buffer.name), NAME_BUFFER_SIZE);
    for (char guard : buffer.guard) {
        ASSERT_EQ(guard, 0x7F);
    }
}

std::string Repeat(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrimSettingsNameTest,
    testing::Values(
        TrimCase{"empty", "", "SAMPRELO.INI"},
        TrimCase{"blanks only", "     ", "SAMPRELO.INI"},
        TrimCase{"blanks around", "  my.ini  ", "my.ini"},
        TrimCase{"inner blank stays", " my file.ini ", "my file.ini"},
        TrimCase{"tab before stays", "\tmy.ini", "\tmy.ini"},
        TrimCase{"tab after stays", "my.ini\t ", "my.ini\t"},
        TrimCase{"quotes stay", " \"C:\\a b\\my.ini\" ", "\"C:\\a b\\my.ini\""},
        TrimCase{"full path unchanged", "D:\\cfg\\my.ini", "D:\\cfg\\my.ini"},
        TrimCase{"double-byte name", std::string(" ") + HIRAGANA_A + ".ini", std::string(HIRAGANA_A) + ".ini"},
        TrimCase{"259 bytes fit", A259, A259},
        TrimCase{"259 bytes after blanks fit", "   " + A259 + "   ", A259},
        TrimCase{"300 bytes cut to 259", std::string(300, 'a'), A259},
        TrimCase{"cut before a character that would straddle the end",
                 std::string(258, 'a') + HIRAGANA_A + "b", std::string(258, 'a')},
        TrimCase{"character that ends at 259 stays", std::string(257, 'a') + HIRAGANA_A + "bbb",
                 std::string(257, 'a') + HIRAGANA_A},
        TrimCase{"double-byte run cut at an even boundary", Repeat(HIRAGANA_A, 130), Repeat(HIRAGANA_A, 129)},
        TrimCase{"odd start keeps the pairs aligned", "a" + Repeat(HIRAGANA_A, 130), "a" + Repeat(HIRAGANA_A, 129)},
        TrimCase{"trail byte '\\' is not cut off", Repeat(KANJI_HYOU, 131), Repeat(KANJI_HYOU, 129)},
        TrimCase{"a cut ending on a blank is trimmed", std::string(258, 'a') + " " + std::string(10, 'b'),
                 std::string(258, 'a')}),
    [](const testing::TestParamInfo<TrimCase>& info) {
        std::string name = info.param.what;
        for (char& c : name) {
            if (!isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

struct PathCase {
    const char* what;
    std::string programPath;
    bool fits;
    std::string expected;
};

class BuildDictionaryPathTest : public testing::TestWithParam<PathCase> {};

TEST_P(BuildDictionaryPathTest, GivesTheDictionaryPath) {
    const PathCase& c = GetParam();
    char path[NAME_BUFFER_SIZE];
    memset(path, 'x', sizeof path);
    EXPECT_EQ(BuildDictionaryPath(c.programPath.c_str(), path), c.fits);
    EXPECT_EQ(std::string(path), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BuildDictionaryPathTest,
    testing::Values(
        PathCase{"beside the program", "D:\\Tools\\ZELVO.EXE", true, "D:\\Tools\\ZELVO.TXT"},
        PathCase{"no extension", "C:\\Tools\\ZELVO", true, "C:\\Tools\\ZELVO.TXT"},
        PathCase{"dot in the folder only", "C:\\a.b\\ZELVO", true, "C:\\a.b\\ZELVO.TXT"},
        PathCase{"forward slashes", "C:/Tools/zelvo.exe", true, "C:/Tools/zelvo.TXT"},
        PathCase{"no folder", "ZELVO.EXE", true, "ZELVO.TXT"},
        PathCase{"trail byte '\\' is no separator", std::string("C:\\a\\b.c") + KANJI_HYOU, true,
                 "C:\\a\\b.TXT"},
        PathCase{"result of 259 bytes fits", "C:\\" + std::string(250, 'd') + "\\Z.E", true,
                 "C:\\" + std::string(250, 'd') + "\\Z.TXT"},
        PathCase{"result of 260 bytes does not fit", "C:\\" + std::string(251, 'd') + "\\Z.E", false, ""},
        PathCase{"folder longer than a part holds", "C:\\" + std::string(300, 'd') + "\\Z.EXE", false, ""}),
    [](const testing::TestParamInfo<PathCase>& info) {
        std::string name = info.param.what;
        for (char& c : name) {
            if (!isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

struct SetAsideCase {
    const wchar_t* name;
    bool setAside;
};

TEST(SetAsideCopyTest, KnowsTheInstallersSetAsideNamesOnly) {
    const SetAsideCase cases[] = {
        {L"ZELVOS.DLL.123456.old", true},
        {L"ZELVOD.DLL.7.old", true},
        {L"ZELVO.EXE.4294967.old", true},
        {L"ZELVOS.DLL.-1294967.old", true},  // a tick count past 2^31, written as signed
        {L"zelvos.dll.12.OLD", true},
        {L"ZELVOS.DLL.0.old", true},
        {L"ZELVO32.EXE.55.old", true},        // the host program and its hook library
        {L"ZELVOS32.DLL.-8.old", true},
        {L"ZELVOS32.DLL", false},
        {L"ZELVOS64.DLL.8.old", false},
        {L"ZELVO32.EXE.old", false},
        {L"ZELVOS.DLL", false},
        {L"ZELVOS.DLL.old", false},           // no number
        {L"ZELVOS.DLL..old", false},
        {L"ZELVOS.DLL.-.old", false},
        {L"ZELVOS.DLL.12a.old", false},
        {L"ZELVOS.DLL.12.old.txt", false},
        {L"ZELVOS.DLL.12.ol", false},
        {L"ZELVOS.DLL.12", false},
        {L"XZELVOS.DLL.12.old", false},
        {L"ZELVO.TXT.12.old", false},         // the dictionary is never a set-aside copy
        {L"ZELVO.TXT", false},
        {L"OTHER.DLL.12.old", false},
        {L"ZELVO.EXE.1\2.old", false},
        {L"", false},
    };
    for (const SetAsideCase& c : cases) {
        EXPECT_EQ(IsSetAsideCopy(c.name), c.setAside) << "case " << (&c - cases);
    }
}

}  // namespace
