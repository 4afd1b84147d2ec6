// ConvFunction as the resident program calls it: a real list box, real files, code page 932.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "conv_function.h"

namespace {

INT_PTR Arg(const char* text) {
    return reinterpret_cast<INT_PTR>(text);
}

int Register(const char* word, const char* reading) {
    return ConvFunction(CONV_REGISTER, Arg(word), Arg(reading), -1, -1);
}

// A hidden top-level window with an unsorted list box, as the candidate window has.
class ConvFunctionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(932u, GetACP()) << "the tests need the Japanese ANSI code page";
        owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
        list = CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE | LBS_USETABSTOPS | LBS_NOTIFY,
                               0, 0, 300, 200, owner, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, list);
    }
    static int Lookup(const char* query) {
        return ConvFunction(CONV_LOOKUP, reinterpret_cast<INT_PTR>(list), Arg(query), -1, -1);
    }
    static std::vector<std::string> Lines() {
        std::vector<std::string> lines;
        LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::string line(static_cast<size_t>(SendMessageA(list, LB_GETTEXTLEN, i, 0)), '\0');
            SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&line[0]));
            lines.push_back(line);
        }
        return lines;
    }
    static HWND owner;
    static HWND list;
};
HWND ConvFunctionTest::owner;
HWND ConvFunctionTest::list;

// The tests of this program share one table, as the resident program does: each uses
// readings of its own.
TEST_F(ConvFunctionTest, OperationCodes) {
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(1, ConvFunction(CONV_INIT, -1, -1, -1, -1));
    }
    for (INT_PTR op : {0, 6, -1, 100}) {
        EXPECT_EQ(0, ConvFunction(op, Arg("x"), Arg("y"), -1, -1)) << op;
    }
}

TEST_F(ConvFunctionTest, LookupFillsTheListMostRecentFirst) {
    EXPECT_EQ(1, Register("愛", "あい"));
    EXPECT_EQ(1, Register("藍", "あい"));
    EXPECT_EQ(1, Register("相手", "あいて"));
    EXPECT_EQ(1, Register("愛", "あい"));
    EXPECT_EQ(3, Lookup("あい"));
    EXPECT_EQ((std::vector<std::string>{"愛\tあい", "相手\tあいて", "藍\tあい"}), Lines());
    EXPECT_EQ(1, Lookup("あいて"));
    EXPECT_EQ((std::vector<std::string>{"相手\tあいて"}), Lines());
}

TEST_F(ConvFunctionTest, MissEmptiesTheList) {
    Register("海", "うみ");
    ASSERT_EQ(1, Lookup("う"));
    EXPECT_EQ(0, Lookup("うみべ"));
    EXPECT_EQ(0, SendMessageA(list, LB_GETCOUNT, 0, 0));
    EXPECT_EQ(0, Lookup("うみべ"));  // a miss on an empty list
    EXPECT_EQ(0, SendMessageA(list, LB_GETCOUNT, 0, 0));
}

TEST_F(ConvFunctionTest, TrailBytesThatLookLikeAsciiStayInTheLine) {
    // ソ (83 5C) and 表 (95 5C) have '\' as trail byte; 　 is 81 40.
    ASSERT_EQ(1, Register("表ソ", "ひょうそ"));
    ASSERT_EQ(1, Lookup("ひょうそ"));
    EXPECT_EQ("\x95\x5C\x83\x5C\tひょうそ", Lines().at(0));
}

// A scratch folder with a Japanese name, below the system's temporary folder.
class ConvFileTest : public ConvFunctionTest {
protected:
    void SetUp() override {
        char base[MAX_PATH];
        GetTempPathA(sizeof base, base);
        folder = std::string(base) + "辞書ソ表" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folder.c_str(), nullptr);
        path = folder + "\\ZELVO.TXT";
    }
    void TearDown() override {
        for (const char* name : {"\\ZELVO.TXT", "\\ZELVO.bak", "\\ZELVO.tmp"}) {
            DeleteFileA((folder + name).c_str());
        }
        RemoveDirectoryA(folder.c_str());
    }
    static void Write(const std::string& file, const std::string& bytes) {
        HANDLE h = CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
    }
    static std::string Read(const std::string& file) {
        HANDLE h = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            return "<missing>";
        }
        char buffer[4096];
        DWORD got = 0;
        ReadFile(h, buffer, sizeof buffer, &got, nullptr);
        CloseHandle(h);
        return std::string(buffer, got);
    }
    std::string folder, path;
};

