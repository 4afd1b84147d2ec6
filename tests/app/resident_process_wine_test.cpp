// The resident program as a process: single instance, the ExchangeBlock after start-up,
// the dictionary file beside the program, and the sound handling of overlong names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "exchange.h"
#include "zelvo_driver.h"

namespace {

std::string Line(const char* word, const char* reading) {
    return Sjis(word) + "\t" + Sjis(reading);
}

const std::string ORIGINAL_FILE = Line(u8"漢字", u8"かんじ") + "\r\n" + Line(u8"感じ", u8"かんじ") + "\r\n";

class ResidentProcessTest : public testing::Test {
protected:
    static void SetUpTestSuite() { StartTraceViewer(); }

    void SetUp() override {
        ClearTrace();
        target = CreateTargetWindow(300, 300);
    }

    void TearDown() override {
        DestroyWindow(target);
        EndOrKillResident(&resident);
        CloseExchangeBlock();
        RemoveScratchFolder(scratch);
    }

    std::vector<std::string> ShowAndRead(const char* reading) {
        SendShowRequest(resident.window, Sjis(reading), Sjis(reading), 100, 100, target);
        return ListLines(resident.list);
    }

    bool End(DWORD* exitCode) { return EndResident(&resident, exitCode); }

    std::string FileText(const std::string& name) {
        std::string text;
        return ReadFileBytes(scratch.dir + name, &text) ? text : "(missing)";
    }

    ScratchFolder scratch;
    Resident resident;
    HWND target = nullptr;
};

bool BlockIsFresh(const unsigned char* view) {
    if (view[0] != EXCHANGE_FRESH_MARK) {
        return false;
    }
    for (size_t i = 1; i < EXCHANGE_BLOCK_SIZE; ++i) {
        if (view[i] != 0) {
            return false;
        }
    }
    return true;
}

TEST_F(ResidentProcessTest, BlockHoldsTheMarkThenZerosAfterStartUp) {
    // A block left behind full of other bytes is reused by name: start-up must clear it.
    HANDLE stale = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT, 0,
                                      static_cast<DWORD>(EXCHANGE_BLOCK_SIZE), EXCHANGE_BLOCK_NAME);
    ASSERT_NE(stale, nullptr);
    void* staleView = MapViewOfFile(stale, FILE_MAP_ALL_ACCESS, 0, 0, 0);
    ASSERT_NE(staleView, nullptr);
    memset(staleView, 0xAB, EXCHANGE_BLOCK_SIZE);

    ASSERT_TRUE(MakeScratchFolder(&scratch));
    ASSERT_TRUE(StartResident(scratch, "", &resident));
    const unsigned char* view = OpenExchangeBlock();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(BlockIsFresh(view));
    UnmapViewOfFile(staleView);
    CloseHandle(stale);
}

TEST_F(ResidentProcessTest, SecondStartExitsWithOneAndDisturbsNothing) {
    ASSERT_TRUE(MakeScratchFolder(&scratch));
    ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", ORIGINAL_FILE));
    ASSERT_TRUE(StartResident(scratch, "", &resident));
    unsigned char* view = OpenExchangeBlock();
    ASSERT_NE(view, nullptr);
    const char pending[] = "pending";
    memcpy(view, pending, sizeof pending);  // a pair on its way must survive

    DWORD secondExit = 99;
    ASSERT_TRUE(RunToExit(scratch, "", &secondExit));
    EXPECT_EQ(secondExit, 1u);

    EXPECT_EQ(std::string(reinterpret_cast<const char*>(view)), pending);
    EXPECT_EQ(FindWindowExA(nullptr, nullptr, CANDIDATE_CLASS_NAME, nullptr), resident.window);
    EXPECT_EQ(FindWindowExA(nullptr, resident.window, CANDIDATE_CLASS_NAME, nullptr), nullptr);
    EXPECT_EQ(ShowAndRead(u8"かん"), (std::vector<std::string>{Line(u8"漢字", u8"かんじ"), Line(u8"感じ", u8"かんじ")}));
    DWORD exitCode = 99;
    ASSERT_TRUE(End(&exitCode));
    EXPECT_EQ(exitCode, 0u);
}

// ---- the dictionary file ZELVO.TXT beside the program ----

enum Ending { EXIT_COMMAND, END_SESSION };

struct DictionaryCase {
    const char* what;
    bool fileBefore;          // ZELVO.TXT holds ORIGINAL_FILE at start
    const char* word;         // registered while resident
    const char* reading;
    Ending ending;
    std::string expectedFile;
    std::string expectedBackup;  // "(missing)" when there is none
};

