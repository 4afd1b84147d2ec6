// The dictionary file of a running ZELVO.EXE: saved while the program runs, and under real
// faults (a read-only folder, a file held open by another program, a full disk, a backup
// that cannot make room, a dictionary the user marked read-only), each with what remains on
// the disk and what the user sees: the balloon from the tray icon and the box at exit. Then a
// file the program cannot hold, kept aside beside the dictionary.
//
// The read-only folder and the full disk need the fault session (scripts/fault-session):
// without it the program runs as root, for which no folder is read-only, and has no small
// disk to fill. Those cases then skip and say why.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "desktop_input.h"
#include "exchange.h"
#include "linux_host.h"
#include "window_ids.h"
#include "zelvo_driver.h"

namespace {

const DWORD SAVE_TIMEOUT_MS = 30000;  // the longest learning may stay unsaved
const DWORD UI_TIMEOUT_MS = 10000;

std::string Line(const char* word, const char* reading) {
    return Sjis(word) + "\t" + Sjis(reading) + "\r\n";
}

const std::string ORIGINAL = Line(u8"漢字", u8"かんじ") + Line(u8"感じ", u8"かんじ");
const std::string OLDER = Line(u8"古い", u8"ふるい");

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// True when a new file can be created in dir (the probe is removed again).
bool FolderTakesNewFiles(const std::string& dir) {
    std::string probe = dir + "probe.tmp";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    CloseHandle(file);
    DeleteFileA(probe.c_str());
    return true;
}

// Writes into file until the disk is full; false when it does not fill up.
bool WriteUntilFull(HANDLE file) {
    static char block[65536];
    for (DWORD size = sizeof block; size >= 512; size /= 2) {
        for (int i = 0;; ++i) {
            DWORD written = 0;
            if (!WriteFile(file, block, size, &written, nullptr) || written < size) {
                break;
            }
            if (i == 100000) {
                return false;
            }
        }
    }
    return true;
}

// Fills the disk that holds filler up to RESERVE_BYTES, less than a save needs: a save that
// fails and leaves its temporary file behind would take those bytes too.
const DWORD RESERVE_BYTES = 16384;

bool FillDisk(const std::string& filler) {
    std::string reserve = filler + ".reserve";
    if (!WriteFileBytes(reserve, std::string(RESERVE_BYTES, 'r'))) {
        return false;
    }
    HANDLE file = CreateFileA(filler.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    bool full = file != INVALID_HANDLE_VALUE && WriteUntilFull(file);
    CloseHandle(file);
    return DeleteFileA(reserve.c_str()) && full;
}

ULONGLONG FreeBytes(const std::string& dir) {
    ULARGE_INTEGER free = {};
    GetDiskFreeSpaceExA(dir.c_str(), &free, nullptr, nullptr);
    return free.QuadPart;
}

class DictionarySaveTest : public testing::Test {
protected:
    static void SetUpTestSuite() { StartTraceViewer(); }

    void SetUp() override {
        ClearTrace();
        target = CreateTargetWindow(300, 300);
    }

    void TearDown() override {
        for (HWND box : MessageBoxes(processId)) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        }
        Finish();
        DestroyWindow(target);
    }

    // Ends the program if it still runs and removes what the case made.
    void Finish() {
        if (heldOpen != INVALID_HANDLE_VALUE) {
            CloseHandle(heldOpen);
            heldOpen = INVALID_HANDLE_VALUE;
        }
        EndOrKillResident(&resident);
        CloseExchangeBlock();
        if (!scratch.dir.empty()) {
            MakeFolderWritable();
            DeleteFileA(filler.c_str());
            for (const char* name : {"ZELVO.TXT", "ZELVO.bak"}) {
                SetFileAttributesA((scratch.dir + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            }
            RemoveDirectoryA((scratch.dir + "ZELVO.bak").c_str());
            RemoveScratchFolder(scratch);
            scratch = {};
        }
        filler.clear();
    }

    // A start after the first finds the hook library loaded here already: it waits for the
    // program's message loop instead, so that the dictionary is loaded.
    bool Start() {
        ClearTrace();
        bool first = !started;
        started = true;
        if (!StartResident(scratch, "", &resident, first)) {
            return false;
        }
        processId = resident.process.dwProcessId;
        return OpenExchangeBlock() != nullptr;
    }

    void Learn(const char* word, const char* reading) {
        SendRegisterRequest(resident.window, Sjis(word), Sjis(reading));
    }

    // What a file holds; the one held open without sharing is read through that handle.
    std::string File(const char* name) const {
        std::string bytes;
        if (heldOpen != INVALID_HANDLE_VALUE && std::string(name) == "ZELVO.TXT") {
            SetFilePointer(heldOpen, 0, nullptr, FILE_BEGIN);
            char buffer[4096];
            DWORD got = 0;
            while (ReadFile(heldOpen, buffer, sizeof buffer, &got, nullptr) && got > 0) {
                bytes.append(buffer, got);
            }
            return bytes;
        }
        return ReadFileBytes(scratch.dir + name, &bytes) ? bytes : "(missing)";
    }

    static std::vector<std::string> SaveEnds() {
        std::vector<std::string> ends = TraceLinesStartingWith("save done");
        for (const std::string& line : TraceLinesStartingWith("save failed")) {
            ends.push_back(line);
        }
        return ends;
    }

    // Waits until count saves have ended; the last of them.
    std::string WaitForSaveEnd(size_t count) {
        if (!WaitUntil([&] { return SaveEnds().size() >= count; }, SAVE_TIMEOUT_MS)) {
            return "(no save)";
        }
        std::string last;
        for (const std::string& line : TraceLines()) {
            if (line.compare(0, 10, "save done:") == 0 || line.compare(0, 12, "save failed:") == 0) {
                last = line;
            }
        }
        return last;
    }

    static std::vector<std::string> Notices() { return TraceLinesStartingWith("notice shown: "); }

    // A balloon on the screen that shows part.
    static bool BalloonShows(const std::string& part) {
        return WaitUntil([&] {
            for (const std::string& tip : ShownTooltips()) {
                if (Contains(tip, part)) {
                    return true;
                }
            }
            return false;
        }, UI_TIMEOUT_MS);
    }

    bool WaitForNoBox() {
        return WaitUntil([&] { return MessageBoxes(processId).empty(); }, UI_TIMEOUT_MS);
    }

    // chmod of the scratch folder from the Linux side, waited for by its effect.
    bool MakeFolderReadOnly() {
        std::string unixDir = UnixPath(scratch.dir);
        return !unixDir.empty() && RunLinuxCommand("chmod", "555 \"" + unixDir + "\"") &&
               WaitUntil([&] { return !FolderTakesNewFiles(scratch.dir); }, UI_TIMEOUT_MS);
    }
    void MakeFolderWritable() {
        if (!FolderTakesNewFiles(scratch.dir)) {
            RunLinuxCommand("chmod", "755 \"" + UnixPath(scratch.dir) + "\"");
            WaitUntil([&] { return FolderTakesNewFiles(scratch.dir); }, UI_TIMEOUT_MS);
        }
    }

    ScratchFolder scratch;
    Resident resident;
    DWORD processId = 0;
    HWND target = nullptr;
    HANDLE heldOpen = INVALID_HANDLE_VALUE;
    std::string filler;
    bool started = false;
};

// ---- saved while running ----

TEST_F(DictionarySaveTest, LearningIsSavedSoonAfterwardsAndNothingIsWrittenWhileIdle) {
    ASSERT_TRUE(MakeScratchFolder(&scratch));
    ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", ORIGINAL));
    ASSERT_TRUE(Start());
    Learn(u8"幹事", u8"かんじ");
    Learn(u8"監事", u8"かんじ");
    Learn(u8"監事", u8"かんじ");  // the most recent word again: nothing new to save
    const std::string learned = Line(u8"監事", u8"かんじ") + Line(u8"幹事", u8"かんじ") + ORIGINAL;
    ASSERT_TRUE(WaitUntil([&] { return File("ZELVO.TXT") == learned; }, SAVE_TIMEOUT_MS)) << File("ZELVO.TXT");
    ASSERT_EQ("save done: step 0 kind 0 error 0 backup renewed ", WaitForSaveEnd(1));
    EXPECT_EQ(ORIGINAL, File("ZELVO.bak"));
    EXPECT_EQ("(missing)", File("ZELVO.tmp"));
    EXPECT_EQ(1u, TraceLinesStartingWith("save started").size()) << "quick changes go into one save";
    // Idle: no save starts, the file stays as it is.
    FILETIME before = {};
    HANDLE file = CreateFileA((scratch.dir + "ZELVO.TXT").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    GetFileTime(file, nullptr, nullptr, &before);
    CloseHandle(file);
    EXPECT_FALSE(WaitUntil([] { return TraceLinesStartingWith("save started").size() > 1; }, 2 * 3000 + 1000));
    // A word the file holds already, refreshed while it is the most recent, changes nothing.
    Learn(u8"監事", u8"かんじ");
    EXPECT_FALSE(WaitUntil([] { return TraceLinesStartingWith("save started").size() > 1; }, 3000 + 1000));
    FILETIME after = {};
    file = CreateFileA((scratch.dir + "ZELVO.TXT").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       0, nullptr);
    GetFileTime(file, nullptr, nullptr, &after);
    CloseHandle(file);
    EXPECT_EQ(0, CompareFileTime(&before, &after));
    EXPECT_TRUE(Notices().empty());
    DWORD exitCode = 99;
    ASSERT_TRUE(EndResident(&resident, &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_TRUE(MessageBoxes(processId).empty());
}

// ---- the fault matrix ----

enum class Fault { READ_ONLY_FOLDER, FILE_HELD_OPEN, FULL_DISK, BACKUP_READ_ONLY, BACKUP_FOLDER, READ_ONLY_DICTIONARY };

enum class Ending {
    NO_BOX,               // the dictionary was saved all the same: no box at exit
    FIX_AND_RETRY,        // the cause is removed, Retry saves
    RETRY_FIX_AND_RETRY,  // Retry fails again (a second box), then the cause goes and Retry saves
    CANCEL,               // Cancel ends without saving
};

struct FaultCase {
    const char* name;
    Fault fault;
    const char* reason;   // in the balloon and the box; null: saved, nothing to tell
    bool backupRemoved;   // the failed saves removed the old backup (else it is as it was)
    Ending ending;
};

class DictionaryFaultTest : public DictionarySaveTest, public testing::WithParamInterface<FaultCase> {
protected:
    // Prepares the fault before the program starts, or right after; false to skip.
    bool PrepareScratch(Fault fault) {
        if (fault == Fault::FULL_DISK) {
            char disk[MAX_PATH] = {};
            if (GetEnvironmentVariableA("ZELVO_FULL_DISK", disk, sizeof disk) == 0) {
                return false;
            }
            std::string folder = WindowsPathOfUnix(disk) + "\\zelvo-" + std::to_string(GetCurrentProcessId());
            filler = WindowsPathOfUnix(disk) + "\\filler";
            return MakeScratchFolder(&scratch, "ZELVO.EXE", folder) &&
                   WriteFileBytes(scratch.dir + "ZELVO.TXT", dictionary = NumberedDictionary(3000)) &&
                   WriteFileBytes(scratch.dir + "ZELVO.bak", OLDER);
        }
        if (!MakeScratchFolder(&scratch) || !WriteFileBytes(scratch.dir + "ZELVO.TXT", dictionary = ORIGINAL)) {
            return false;
        }
        if (fault == Fault::BACKUP_FOLDER) {
            return CreateDirectoryA((scratch.dir + "ZELVO.bak").c_str(), nullptr) != FALSE;
        }
        if (!WriteFileBytes(scratch.dir + "ZELVO.bak", OLDER)) {
            return false;
        }
        if (fault == Fault::BACKUP_READ_ONLY) {
            return SetFileAttributesA((scratch.dir + "ZELVO.bak").c_str(), FILE_ATTRIBUTE_READONLY) != FALSE;
        }
        return true;
    }

    bool ApplyRunningFault(Fault fault) {
        switch (fault) {
        case Fault::READ_ONLY_FOLDER:
            return MakeFolderReadOnly();
        case Fault::FILE_HELD_OPEN:
            heldOpen = CreateFileA((scratch.dir + "ZELVO.TXT").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                   nullptr);
            return heldOpen != INVALID_HANDLE_VALUE;
        case Fault::FULL_DISK:
            return FillDisk(filler);
        case Fault::READ_ONLY_DICTIONARY:
            return SetFileAttributesA((scratch.dir + "ZELVO.TXT").c_str(), FILE_ATTRIBUTE_READONLY) != FALSE;
        default:
            return true;
        }
    }

    void RemoveFault(Fault fault) {
        switch (fault) {
        case Fault::READ_ONLY_FOLDER:
            MakeFolderWritable();
            break;
        case Fault::FILE_HELD_OPEN:
            CloseHandle(heldOpen);
            heldOpen = INVALID_HANDLE_VALUE;
            break;
        case Fault::FULL_DISK:
            DeleteFileA(filler.c_str());
            break;
        case Fault::READ_ONLY_DICTIONARY:
            SetFileAttributesA((scratch.dir + "ZELVO.TXT").c_str(), FILE_ATTRIBUTE_NORMAL);
            break;
        default:
            break;
        }
    }

    std::string dictionary;  // ZELVO.TXT before the program starts
};

TEST_P(DictionaryFaultTest, FailedSaveIsToldOnceKeepsTheFileAndAsksAtExit) {
    const FaultCase& c = GetParam();
    if (!PrepareScratch(c.fault)) {
        ASSERT_EQ(c.fault, Fault::FULL_DISK) << "the scratch folder could not be prepared";
        fprintf(stderr, "SKIPPED %s: no small disk to fill; run it in scripts/fault-session\n", c.name);
        GTEST_SKIP() << "no small disk (ZELVO_FULL_DISK): scripts/fault-session mounts one";
    }
    ASSERT_TRUE(Start());
    if (!ApplyRunningFault(c.fault)) {
        ASSERT_EQ(c.fault, Fault::READ_ONLY_FOLDER) << "the fault could not be made";
        fprintf(stderr, "SKIPPED %s: this user writes into read-only folders; run it in scripts/fault-session\n",
                c.name);
        GTEST_SKIP() << "read-only folders do not bind this user: scripts/fault-session drops that power";
    }
    const ULONGLONG freeBefore = FreeBytes(scratch.dir);
    const std::string word = Line(u8"保存", u8"ほぞん");
    Learn(u8"保存", u8"ほぞん");
    std::string end = WaitForSaveEnd(1);

    if (c.reason == nullptr) {
        // A backup that cannot make room: the dictionary is saved all the same, and the old
        // backup stays the last copy before it.
        EXPECT_EQ(0u, end.find("save done:")) << end;
        EXPECT_TRUE(Contains(end, "backup kept")) << end;
        EXPECT_EQ(word + dictionary, File("ZELVO.TXT"));
        if (c.fault == Fault::BACKUP_FOLDER) {
            EXPECT_NE(0u, GetFileAttributesA((scratch.dir + "ZELVO.bak").c_str()) & FILE_ATTRIBUTE_DIRECTORY);
        } else {
            EXPECT_EQ(OLDER, File("ZELVO.bak"));
        }
        EXPECT_EQ("(missing)", File("ZELVO.tmp"));
        EXPECT_TRUE(Notices().empty());
        DWORD exitCode = 99;
        ASSERT_TRUE(EndResident(&resident, &exitCode));
        EXPECT_EQ(0u, exitCode);
        EXPECT_EQ(0u, File("ZELVO.TXT").find(word));
        return;
    }

    // The failure: the file as it was, no temporary file left (a full disk gets its space
    // back), and the user told in a balloon from the tray icon with the reason and the path.
    EXPECT_EQ(0u, end.find("save failed:")) << end;
    EXPECT_EQ(dictionary, File("ZELVO.TXT"));
    EXPECT_EQ(c.backupRemoved ? "(missing)" : OLDER, File("ZELVO.bak"));
    EXPECT_EQ("(missing)", File("ZELVO.tmp"));
    if (c.fault == Fault::FULL_DISK) {
        EXPECT_GE(freeBefore, RESERVE_BYTES);
        EXPECT_EQ(freeBefore, FreeBytes(scratch.dir)) << "the failed save gave its space back";
    }
    const std::string reason = Sjis(c.reason);
    const std::string path = scratch.dir + "ZELVO.TXT";
    // The balloon follows the failure's trace line.
    ASSERT_TRUE(WaitUntil([] { return !Notices().empty(); }, UI_TIMEOUT_MS));
    std::vector<std::string> notices = Notices();
    ASSERT_EQ(1u, notices.size());
    EXPECT_TRUE(Contains(notices[0], Sjis(u8"辞書を保存できません"))) << notices[0];
    EXPECT_TRUE(Contains(notices[0], reason)) << notices[0];
    EXPECT_TRUE(Contains(notices[0], path)) << notices[0];
    EXPECT_TRUE(BalloonShows(reason)) << "no balloon on the screen says: " << c.reason;

    // Learning goes on, saves go on failing: the user is not told again.
    Learn(u8"再試行", u8"さいしこう");
    EXPECT_EQ(0u, WaitForSaveEnd(2).find("save failed:"));
    EXPECT_EQ(1u, Notices().size());
    EXPECT_EQ(dictionary, File("ZELVO.TXT"));

    // The end: a box says what would be lost, and why.
    PostMessageA(resident.window, WM_COMMAND, IDM_EXIT, 0);
    HWND box = WaitForMessageBox(processId, UI_TIMEOUT_MS);
    ASSERT_NE(nullptr, box);
    std::string text = DialogText(box);
    EXPECT_TRUE(Contains(text, path)) << text;
    EXPECT_TRUE(Contains(text, reason)) << text;
    ASSERT_NE(nullptr, GetDlgItem(box, IDRETRY));
    ASSERT_NE(nullptr, GetDlgItem(box, IDCANCEL));
    const std::string learned = Line(u8"再試行", u8"さいしこう") + word;
    switch (c.ending) {
    case Ending::CANCEL:
        AnswerMessageBox(box, IDCANCEL);
        break;
    case Ending::RETRY_FIX_AND_RETRY:
        AnswerMessageBox(box, IDRETRY);
        ASSERT_TRUE(WaitUntil([&] { return TraceLinesStartingWith("save failed").size() >= 4; }, UI_TIMEOUT_MS));
        box = WaitForMessageBox(processId, UI_TIMEOUT_MS);
        ASSERT_NE(nullptr, box) << "Retry that fails asks again";
        RemoveFault(c.fault);
        AnswerMessageBox(box, IDRETRY);
        break;
    default:
        RemoveFault(c.fault);
        AnswerMessageBox(box, IDRETRY);
        break;
    }
    DWORD exitCode = 99;
    ASSERT_TRUE(WaitForResidentExit(&resident, &exitCode));
    EXPECT_EQ(0u, exitCode);
    if (c.ending == Ending::CANCEL) {
        EXPECT_EQ(dictionary, File("ZELVO.TXT"));
    } else {
        EXPECT_EQ(learned + dictionary, File("ZELVO.TXT"));
    }
    EXPECT_EQ("(missing)", File("ZELVO.tmp"));
}

const FaultCase FAULT_CASES[] = {
    {"read-only folder", Fault::READ_ONLY_FOLDER, u8"フォルダーに書き込めません", false, Ending::FIX_AND_RETRY},
    // The old backup is removed to make room before the file turns out to be held.
    {"file held open", Fault::FILE_HELD_OPEN, u8"ほかのプログラムに使われているか、置き換えられません", true,
     Ending::RETRY_FIX_AND_RETRY},
    {"full disk", Fault::FULL_DISK, u8"ディスクがいっぱいです", false, Ending::FIX_AND_RETRY},
    {"read-only dictionary", Fault::READ_ONLY_DICTIONARY, u8"読み取り専用", false, Ending::CANCEL},
    {"backup read-only", Fault::BACKUP_READ_ONLY, nullptr, false, Ending::NO_BOX},
    {"backup is a folder", Fault::BACKUP_FOLDER, nullptr, false, Ending::NO_BOX},
};

INSTANTIATE_TEST_SUITE_P(Faults, DictionaryFaultTest, testing::ValuesIn(FAULT_CASES),
                         [](const testing::TestParamInfo<FaultCase>& info) {
                             std::string name;
                             for (const char* p = info.param.name; *p != '\0'; ++p) {
                                 if (isalnum(static_cast<unsigned char>(*p))) {
                                     name += *p;
                                 }
                             }
                             return name;
                         });

// ---- a file the program cannot hold ----

std::string MillionLines() {
    std::string bytes;
    bytes.reserve(19000000);
    char line[32];
    for (int i = 0; i < 1000000; ++i) {
        snprintf(line, sizeof line, "w%07d\tr%07d\r\n", i, i);
        bytes += line;
    }
    return bytes;
}

std::string WithNulBytes() {
    return Line(u8"前", u8"まえ") + std::string(64, '\0') + "\r\n" + Line(u8"後", u8"あと");
}

struct LossyFileCase {
    const char* name;
    std::string (*original)();
    std::string savedStart;  // how the file the program writes begins
    size_t savedLines;
};

TEST_F(DictionarySaveTest, FileTheProgramCannotHoldIsKeptAsideAndTheUserIsTold) {
    const LossyFileCase cases[] = {
        {"a million lines", MillionLines, "w0000000\tr0000000\r\nw0000001\tr0000001\r\n", 10000},
        {"NUL bytes", WithNulBytes, Line(u8"前", u8"まえ") + Line(u8"後", u8"あと"), 2},
    };
    for (const LossyFileCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string original = c.original();
        ASSERT_TRUE(MakeScratchFolder(&scratch));
        ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.TXT", original));
        ASSERT_TRUE(WriteFileBytes(scratch.dir + "ZELVO.bak", OLDER));
        const std::string keptAside = scratch.dir + "ZELVO.original.TXT";

        // At start-up the user learns where the original will be kept.
        ASSERT_TRUE(Start());
        ASSERT_TRUE(WaitUntil([] { return !Notices().empty(); }, UI_TIMEOUT_MS));
        std::vector<std::string> notices = Notices();
        ASSERT_EQ(1u, notices.size());
        EXPECT_TRUE(Contains(notices[0], Sjis(u8"辞書ファイルの一部を扱えません"))) << notices[0];
        EXPECT_TRUE(Contains(notices[0], "ZELVO.original.TXT")) << notices[0];
        EXPECT_TRUE(Contains(notices[0], scratch.dir + "ZELVO.TXT")) << notices[0];
        EXPECT_TRUE(BalloonShows(Sjis(u8"ZELVO.original.TXT として同じフォルダーに残します")));
        DWORD exitCode = 99;
        ASSERT_TRUE(EndResident(&resident, &exitCode));
        EXPECT_EQ(0u, exitCode);
        EXPECT_TRUE(MessageBoxes(processId).empty());

        // The first exit: the original aside, whole; the file the program holds in its place;
        // the backup not touched, as nothing of the original went there.
        std::string saved = File("ZELVO.TXT");
        EXPECT_EQ(0u, saved.find(c.savedStart));
        EXPECT_EQ(c.savedLines, static_cast<size_t>(std::count(saved.begin(), saved.end(), '\n')));
        std::string aside;
        ASSERT_TRUE(ReadFileBytes(keptAside, &aside));
        EXPECT_TRUE(aside == original) << "the original kept aside is not the original";
        EXPECT_EQ(OLDER, File("ZELVO.bak"));

        // The second run holds everything of its file: nothing to tell; its exit saves as
        // always, and the original stays where it was put.
        CloseExchangeBlock();
        ASSERT_TRUE(Start());
        EXPECT_TRUE(Notices().empty());
        ASSERT_TRUE(EndResident(&resident, &exitCode));
        EXPECT_EQ(0u, exitCode);
        EXPECT_EQ(saved, File("ZELVO.TXT"));
        EXPECT_EQ(saved, File("ZELVO.bak"));
        aside.clear();
        ASSERT_TRUE(ReadFileBytes(keptAside, &aside));
        EXPECT_TRUE(aside == original);
        Finish();
    }
}

}  // namespace