TEST_F(ConvFileTest, LoadRegisterSaveThroughRealFiles) {
    EXPECT_EQ(0, ConvFunction(CONV_LOAD, Arg(path.c_str()), -1, -1, -1));  // no file yet
    Write(path, "漢字\tかんじ\n感じ\tかんじ\r\nソース\tそーす\r\n");
    EXPECT_EQ(1, ConvFunction(CONV_LOAD, Arg(path.c_str()), -1, -1, -1));
    EXPECT_EQ(1, Register("幹事", "かんじ"));
    EXPECT_EQ(3, Lookup("かん"));
    EXPECT_EQ((std::vector<std::string>{"幹事\tかんじ", "漢字\tかんじ", "感じ\tかんじ"}), Lines());

    EXPECT_EQ(1, ConvFunction(CONV_SAVE, Arg(path.c_str()), -1, -1, -1));
    std::string saved = Read(path);
    EXPECT_EQ(0u, saved.find("幹事\tかんじ\r\n"));
    EXPECT_NE(std::string::npos, saved.find("漢字\tかんじ\r\n感じ\tかんじ\r\nソース\tそーす\r\n"));
    EXPECT_EQ("漢字\tかんじ\n感じ\tかんじ\r\nソース\tそーす\r\n", Read(folder + "\\ZELVO.bak"));
    EXPECT_EQ("<missing>", Read(folder + "\\ZELVO.tmp"));

    // Saving again replaces the backup with the file just written.
    EXPECT_EQ(1, ConvFunction(CONV_SAVE, Arg(path.c_str()), -1, -1, -1));
    EXPECT_EQ(saved, Read(folder + "\\ZELVO.bak"));
    EXPECT_EQ(saved, Read(path));
}

// Another program holds one companion file open without sharing while the program saves.
struct LockedCompanionCase {
    const char* name;
    const char* locked;           // the companion held open
    const char* backupBefore;     // null: no backup before the save
    const char* backupAfter;      // null: no backup after it
    bool temporaryLeft;
};

TEST_F(ConvFileTest, LockedCompanionFailsTheSaveAndKeepsTheDictionary) {
    const LockedCompanionCase cases[] = {
        // The temporary file cannot be written: nothing else is touched.
        {"temporary locked", "\\ZELVO.tmp", nullptr, nullptr, true},
        // The backup cannot be deleted, so the dictionary cannot take its name; an existing
        // file is never replaced.
        {"backup locked", "\\ZELVO.bak", "older\tr\r\n", "older\tr\r\n", true},
    };
    for (const LockedCompanionCase& c : cases) {
        TearDown();
        SetUp();
        Write(path, "old\tr\r\n");
        Write(folder + "\\ZELVO.tmp", "");
        if (c.backupBefore != nullptr) {
            Write(folder + "\\ZELVO.bak", c.backupBefore);
        }
        HANDLE lock = CreateFileA((folder + c.locked).c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, lock) << c.name;
        EXPECT_EQ(0, ConvFunction(CONV_SAVE, Arg(path.c_str()), -1, -1, -1)) << c.name;
        CloseHandle(lock);
        EXPECT_EQ("old\tr\r\n", Read(path)) << c.name;
        EXPECT_EQ(c.backupAfter != nullptr ? c.backupAfter : "<missing>",
                  Read(folder + "\\ZELVO.bak")) << c.name;
        EXPECT_EQ(c.temporaryLeft, Read(folder + "\\ZELVO.tmp") != "<missing>") << c.name;
    }
}

}  // namespace
