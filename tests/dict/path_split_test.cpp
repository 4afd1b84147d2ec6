// Splitting paths of code page 932 into drive, directory, name and extension.
#include <gtest/gtest.h>

#include <string>

#include "path_split.h"

struct SplitCase {
    std::string path;
    const char* drive;
    const char* dir;
    const char* name;
    const char* ext;
};

TEST(PathSplitTest, SplitsIntoFourParts) {
    const SplitCase cases[] = {
        {"D:\\Tools\\ZELVO.EXE", "D:", "\\Tools\\", "ZELVO", ".EXE"},
        {"D:\\Tools\\ZELVO", "D:", "\\Tools\\", "ZELVO", ""},
        {"ZELVO.EXE", "", "", "ZELVO", ".EXE"},
        {"A:my.ini", "A:", "", "my", ".ini"},
        {"cfg/my.ini", "", "cfg/", "my", ".ini"},
        {"\\my.ini", "", "\\", "my", ".ini"},
        {"C:\\dir.d\\name", "C:", "\\dir.d\\", "name", ""},
        {"a.b.c", "", "", "a.b", ".c"},
        {"C:\\dir\\.hidden", "C:", "\\dir\\", "", ".hidden"},
        {"", "", "", "", ""},
        // 表 = 0x95 0x5C, ソ = 0x83 0x5C: trail bytes equal to '\' are part of the character.
        {"C:\\\x95\x5C\\\x83\x5C.txt", "C:", "\\\x95\x5C\\", "\x83\x5C", ".txt"},
        {"\x95\x5C.txt", "", "", "\x95\x5C", ".txt"},
        // A lead byte at the very end stands alone.
        {"C:\\a\x95", "C:", "\\", "a\x95", ""},
    };
    for (const SplitCase& c : cases) {
        PathParts parts;
        EXPECT_TRUE(SplitPath(c.path.c_str(), &parts)) << c.path;
        EXPECT_STREQ(c.drive, parts.drive) << c.path;
        EXPECT_STREQ(c.dir, parts.dir) << c.path;
        EXPECT_STREQ(c.name, parts.name) << c.path;
        EXPECT_STREQ(c.ext, parts.ext) << c.path;
    }
}

TEST(PathSplitTest, LeadBytesFollowTheGivenCodePage) {
    // Without double-byte characters 0x5C after 0x95 is a separator.
    PathParts parts;
    SplitPath("C:\\\x95\\x.txt", &parts, [](unsigned char) { return false; });
    EXPECT_STREQ("\\\x95\\", parts.dir);
    EXPECT_STREQ("x", parts.name);
}

TEST(PathSplitTest, OverlongPartsAreReportedAndCut) {
    std::string name(300, 'n');
    PathParts parts;
    EXPECT_FALSE(SplitPath(("C:\\d\\" + name + ".txt").c_str(), &parts));
    EXPECT_EQ(std::string(255, 'n'), parts.name);
    EXPECT_STREQ(".txt", parts.ext);
}

TEST(PathSplitTest, JoinReplacesTheExtensionOrRefuses) {
    PathParts parts;
    SplitPath("D:\\Tools\\ZELVO.EXE", &parts);
    char out[260];
    EXPECT_TRUE(JoinPath(out, sizeof out, parts, ".TXT"));
    EXPECT_STREQ("D:\\Tools\\ZELVO.TXT", out);

    char small[18];  // one byte short of "D:\Tools\ZELVO.TXT" and its NUL
    EXPECT_FALSE(JoinPath(small, sizeof small, parts, ".TXT"));
    EXPECT_STREQ("", small);
    char exact[19];
    EXPECT_TRUE(JoinPath(exact, sizeof exact, parts, ".TXT"));
    EXPECT_STREQ("D:\\Tools\\ZELVO.TXT", exact);
}
