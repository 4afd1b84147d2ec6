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
    for (INT_PTR op : {0, 16, -1, 100}) {
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
        for (const char* name : {"\\ZELVO.TXT", "\\ZELVO.bak", "\\ZELVO.tmp", "\\ZELVO.original.TXT"}) {
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
    ConvSaveOutcome dropped = {};
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

ConvSaveOutcome TakeResult(int expected = 1) {
    ConvSaveOutcome outcome = {};
    outcome.step = static_cast<SaveStep>(-1);
    EXPECT_EQ(expected, ConvFunction(CONV_SAVE_RESULT, reinterpret_cast<INT_PTR>(&outcome), 0, -1, -1));
    return outcome;
}

// A save meets a companion or the dictionary file as another program or the user left it.
enum class Obstacle { DICTIONARY_LOCKED, BACKUP_LOCKED, TEMPORARY_LOCKED, BACKUP_READ_ONLY, BACKUP_FOLDER,
                      DICTIONARY_READ_ONLY };

struct ObstacleCase {
    const char* name;
    Obstacle obstacle;
    int saved;
    SaveFailureKind kind;
    uint32_t error;
    int backupSkipped;        // the old backup could not be renewed
    const char* fileAfter;    // "<missing>": none
    const char* backupAfter;  // "<missing>": none; "<folder>": still the folder
    bool temporaryLeft;       // held by the other program, so it cannot be removed
};

TEST_F(ConvFileTest, SaveAroundWhatOthersHoldOrMarked) {
    const char* const NEW_FILE = "neu\tr\r\n";
    const ObstacleCase cases[] = {
        // The dictionary file open in another program without sharing: it cannot become the
        // backup nor be replaced (the system refuses access), and stays as it was; the
        // temporary file goes. The old backup was removed to make room.
        {"file held open", Obstacle::DICTIONARY_LOCKED, 0, SAVE_FAILURE_FILE_IN_USE, ERROR_ACCESS_DENIED, 1,
         "old\tr\r\n", "<missing>", false},
        {"temporary held open", Obstacle::TEMPORARY_LOCKED, 0, SAVE_FAILURE_FILE_IN_USE, ERROR_SHARING_VIOLATION, 0,
         "old\tr\r\n", "older\tr\r\n", true},
        // A backup that cannot make room stays, and the dictionary is saved all the same.
        {"backup held open", Obstacle::BACKUP_LOCKED, 1, SAVE_FAILURE_NONE, 0, 1, NEW_FILE, "older\tr\r\n", false},
        {"backup read-only", Obstacle::BACKUP_READ_ONLY, 1, SAVE_FAILURE_NONE, 0, 1, NEW_FILE, "older\tr\r\n",
         false},
        {"backup is a folder", Obstacle::BACKUP_FOLDER, 1, SAVE_FAILURE_NONE, 0, 1, NEW_FILE, "<folder>", false},
        // The user's read-only mark: never replaced.
        {"dictionary read-only", Obstacle::DICTIONARY_READ_ONLY, 0, SAVE_FAILURE_READ_ONLY, 0, 0, "old\tr\r\n",
         "older\tr\r\n", false},
    };
    for (const ObstacleCase& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        ConvFunction(CONV_SAVE_RESULT, reinterpret_cast<INT_PTR>(&dropped), 0, -1, -1);
        Write(path, "old\tr\r\n");
        std::string backup = folder + "\\ZELVO.bak";
        std::string temporary = folder + "\\ZELVO.tmp";
        if (c.obstacle == Obstacle::BACKUP_FOLDER) {
            ASSERT_TRUE(CreateDirectoryA(backup.c_str(), nullptr));
        } else {
            Write(backup, "older\tr\r\n");
        }
        HANDLE lock = INVALID_HANDLE_VALUE;
        const char* locked = c.obstacle == Obstacle::DICTIONARY_LOCKED        ? path.c_str()
                             : c.obstacle == Obstacle::BACKUP_LOCKED    ? backup.c_str()
                             : c.obstacle == Obstacle::TEMPORARY_LOCKED ? temporary.c_str()
                                                                        : nullptr;
        if (locked != nullptr) {
            if (c.obstacle == Obstacle::TEMPORARY_LOCKED) {
                Write(temporary, "");
            }
            lock = CreateFileA(locked, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            ASSERT_NE(INVALID_HANDLE_VALUE, lock);
        }
        if (c.obstacle == Obstacle::BACKUP_READ_ONLY) {
            ASSERT_TRUE(SetFileAttributesA(backup.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        if (c.obstacle == Obstacle::DICTIONARY_READ_ONLY) {
            ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
        }
        Register("neu", "r");  // the only word this table holds under that reading: it is first
        // The files are the test's own, not ones this table was loaded from: the save is told
        // to replace a dictionary file it does not know.
        ASSERT_EQ(c.saved, ConvFunction(CONV_SAVE, Arg(path.c_str()), 1, -1, -1));
        ConvSaveOutcome outcome = TakeResult();
        CloseHandle(lock);
        EXPECT_EQ(c.saved, outcome.saved);
        EXPECT_EQ(c.kind, outcome.kind);
        EXPECT_EQ(c.error, outcome.systemError);
        EXPECT_EQ(c.backupSkipped, outcome.backupSkipped);
        std::string file = Read(path);
        EXPECT_EQ(c.fileAfter, c.saved ? file.substr(0, file.find('\n') + 1) : file);
        DWORD backupAttributes = GetFileAttributesA(backup.c_str());
        if (std::string(c.backupAfter) == "<folder>") {
            EXPECT_NE(0u, backupAttributes & FILE_ATTRIBUTE_DIRECTORY);
        } else {
            EXPECT_EQ(c.backupAfter, Read(backup));
        }
        EXPECT_EQ(c.temporaryLeft, Read(temporary) != "<missing>");
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        SetFileAttributesA(backup.c_str(), FILE_ATTRIBUTE_NORMAL);
        RemoveDirectoryA(backup.c_str());
    }
}

// A window of this thread that collects the end-of-save messages.
const UINT SAVE_ENDED = WM_APP + 7;

class ConvBackgroundTest : public ConvFileTest {
protected:
    void SetUp() override {
        ConvFileTest::SetUp();
        receiver = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        ConvFunction(CONV_SAVE_RESULT, reinterpret_cast<INT_PTR>(&dropped), 1, -1, -1);
    }
    void TearDown() override {
        DestroyWindow(receiver);
        ConvFileTest::TearDown();
    }
    int Start(const std::string& file) {
        return ConvFunction(CONV_SAVE_START, Arg(file.c_str()), reinterpret_cast<INT_PTR>(receiver), SAVE_ENDED, -1);
    }
    // Waits for the message that a save has ended; false after 10 s.
    bool WaitForEnd() {
        DWORD start = GetTickCount();
        MSG message;
        while (GetTickCount() - start < 10000) {
            if (PeekMessageA(&message, receiver, SAVE_ENDED, SAVE_ENDED, PM_REMOVE)) {
                EXPECT_EQ(0u, message.wParam);
                EXPECT_EQ(0, message.lParam);
                return true;
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_POSTMESSAGE);
        }
        return false;
    }
    HWND receiver = nullptr;
};

TEST_F(ConvBackgroundTest, BackgroundSaveWritesTheTableAsItWasAtTheStart) {
    // Most of the table: the other tests of this program share it.
    for (int i = 0; i < 9000; ++i) {
        Register(("背景" + std::to_string(i)).c_str(), "はいけい");
    }
    ASSERT_EQ(1, Start(path));
    // One at a time: until its result is taken, no second save starts.
    EXPECT_EQ(0, Start(path));
    // The table goes on changing while the worker writes.
    Register("後から", "あとから");
    ASSERT_TRUE(WaitForEnd());
    ConvSaveOutcome outcome = TakeResult();
    EXPECT_EQ(1, outcome.saved);
    EXPECT_EQ(SAVE_STEP_NONE, outcome.step);
    TakeResult(0);  // taken once
    std::string saved = Read(path);
    EXPECT_EQ(std::string::npos, saved.find("後から"));
    EXPECT_NE(std::string::npos, saved.find("背景8999\tはいけい\r\n"));
    EXPECT_EQ("<missing>", Read(folder + "\\ZELVO.tmp"));
    // The next save has the word learned meanwhile, first.
    ASSERT_EQ(1, Start(path));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(1, TakeResult().saved);
    EXPECT_EQ(0u, Read(path).find("後から\tあとから\r\n"));
    std::string backup = Read(folder + "\\ZELVO.bak");
    EXPECT_TRUE(saved == backup) << saved.size() << " bytes saved, " << backup.size() << " in the backup: "
                                 << backup.substr(0, 40);
}

TEST_F(ConvBackgroundTest, SaveNowWaitsForTheSaveInFlight) {
    Register("待つ", "まつ");
    ASSERT_EQ(1, Start(path));
    Register("今", "いま");
    EXPECT_EQ(1, ConvFunction(CONV_SAVE, Arg(path.c_str()), -1, -1, -1));
    // Its own outcome is the one to take; the message of the background save still comes,
    // and finds nothing more to take.
    EXPECT_EQ(1, TakeResult().saved);
    ASSERT_TRUE(WaitForEnd());
    TakeResult(0);
    EXPECT_EQ(0u, Read(path).find("今\tいま\r\n"));
    EXPECT_EQ(1, Start(path)) << "the background save was taken back by the one in the foreground";
    ASSERT_TRUE(WaitForEnd());
    TakeResult();
}

TEST_F(ConvBackgroundTest, SaveThatCannotStartEndsAtOnce) {
    const std::string tooLong = "C:\\" + std::string(250, 'd') + "\\ZELVO.TXT";
    ASSERT_EQ(1, Start(tooLong));
    ASSERT_TRUE(WaitForEnd());
    ConvSaveOutcome outcome = TakeResult();
    EXPECT_EQ(0, outcome.saved);
    EXPECT_EQ(SAVE_STEP_NAMES, outcome.step);
    EXPECT_EQ(SAVE_FAILURE_PATH_UNUSABLE, outcome.kind);
    // A folder that does not exist: the worker fails to create the temporary file.
    ASSERT_EQ(1, Start(folder + "\\gone\\ZELVO.TXT"));
    ASSERT_TRUE(WaitForEnd());
    outcome = TakeResult();
    EXPECT_EQ(SAVE_STEP_CREATE, outcome.step);
    EXPECT_EQ(static_cast<uint32_t>(ERROR_PATH_NOT_FOUND), outcome.systemError);
    EXPECT_EQ(SAVE_FAILURE_PATH_UNUSABLE, outcome.kind);
}

TEST_F(ConvFunctionTest, ChangesCountWhatASaveWouldWrite) {
    Register("変化", "へんか");
    int before = ConvFunction(CONV_CHANGES, -1, -1, -1, -1);
    Register("変化", "へんか");  // the most recent word again
    EXPECT_EQ(before, ConvFunction(CONV_CHANGES, -1, -1, -1, -1));
    Register("変更", "へんこう");
    EXPECT_EQ(before + 1, ConvFunction(CONV_CHANGES, -1, -1, -1, -1));
    Register("変化", "へんか");
    EXPECT_EQ(before + 2, ConvFunction(CONV_CHANGES, -1, -1, -1, -1));
}

TEST_F(ConvFileTest, LossyLoadIsNotedUntilTheOriginalIsKeptAside) {
    const std::string original("元\tもと\r\n\0\0\0\0", 13);
    Write(path, original);
    EXPECT_EQ(0, ConvFunction(CONV_LOAD_NOTE, -1, -1, -1, -1));
    ASSERT_EQ(1, ConvFunction(CONV_LOAD, Arg(path.c_str()), -1, -1, -1));
    char aside[MAX_PATH] = {};
    ASSERT_EQ(1, ConvFunction(CONV_LOAD_NOTE, reinterpret_cast<INT_PTR>(aside), -1, -1, -1));
    EXPECT_EQ(folder + "\\ZELVO.original.TXT", aside);
    EXPECT_EQ(1, ConvFunction(CONV_LOAD_NOTE, -1, -1, -1, -1));
    ASSERT_EQ(1, ConvFunction(CONV_SAVE, Arg(path.c_str()), -1, -1, -1));
    EXPECT_EQ(1, TakeResult().originalKeptAside);
    EXPECT_EQ(0, ConvFunction(CONV_LOAD_NOTE, -1, -1, -1, -1));
    EXPECT_EQ(original, Read(aside));
    EXPECT_EQ(std::string::npos, Read(path).find('\0'));
    DeleteFileA(aside);
}

TEST_F(ConvFunctionTest, RemovalsAreTheUsersAndCountAsChanges) {
    ASSERT_EQ(1, Register("消す", "けす"));
    ASSERT_EQ(1, Register("消さない", "けす"));
    int words = ConvFunction(CONV_COUNT, -1, -1, -1, -1);
    int changes = ConvFunction(CONV_CHANGES, -1, -1, -1, -1);
    EXPECT_EQ(0, ConvFunction(CONV_REMOVE, Arg("消す"), Arg("きえる"), -1, -1)) << "another reading";
    EXPECT_EQ(1, ConvFunction(CONV_REMOVE, Arg("消す"), Arg("けす"), -1, -1));
    EXPECT_EQ(0, ConvFunction(CONV_REMOVE, Arg("消す"), Arg("けす"), -1, -1)) << "gone already";
    EXPECT_EQ(words - 1, ConvFunction(CONV_COUNT, -1, -1, -1, -1));
    EXPECT_NE(changes, ConvFunction(CONV_CHANGES, -1, -1, -1, -1));
    EXPECT_EQ(1, Lookup("けす"));
    EXPECT_EQ(std::vector<std::string>({"消さない\tけす"}), Lines());
    EXPECT_EQ(10000, ConvFunction(CONV_CAPACITY, -1, -1, -1, -1));
    for (INT_PTR count : {0, -5}) {
        EXPECT_EQ(0, ConvFunction(CONV_REMOVE_LEAST_RECENT, count, -1, -1, -1)) << count;
    }
    EXPECT_EQ(words - 1, ConvFunction(CONV_COUNT, -1, -1, -1, -1));
}

// Last in this program: the reload puts the file in the place of the table the tests share.
TEST_F(ConvBackgroundTest, AnOutsideEditIsLoadedAgainButNeverUnderASaveInFlight) {
    Write(path, "外\tそと\r\n");
    ASSERT_EQ(1, ConvFunction(CONV_LOAD, Arg(path.c_str()), -1, -1, -1));
    EXPECT_EQ(0, ConvFunction(CONV_FILE_CHANGED, Arg(path.c_str()), -1, -1, -1));
    Register("内", "うち");
    ASSERT_EQ(1, Start(path));
    EXPECT_EQ(0, ConvFunction(CONV_RELOAD, Arg(path.c_str()), -1, -1, -1)) << "reloaded under the save";
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(0, ConvFunction(CONV_RELOAD, Arg(path.c_str()), -1, -1, -1)) << "before its outcome was taken";
    EXPECT_EQ(1, TakeResult().saved);
    EXPECT_EQ(0, ConvFunction(CONV_FILE_CHANGED, Arg(path.c_str()), -1, -1, -1)) << "its own save";
    // The user deletes 内 (saved already) and adds 新; 後 is learned meanwhile.
    Write(path, "外\tそと\r\n新\tしん\r\n");
    ConvFileStamp stamp = {};
    EXPECT_EQ(1, ConvFunction(CONV_FILE_CHANGED, Arg(path.c_str()), reinterpret_cast<INT_PTR>(&stamp), -1, -1));
    EXPECT_NE(0u, stamp.size);
    Register("後", "あと");
    EXPECT_EQ(2, ConvFunction(CONV_RELOAD, Arg(path.c_str()), -1, -1, -1));
    EXPECT_EQ(0, ConvFunction(CONV_FILE_CHANGED, Arg(path.c_str()), -1, -1, -1));
    EXPECT_EQ(3, ConvFunction(CONV_COUNT, -1, -1, -1, -1));
    EXPECT_EQ(0, Lookup("うち"));
    EXPECT_EQ(1, Lookup("しん"));
    EXPECT_EQ(1, ConvFunction(CONV_SAVE, Arg(path.c_str()), -1, -1, -1));
    TakeResult();
    EXPECT_EQ("後\tあと\r\n外\tそと\r\n新\tしん\r\n", Read(path));
}

}  // namespace