TEST_F(ResidentProcessTest, DictionaryFileIsLoadedAtStartAndWrittenAtTheEnd) {
    const std::string registered = Line(u8"幹事", u8"かんじ") + "\r\n";
    const DictionaryCase cases[] = {
        {"written at exit", true, u8"幹事", u8"かんじ", EXIT_COMMAND, registered + ORIGINAL_FILE, ORIGINAL_FILE},
        {"created at exit when missing", false, u8"幹事", u8"かんじ", EXIT_COMMAND, registered, "(missing)"},
        {"written once when the session ends", true, u8"幹事", u8"かんじ", END_SESSION, registered + ORIGINAL_FILE,
         ORIGINAL_FILE},
    };
    for (const DictionaryCase& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(MakeScratchFolder(&scratch));
        if (c.fileBefore) {
            ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", ORIGINAL_FILE));
        }
        ASSERT_TRUE(StartResident(scratch, "", &resident));
        ASSERT_NE(OpenExchangeBlock(), nullptr);
        std::vector<std::string> loaded = ShowAndRead(u8"かん");
        std::vector<std::string> expectedLoaded;
        if (c.fileBefore) {
            expectedLoaded = {Line(u8"漢字", u8"かんじ"), Line(u8"感じ", u8"かんじ")};
        }
        EXPECT_EQ(loaded, expectedLoaded);

        SendRegisterRequest(resident.window, Sjis(c.word), Sjis(c.reading));
        DWORD exitCode = 99;
        if (c.ending == END_SESSION) {
            SendMessageA(resident.window, WM_ENDSESSION, FALSE, 0);  // log-off cancelled: no save
            EXPECT_EQ(FileText("ZELVO.TXT"), c.fileBefore ? ORIGINAL_FILE : "(missing)");
            SendMessageA(resident.window, WM_ENDSESSION, TRUE, 0);
            EXPECT_EQ(FileText("ZELVO.TXT"), c.expectedFile);
            EXPECT_EQ(FileText("ZELVO.bak"), c.expectedBackup);  // one save since the original
            EXPECT_TRUE(IsWindow(resident.window));
            ASSERT_TRUE(End(&exitCode));
        } else {
            ASSERT_TRUE(End(&exitCode));
            EXPECT_EQ(FileText("ZELVO.TXT"), c.expectedFile);
            EXPECT_EQ(FileText("ZELVO.bak"), c.expectedBackup);
        }
        EXPECT_EQ(exitCode, 0u);
        CloseExchangeBlock();
        RemoveScratchFolder(scratch);
    }
}

// ---- names that do not fit ----

TEST_F(ResidentProcessTest, DictionaryPathTooLongIsNeitherLoadedNorSaved) {
    // The program "Z.E" in a folder chosen so that its path has 258 bytes: "Z.TXT" beside it
    // would need 260 with the NUL. A path cut to fit names "Z.TX", which holds a word here.
    char temp[MAX_PATH];
    std::string tempDir(temp, GetTempPathA(MAX_PATH, temp));
    std::string folder = "zelvo-long-" + std::to_string(GetCurrentProcessId());
    folder += std::string(258 - tempDir.size() - folder.size() - 4, 'd');
    ASSERT_TRUE(MakeScratchFolder(&scratch, "Z.E", folder));
    ASSERT_EQ(scratch.programPath.size(), 258u);
    ASSERT_TRUE(WriteFileBytes(scratch.dir + "Z.TX", Line(u8"罠", u8"わな") + "\r\n"));
    const std::vector<std::string> before = FolderNames(scratch.dir);

    ASSERT_TRUE(StartResident(scratch, "C:\\zelvo.ini", &resident, false));
    ASSERT_NE(OpenExchangeBlock(), nullptr);
    EXPECT_EQ(TraceLinesStartingWith("dictionary path"),
              std::vector<std::string>{"dictionary path too long: not loaded, not saved "});
    EXPECT_TRUE(ShowAndRead(u8"わな").empty());
    SendRegisterRequest(resident.window, Sjis(u8"亜"), Sjis(u8"あ"));
    EXPECT_EQ(ShowAndRead(u8"あ"), std::vector<std::string>{Line(u8"亜", u8"あ")});

    DWORD exitCode = 99;
    ASSERT_TRUE(End(&exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(FolderNames(scratch.dir), before);
}

TEST_F(ResidentProcessTest, CommandLineTooLongStillStarts) {
    ASSERT_TRUE(MakeScratchFolder(&scratch));
    ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", ORIGINAL_FILE));
    std::string longName = "  C:\\" + std::string(400, 's') + ".ini  ";
    ASSERT_TRUE(StartResident(scratch, longName, &resident));
    ASSERT_NE(OpenExchangeBlock(), nullptr);
    EXPECT_EQ(ShowAndRead(u8"かんじ"), (std::vector<std::string>{Line(u8"漢字", u8"かんじ"), Line(u8"感じ", u8"かんじ")}));
    DWORD exitCode = 99;
    ASSERT_TRUE(End(&exitCode));
    EXPECT_EQ(exitCode, 0u);
}

}  // namespace
