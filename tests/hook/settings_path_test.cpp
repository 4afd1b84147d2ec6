#include "settings_path.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct Case {
    const char* what;
    std::string name;
    const char* program;  // null: the program path could not be read
    std::string expected;
    bool resolved;
};

bool NoLeadBytes(unsigned char) {
    return false;
}

// Resolves into a buffer of exactly the path size, so that a write past it is caught.
std::string Resolve(const char* name, const char* program, bool* resolved,
                    LeadBytePredicate isLeadByte = IsCp932LeadByte) {
    std::vector<char> out(SETTINGS_PATH_SIZE, 'X');
    *resolved = ResolveSettingsPath(name, program, out.data(), isLeadByte);
    return std::string(out.data());
}

const char* const PROGRAM = "C:\\Tools\\ZELVO.EXE";

TEST(ResolveSettingsPath, KeepsNamesWithFolderAndJoinsBareNames) {
    const std::vector<Case> cases = {
        {"default name", "SAMPRELO.INI", PROGRAM, "C:\\Tools\\SAMPRELO.INI", true},
        {"no extension, no dot added", "settings", PROGRAM, "C:\\Tools\\settings", true},
        {"only an extension", ".ini", PROGRAM, "C:\\Tools\\.ini", true},
        {"two dots", "a.b.ini", PROGRAM, "C:\\Tools\\a.b.ini", true},
        {"full path kept", "D:\\cfg\\my.ini", PROGRAM, "D:\\cfg\\my.ini", true},
        {"relative folder kept", "cfg\\my.ini", PROGRAM, "cfg\\my.ini", true},
        {"slash folder kept", "cfg/my.ini", PROGRAM, "cfg/my.ini", true},
        {"root folder kept", "\\my.ini", PROGRAM, "\\my.ini", true},
        {"drive only kept", "A:my.ini", PROGRAM, "A:my.ini", true},
        {"kept without program path", "cfg\\my.ini", nullptr, "cfg\\my.ini", true},
        {"program folder with slashes", "SAMPRELO.INI", "C:/Tools/ZELVO.EXE",
         "C:/Tools/SAMPRELO.INI", true},
        {"dot in program folder", "s.ini", "C:\\My.Tools\\ZELVO", "C:\\My.Tools\\s.ini", true},
        {"program without folder", "s.ini", "C:ZELVO.EXE", "C:s.ini", true},
        {"program in the root", "s.ini", "C:\\ZELVO.EXE", "C:\\s.ini", true},
        {"UNC program path", "s.ini", "\\\\srv\\share\\ZELVO.EXE", "\\\\srv\\share\\s.ini", true},
        // 0x95 0x5C is one double-byte character whose trail byte equals '\'.
        {"trail byte 0x5C in the program folder", "s.ini", "C:\\\x95\x5C\\ZELVO.EXE",
         "C:\\\x95\x5C\\s.ini", true},
        {"trail byte 0x5C ending the program folder name", "s.ini", "C:\\a\\\x95\x5C",
         "C:\\a\\s.ini", true},
        {"trail byte 0x5C in a bare name", "\x95\x5C.ini", PROGRAM, "C:\\Tools\\\x95\x5C.ini",
         true},
        {"bare name without program path", "SAMPRELO.INI", nullptr, "", false},
    };
    for (const Case& c : cases) {
        bool resolved = false;
        EXPECT_EQ(Resolve(c.name.c_str(), c.program, &resolved), c.expected) << c.what;
        EXPECT_EQ(resolved, c.resolved) << c.what;
    }
}

TEST(ResolveSettingsPath, UsesTheGivenLeadBytes) {
    // Without double-byte characters the trail byte 0x5C is a separator: the name has a
    // folder and is kept.
    bool resolved = false;
    EXPECT_EQ(Resolve("\x95\x5C.ini", PROGRAM, &resolved, NoLeadBytes), "\x95\x5C.ini");
    EXPECT_TRUE(resolved);
    EXPECT_EQ(Resolve("s.ini", "C:\\a\\\x95\x5C", &resolved, NoLeadBytes), "C:\\a\\\x95\x5Cs.ini");
    EXPECT_TRUE(resolved);
}

TEST(ResolveSettingsPath, RefusesWhatDoesNotFitInsteadOfCuttingIt) {
    const std::string folder = "C:\\" + std::string(200, 'd') + "\\";  // 204 bytes
    const std::string program = folder + "ZELVO.EXE";
    const std::string kept259 = "D:\\" + std::string(256, 'k');
    const std::string joinedFits = std::string(259 - folder.size() - 4, 'n') + ".ini";
    const std::string joinedOver = std::string(260 - folder.size() - 4, 'n') + ".ini";
    const std::string program260 = "C:\\" + std::string(257, 'p');
    const std::vector<Case> cases = {
        {"kept name of 259 bytes", kept259, program.c_str(), kept259, true},
        {"kept name of 260 bytes", kept259 + "k", program.c_str(), "", false},
        {"kept name far too long", "D:\\" + std::string(600, 'k'), program.c_str(), "", false},
        {"joined path of 259 bytes", joinedFits, program.c_str(), folder + joinedFits, true},
        {"joined path of 260 bytes", joinedOver, program.c_str(), "", false},
        {"bare name longer than a path component", std::string(256, 'n'), "C:\\Z.EXE", "",
         false},
        {"bare name of 260 bytes", std::string(260, 'n'), "C:\\Z.EXE", "", false},
        {"program path of 260 bytes", "s.ini", program260.c_str(), "",
         false},
    };
    for (const Case& c : cases) {
        bool resolved = true;
        std::string result = Resolve(c.name.c_str(), c.program, &resolved);
        EXPECT_EQ(result, c.expected) << c.what;
        EXPECT_EQ(resolved, c.resolved) << c.what;
        EXPECT_LT(result.size(), SETTINGS_PATH_SIZE) << c.what;
    }
}

TEST(ResolveSettingsPath, RefusesNoName) {
    bool resolved = true;
    EXPECT_EQ(Resolve(nullptr, PROGRAM, &resolved), "");
    EXPECT_FALSE(resolved);
}

}  // namespace
