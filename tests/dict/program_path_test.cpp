// Choosing a path the ANSI calls can open: the path itself, its short folder, its short form.
#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "program_path.h"

namespace {

// A small ANSI code page: ASCII, and 吉 (U+5409) as its Shift-JIS bytes 8B 67. Every other
// character, 𠮷 (U+20BB7) among them, has no ANSI form.
bool FakeToAnsi(const wchar_t* wide, char* out, size_t size) {
    std::string bytes;
    for (const wchar_t* c = wide; *c != L'\0'; ++c) {
        if (*c < 0x80) {
            bytes += static_cast<char>(*c);
        } else if (*c == 0x5409) {
            bytes += "\x8B\x67";
        } else {
            return false;
        }
    }
    if (bytes.size() >= size) {
        return false;
    }
    memcpy(out, bytes.c_str(), bytes.size() + 1);
    return true;
}

// The short forms the volume keeps; a path without an entry has none.
std::map<std::wstring, std::wstring> shortForms;
std::vector<std::wstring> shortFormAsked;

bool FakeShortForm(const wchar_t* path, wchar_t* out, size_t size) {
    shortFormAsked.push_back(path);
    auto found = shortForms.find(path);
    if (found == shortForms.end() || found->second.size() >= size) {
        return false;
    }
    wmemcpy(out, found->second.c_str(), found->second.size() + 1);
    return true;
}

const AnsiPathCalls FAKE_CALLS = {FakeToAnsi, FakeShortForm};

struct PathCase {
    const char* what;
    std::wstring path;
    std::map<std::wstring, std::wstring> shortForms;
    bool found;
    std::string expected;
};

const std::wstring YOSHI = L"\U00020BB7";  // 𠮷, outside code page 932

TEST(ProgramPathTest, ChoosesTheFirstFormTheAnsiCallsCanOpen) {
    const PathCase cases[] = {
        {"an ASCII path is used as it is", L"C:\\Tools\\ZELVO.EXE", {}, true, "C:\\Tools\\ZELVO.EXE"},
        {"code page characters are used as they are", L"C:\\\u5409\\ZELVO.EXE", {}, true,
         "C:\\\x8B\x67\\ZELVO.EXE"},
        {"a folder outside the code page: its short form, then the file's own name",
         L"C:\\users\\" + YOSHI + L"\\Zelvo\\ZELVO.EXE",
         {{L"C:\\users\\" + YOSHI + L"\\Zelvo\\", L"C:\\users\\2B~1\\Zelvo\\"}}, true,
         "C:\\users\\2B~1\\Zelvo\\ZELVO.EXE"},
        {"a long file name that converts is kept beside the short folder",
         L"C:\\" + YOSHI + L"\\Zelvo Tool.exe", {{L"C:\\" + YOSHI + L"\\", L"C:\\2B~1\\"}}, true,
         "C:\\2B~1\\Zelvo Tool.exe"},
        {"a short folder given without its last separator", L"C:\\" + YOSHI + L"\\ZELVO.EXE",
         {{L"C:\\" + YOSHI + L"\\", L"C:\\2B~1"}}, true, "C:\\2B~1\\ZELVO.EXE"},
        {"a file name outside the code page: the short form of the whole path",
         L"C:\\Tools\\" + YOSHI + L".EXE",
         {{L"C:\\Tools\\", L"C:\\Tools\\"}, {L"C:\\Tools\\" + YOSHI + L".EXE", L"C:\\Tools\\8B~1.EXE"}}, true,
         "C:\\Tools\\8B~1.EXE"},
        {"a program at the root of a drive", L"D:\\" + YOSHI + L".EXE",
         {{L"D:\\", L"D:\\"}, {L"D:\\" + YOSHI + L".EXE", L"D:\\8B~1.EXE"}}, true, "D:\\8B~1.EXE"},
        {"a short folder that still does not convert: the whole short form",
         L"C:\\" + YOSHI + L"\\ZELVO.EXE",
         {{L"C:\\" + YOSHI + L"\\", L"C:\\" + YOSHI + L"\\"}, {L"C:\\" + YOSHI + L"\\ZELVO.EXE", L"C:\\2B~1\\ZELVO.EXE"}},
         true, "C:\\2B~1\\ZELVO.EXE"},
        {"no short forms on the volume", L"C:\\users\\" + YOSHI + L"\\ZELVO.EXE", {}, false, ""},
        {"short forms that do not convert either", L"C:\\" + YOSHI + L"\\ZELVO.EXE",
         {{L"C:\\" + YOSHI + L"\\", L"C:\\" + YOSHI + L"\\"},
          {L"C:\\" + YOSHI + L"\\ZELVO.EXE", L"C:\\" + YOSHI + L"\\ZELVO.EXE"}},
         false, ""},
        {"a name without a folder", L"ZELVO.EXE", {}, false, ""},
        {"a folder without a file name", L"C:\\Tools\\", {}, false, ""},
    };
    for (const PathCase& c : cases) {
        SCOPED_TRACE(c.what);
        shortForms = c.shortForms;
        char out[260];
        memset(out, 'x', sizeof out);
        EXPECT_EQ(ChooseAnsiPath(c.path.c_str(), FAKE_CALLS, out, sizeof out), c.found);
        EXPECT_EQ(std::string(out), c.expected);
    }
}

TEST(ProgramPathTest, ThePathItselfComesFirstAndNeedsNoShortForm) {
    shortForms = {{L"C:\\Tools\\", L"C:\\TOOLS~1\\"}};
    shortFormAsked.clear();
    char out[260];
    ASSERT_TRUE(ChooseAnsiPath(L"C:\\Tools\\ZELVO.EXE", FAKE_CALLS, out, sizeof out));
    EXPECT_STREQ(out, "C:\\Tools\\ZELVO.EXE");
    EXPECT_TRUE(shortFormAsked.empty());
}

TEST(ProgramPathTest, RefusesWhatDoesNotFit) {
    shortForms = {{L"C:\\" + YOSHI + L"\\", L"C:\\2B~1\\"}};
    char small[8];
    EXPECT_FALSE(ChooseAnsiPath(L"C:\\Tools\\ZELVO.EXE", FAKE_CALLS, small, sizeof small));
    EXPECT_STREQ(small, "");
    // "C:\2B~1\ZELVO.EXE" needs 18 bytes with its NUL.
    char justShort[17];
    EXPECT_FALSE(ChooseAnsiPath((L"C:\\" + YOSHI + L"\\ZELVO.EXE").c_str(), FAKE_CALLS, justShort, sizeof justShort));
    char justRight[18];
    EXPECT_TRUE(ChooseAnsiPath((L"C:\\" + YOSHI + L"\\ZELVO.EXE").c_str(), FAKE_CALLS, justRight, sizeof justRight));
    EXPECT_STREQ(justRight, "C:\\2B~1\\ZELVO.EXE");

    std::wstring longPath = L"C:\\" + std::wstring(WIDE_PATH_ROOM, L'd') + L"\\ZELVO.EXE";
    char out[2 * WIDE_PATH_ROOM];
    EXPECT_FALSE(ChooseAnsiPath(longPath.c_str(), FAKE_CALLS, out, sizeof out));
    EXPECT_STREQ(out, "");
}

}  // namespace
