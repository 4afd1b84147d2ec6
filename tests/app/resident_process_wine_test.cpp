// The resident program as a process: single instance, the ExchangeBlock after start-up,
// the dictionary file beside the program (also in a folder the ANSI code page cannot spell),
// the notices of a start, the set-aside copies it removes, and the sound handling of
// overlong names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "exchange.h"
#include "shared_section.h"
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

// The mark at offset 0, the status record with its size, zeros everywhere else (the
// heartbeat counts on from 0 while the program runs).
bool BlockIsFresh(const unsigned char* view) {
    if (view[0] != EXCHANGE_FRESH_MARK) {
        return false;
    }
    ExchangeStatus status;
    memcpy(&status, view + EXCHANGE_STATUS_OFFSET, sizeof status);
    if (status.size != sizeof(ExchangeStatus)) {
        return false;
    }
    for (size_t i = 1; i < EXCHANGE_BLOCK_SIZE; ++i) {
        bool inStatus = i >= EXCHANGE_STATUS_OFFSET && i < EXCHANGE_STATUS_OFFSET + sizeof status;
        if (!inStatus && view[i] != 0) {
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

TEST_F(ResidentProcessTest, AnObjectOfAnotherSizeUnderTheBlocksNameStopsTheStartWithAMessage) {
    // Someone else's 4 KiB mapping holds the name: clearing 64 KiB of it would crash.
    const DWORD FOREIGN_SIZE = 4096;
    HANDLE foreign = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT, 0, FOREIGN_SIZE,
                                        EXCHANGE_BLOCK_NAME);
    ASSERT_NE(foreign, nullptr);
    unsigned char* foreignView = static_cast<unsigned char*>(MapViewOfFile(foreign, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    ASSERT_NE(foreignView, nullptr);
    memset(foreignView, 0xAB, FOREIGN_SIZE);

    ASSERT_TRUE(MakeScratchFolder(&scratch));
    ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", ORIGINAL_FILE));
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(LaunchResident(scratch, "", &process));
    // The message box of the process: its caption, and its text in the static control 0xFFFF.
    HWND box = nullptr;
    std::string caption;
    std::string text;
    bool shown = WaitUntil([&] { return (box = FindWindowOfProcess("#32770", process.dwProcessId)) != nullptr; },
                           START_TIMEOUT_MS);
    if (shown) {
        caption = WindowText(box);
        text = WindowText(GetDlgItem(box, 0xFFFF));
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    }
    DWORD exitCode = 99;
    bool ended = WaitUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, EXIT_TIMEOUT_MS);
    if (!ended) {
        TerminateProcess(process.hProcess, 99);
    }
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    ASSERT_TRUE(shown) << "no message box";
    EXPECT_EQ(caption, "Zelvo");
    EXPECT_EQ(text, Sjis(u8"Zelvo を起動できません。\n\n"
                              u8"別のプログラムが共有メモリ「zelvoservermappingfile」を異なる大きさで使っています。"
                              u8"そのプログラムを終了してから、Zelvo をもう一度起動してください。"));
    EXPECT_TRUE(ended);
    EXPECT_EQ(exitCode, 1u);
    // Nothing of the other object was touched, no window and no dictionary save came.
    bool untouched = true;
    for (DWORD i = 0; i < FOREIGN_SIZE; ++i) {
        untouched = untouched && foreignView[i] == 0xAB;
    }
    EXPECT_TRUE(untouched);
    EXPECT_EQ(FindWindowExA(nullptr, nullptr, CANDIDATE_CLASS_NAME, nullptr), nullptr);
    EXPECT_EQ(FileText("ZELVO.TXT"), ORIGINAL_FILE);
    EXPECT_EQ(FileText("ZELVO.bak"), "(missing)");
    UnmapViewOfFile(foreignView);
    CloseHandle(foreign);
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
    EXPECT_TRUE(WaitUntil([] { return !TraceLinesStartingWith("notice:").empty(); }, START_TIMEOUT_MS));
    EXPECT_EQ(TraceLinesStartingWith("notice:"), std::vector<std::string>{"notice: learning cannot be kept "});
    // The user reads it in a balloon from the tray icon.
    EXPECT_TRUE(WaitUntil([] { return !TraceLinesStartingWith("notice shown: " + Sjis(u8"覚えた言葉を残せません")).empty(); },
                          START_TIMEOUT_MS));
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

// ---- a folder outside the ANSI code page ----

// 𠮷 (U+20BB7) has no form in code page 932: the ANSI path of this folder would name "?".
const std::wstring FOLDER_OUTSIDE_CODE_PAGE = L"zelvo-\U00020BB7\u7530-";

TEST_F(ResidentProcessTest, WordsAreKeptInAFolderTheAnsiCodePageCannotSpell) {
    ASSERT_TRUE(MakeWideScratchFolder(&scratch, FOLDER_OUTSIDE_CODE_PAGE + std::to_wstring(GetCurrentProcessId())));
    ASSERT_EQ(scratch.dir.find('?'), std::string::npos) << scratch.dir;
    ASSERT_TRUE(StartResident(scratch, "", &resident));
    // The hook library, now in this process too, got a settings path it can open.
    const HookSharedState* shared =
        FindSharedState(GetModuleHandleW((scratch.wideDir + L"ZELVOS.DLL").c_str()));
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(std::string(shared->settingsPath), scratch.dir + "SAMPRELO.INI");
    ASSERT_NE(OpenExchangeBlock(), nullptr);
    SendRegisterRequest(resident.window, Sjis(u8"幹事"), Sjis(u8"かんじ"));
    DWORD exitCode = 99;
    ASSERT_TRUE(End(&exitCode));
    EXPECT_EQ(exitCode, 0u);
    EXPECT_TRUE(TraceLinesStartingWith("program path").empty());
    EXPECT_EQ(FolderNames(scratch.dir), (std::vector<std::string>{"ZELVO.EXE", "ZELVO.TXT", "ZELVOD.DLL", "ZELVOS.DLL"}));
    EXPECT_EQ(FileText("ZELVO.TXT"), Line(u8"幹事", u8"かんじ") + "\r\n");

    // Started again (the hook library is still loaded here: wait for its message loop), it
    // finds its words.
    CloseExchangeBlock();
    ClearTrace();
    ASSERT_TRUE(StartResident(scratch, "", &resident, false));
    ASSERT_NE(OpenExchangeBlock(), nullptr);
    EXPECT_EQ(ShowAndRead(u8"かん"), std::vector<std::string>{Line(u8"幹事", u8"かんじ")});
    EXPECT_TRUE(TraceLinesStartingWith("notice:").empty());  // not a first start
    ASSERT_TRUE(End(&exitCode));
    EXPECT_EQ(exitCode, 0u);
}

// ---- what a start tells the user ----

struct NoticeCase {
    const char* what;
    const char* fileBefore;  // a dictionary file present at start, or null
    std::vector<std::string> notices;
    bool welcomed;           // the balloon that shows the user around came from the tray icon
};

TEST_F(ResidentProcessTest, AFirstStartIsOneWithoutADictionaryOrItsBackup) {
    const NoticeCase cases[] = {
        {"no dictionary yet", nullptr, {"notice: first start "}, true},
        {"a dictionary", "ZELVO.TXT", {}, false},
        {"only the backup of one", "ZELVO.bak", {}, false},
    };
    for (const NoticeCase& c : cases) {
        SCOPED_TRACE(c.what);
        ClearTrace();
        ASSERT_TRUE(MakeScratchFolder(&scratch));
        if (c.fileBefore != nullptr) {
            ASSERT_TRUE(WriteFileBytes(scratch.dir + c.fileBefore, ORIGINAL_FILE));
        }
        // Idle once in its message loop: the notices of the start are behind it.
        ASSERT_TRUE(StartResident(scratch, "", &resident, false));
        EXPECT_EQ(TraceLinesStartingWith("notice:"), c.notices);
        EXPECT_EQ(!TraceLinesStartingWith("notice shown: " + Sjis(u8"Zelvo が動いています")).empty(), c.welcomed);
        DWORD exitCode = 99;
        ASSERT_TRUE(End(&exitCode));
        RemoveScratchFolder(scratch);
    }
}

// ---- set-aside copies of the program's files ----

std::wstring TempFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    return temp;
}

std::wstring WideOf(const std::string& ansi) {
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide, MAX_PATH);
    return wide;
}

// The name of path, for messages: the names of these tests are ASCII.
std::string NameOf(const std::wstring& path) {
    std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
    return std::string(name.begin(), name.end());
}

bool WideFileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

TEST_F(ResidentProcessTest, SetAsideCopiesGoAtStartUnlessStillLoaded) {
    ASSERT_TRUE(MakeScratchFolder(&scratch));
    const std::wstring program = WideOf(scratch.dir);
    const std::wstring temp = TempFolder();
    const std::wstring number = std::to_wstring(GetCurrentProcessId());
    const std::vector<std::wstring> copies = {
        program + L"ZELVOS.DLL.17.old", program + L"ZELVO.EXE.-" + number + L".old",
        program + L"zelvod.dll.5.OLD", temp + L"ZELVOS.DLL." + number + L"1.old",
        temp + L"ZELVOD.DLL." + number + L"2.old"};
    const std::vector<std::wstring> kept = {
        program + L"ZELVOS.DLL.old", program + L"ZELVO.TXT.17.old", program + L"NOTES.old",
        temp + L"ZELVOS.DLL." + number + L"3.old.keep", temp + L"OTHER.DLL." + number + L".old"};
    for (const std::wstring& path : copies) {
        ASSERT_TRUE(CopyFileW((program + L"ZELVOD.DLL").c_str(), path.c_str(), FALSE));
    }
    for (const std::wstring& path : kept) {
        ASSERT_TRUE(CopyFileW((program + L"ZELVOD.DLL").c_str(), path.c_str(), FALSE));
    }
    // A copy that a process still has loaded cannot be deleted: it stays for a later start.
    const std::wstring loaded = temp + L"ZELVOD.DLL." + number + L"4.old";
    ASSERT_TRUE(CopyFileW((program + L"ZELVOD.DLL").c_str(), loaded.c_str(), FALSE));
    HMODULE loadedCopy = LoadLibraryW(loaded.c_str());
    ASSERT_NE(loadedCopy, nullptr);

    ASSERT_TRUE(StartResident(scratch, "", &resident));
    // The notice of this first start comes after the copies were dealt with.
    EXPECT_TRUE(WaitUntil([] { return !TraceLinesStartingWith("notice:").empty(); }, START_TIMEOUT_MS));
    for (const std::wstring& path : copies) {
        EXPECT_FALSE(WideFileExists(path)) << NameOf(path);
    }
    for (const std::wstring& path : kept) {
        EXPECT_TRUE(WideFileExists(path)) << NameOf(path);
        DeleteFileW(path.c_str());
    }
    EXPECT_TRUE(WideFileExists(loaded));
    EXPECT_EQ(TraceLinesStartingWith("set-aside"), std::vector<std::string>{"set-aside copy still in use: 5 "});
    FreeLibrary(loadedCopy);
    DeleteFileW(loaded.c_str());
}

}  // namespace
