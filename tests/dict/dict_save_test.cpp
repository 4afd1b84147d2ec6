// Saving the dictionary: what every failing step leaves on the disk and reports, the backup
// that cannot make room, the read-only dictionary, the original kept aside after a load that
// could not hold it, and the content built apart from the writing.
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "dict_save.h"
#include "dict_test_support.h"
#include "save_failure.h"

namespace {

// ---- a file system that fails chosen calls ----

enum FsOp { FS_CREATE, FS_WRITE, FS_FLUSH, FS_CLOSE, FS_REMOVE, FS_RENAME, FS_REPLACE, FS_LINK, FS_OP_COUNT };

struct Fault {
    FsOp op;
    int call;        // which call of op fails, counted from 1
    uint32_t error;  // the system error it reports
};

std::vector<Fault> faults;
int calls[FS_OP_COUNT];
bool lastInjected;
uint32_t injectedError;

// The complete contents a file of the test may hold; anything else is a broken file.
std::vector<std::string> completeContents;
std::string watchedPath, watchedBackup;
std::vector<std::string> gaps;  // moments without a complete file under either name

bool HoldsCompleteFile(const std::string& file) {
    if (!Exists(file)) {
        return false;
    }
    std::string bytes = ReadBytes(file);
    for (const std::string& complete : completeContents) {
        if (bytes == complete) {
            return true;
        }
    }
    return false;
}

// Called around every call that removes or renames: the last good copy must never be gone.
void CheckCompleteCopy(const char* when) {
    if (!watchedPath.empty() && !HoldsCompleteFile(watchedPath) && !HoldsCompleteFile(watchedBackup)) {
        gaps.push_back(when);
    }
}

bool Inject(FsOp op) {
    int call = ++calls[op];
    for (const Fault& fault : faults) {
        if (fault.op == op && fault.call == call) {
            lastInjected = true;
            injectedError = fault.error;
            return true;
        }
    }
    lastInjected = false;
    return false;
}

DictOutFile FailingCreate(const char* p) {
    return Inject(FS_CREATE) ? nullptr : platformFileSystem.create(p);
}
bool FailingWrite(DictOutFile file, const void* data, size_t size) {
    return !Inject(FS_WRITE) && platformFileSystem.write(file, data, size);
}
bool FailingFlush(DictOutFile file) {
    return !Inject(FS_FLUSH) && platformFileSystem.flushToDisk(file);
}
bool FailingCloseOut(DictOutFile file) {
    bool injected = Inject(FS_CLOSE);
    return platformFileSystem.closeOut(file) && !injected;
}
bool FailingRemove(const char* p) {
    CheckCompleteCopy("before a remove");
    bool removed = !Inject(FS_REMOVE) && platformFileSystem.remove(p);
    CheckCompleteCopy("after a remove");
    return removed;
}
bool FailingRename(const char* from, const char* to) {
    CheckCompleteCopy("before a rename");
    bool renamed = !Inject(FS_RENAME) && platformFileSystem.renameNoReplace(from, to);
    CheckCompleteCopy("after a rename");
    return renamed;
}
bool FailingReplace(const char* from, const char* to) {
    CheckCompleteCopy("before a replace");
    bool replaced = !Inject(FS_REPLACE) && platformFileSystem.replace(from, to);
    CheckCompleteCopy("after a replace");
    return replaced;
}
bool FailingLink(const char* from, const char* to) {
    CheckCompleteCopy("before a link");
    bool linked = !Inject(FS_LINK) && platformFileSystem.link(from, to);
    CheckCompleteCopy("after a link");
    return linked;
}
uint32_t FailingLastError() {
    return lastInjected ? injectedError : platformFileSystem.lastError();
}

const DictFileSystem failingFileSystem = {
    platformFileSystem.open,       platformFileSystem.close, FailingCreate,  FailingWrite,
    FailingFlush,                  FailingCloseOut,          FailingRemove,  platformFileSystem.exists,
    platformFileSystem.isReadOnly, FailingRename,            FailingReplace, FailingLink,
    FailingLastError,              platformFileSystem.isLeadByte, platformFileSystem.stamp,
};

const char* const CURRENT = "cur\tc\r\n";
const char* const OLDER = "old\to\r\n";
const char* const NEW_CONTENT = "new\tn\r\n";

class DictSaveTest : public DictFileTest {
protected:
    void SetUp() override {
        DictFileTest::SetUp();
        Arm({});
    }
    void TearDown() override {
        watchedPath.clear();
        DictFileTest::TearDown();
    }
    // The next save meets these faults; every other call is the real one.
    void Arm(const std::vector<Fault>& chosen) {
        faults = chosen;
        memset(calls, 0, sizeof calls);
        lastInjected = false;
        gaps.clear();
        dictFileSystem = &failingFileSystem;
    }
    void Watch(std::vector<std::string> complete) {
        completeContents = std::move(complete);
        watchedPath = path;
        watchedBackup = backup;
    }
    // What a file holds, "-" when it does not exist.
    static std::string Content(const std::string& file) {
        return Exists(file) ? ReadBytes(file) : "-";
    }
    SaveOutcome Save() {
        SaveOutcome outcome = {};
        KnowFileAsItIs();
        int result = DictSave(path.c_str(), &outcome);
        EXPECT_EQ(result, outcome.saved);
        return outcome;
    }
};

// ---- every step of a save ----

struct StepCase {
    const char* name;
    std::vector<Fault> faults;
    bool fileBefore;  // the dictionary file holds CURRENT before the save
    int saved;
    SaveStep step;
    SaveFailureKind kind;
    uint32_t error;
    int backupSkipped;
    const char* fileAfter;    // "-": none
    const char* backupAfter;  // "-": none
};

TEST_F(DictSaveTest, EveryStepThatFailsIsReportedAndLeavesACompleteCopy) {
    const uint32_t DENIED = SYSTEM_ERROR_ACCESS_DENIED;
    const uint32_t SHARING = SYSTEM_ERROR_SHARING_VIOLATION;
    const uint32_t FULL = SYSTEM_ERROR_DISK_FULL;
    const StepCase cases[] = {
        {"nothing fails", {}, true, 1, SAVE_STEP_NONE, SAVE_FAILURE_NONE, 0, 0, NEW_CONTENT, CURRENT},
        {"first save", {}, false, 1, SAVE_STEP_NONE, SAVE_FAILURE_NONE, 0, 0, NEW_CONTENT, OLDER},
        {"temporary file cannot be created", {{FS_CREATE, 1, DENIED}}, true, 0, SAVE_STEP_CREATE,
         SAVE_FAILURE_FOLDER_NOT_WRITABLE, DENIED, 0, CURRENT, OLDER},
        {"disk full while writing", {{FS_WRITE, 1, FULL}}, true, 0, SAVE_STEP_WRITE, SAVE_FAILURE_DISK_FULL,
         FULL, 0, CURRENT, OLDER},
        {"flush fails", {{FS_FLUSH, 1, SYSTEM_ERROR_GEN_FAILURE}}, true, 0, SAVE_STEP_FLUSH, SAVE_FAILURE_OTHER,
         SYSTEM_ERROR_GEN_FAILURE, 0, CURRENT, OLDER},
        {"close fails", {{FS_CLOSE, 1, FULL}}, true, 0, SAVE_STEP_CLOSE, SAVE_FAILURE_DISK_FULL, FULL, 0,
         CURRENT, OLDER},
        {"old backup cannot be removed", {{FS_REMOVE, 1, DENIED}}, true, 1, SAVE_STEP_NONE, SAVE_FAILURE_NONE, 0,
         1, NEW_CONTENT, OLDER},
        {"dictionary file cannot become the backup", {{FS_RENAME, 1, DENIED}}, true, 1, SAVE_STEP_NONE,
         SAVE_FAILURE_NONE, 0, 1, NEW_CONTENT, "-"},
        {"dictionary file in use", {{FS_RENAME, 1, SHARING}, {FS_REPLACE, 1, SHARING}}, true, 0,
         SAVE_STEP_REPLACE, SAVE_FAILURE_FILE_IN_USE, SHARING, 1, CURRENT, "-"},
        {"new file cannot take the name", {{FS_RENAME, 2, DENIED}}, true, 0, SAVE_STEP_REPLACE,
         SAVE_FAILURE_FILE_IN_USE, DENIED, 0, CURRENT, "-"},
        {"old backup stays and the file cannot be replaced", {{FS_REMOVE, 1, DENIED}, {FS_REPLACE, 1, DENIED}},
         true, 0, SAVE_STEP_REPLACE, SAVE_FAILURE_FILE_IN_USE, DENIED, 1, CURRENT, OLDER},
        {"first save cannot take the name", {{FS_RENAME, 1, DENIED}}, false, 0, SAVE_STEP_REPLACE,
         SAVE_FAILURE_FILE_IN_USE, DENIED, 0, "-", OLDER},
    };
    DictRegister("new", "n");
    for (const StepCase& c : cases) {
        SCOPED_TRACE(c.name);
        remove(path.c_str());
        remove(temporary.c_str());
        if (c.fileBefore) {
            WriteBytes(path, CURRENT);
        }
        WriteBytes(backup, OLDER);
        Watch({CURRENT, OLDER, NEW_CONTENT});
        Arm(c.faults);
        SaveOutcome outcome = Save();
        EXPECT_EQ(c.saved, outcome.saved);
        EXPECT_EQ(c.step, outcome.step);
        EXPECT_EQ(c.kind, outcome.kind);
        EXPECT_EQ(c.error, outcome.systemError);
        EXPECT_EQ(c.backupSkipped, outcome.backupSkipped);
        EXPECT_EQ(c.fileAfter, Content(path));
        EXPECT_EQ(c.backupAfter, Content(backup));
        EXPECT_FALSE(Exists(temporary)) << "the temporary file is left behind";
        EXPECT_TRUE(gaps.empty()) << "no complete copy " << (gaps.empty() ? "" : gaps[0]);
    }
}

TEST_F(DictSaveTest, AFailedSaveNeverSticks) {
    WriteBytes(path, CURRENT);
    DictRegister("new", "n");
    Arm({{FS_WRITE, 1, SYSTEM_ERROR_DISK_FULL}});
    ASSERT_EQ(0, Save().saved);
    Arm({});
    SaveOutcome again = Save();
    EXPECT_EQ(1, again.saved);
    EXPECT_EQ(NEW_CONTENT, ReadBytes(path));
    EXPECT_EQ(CURRENT, ReadBytes(backup));
}

TEST_F(DictSaveTest, NoWordIsLostWhenTheFileCannotBePutBack) {
    // The new file cannot take the name, and the previous one cannot go back under it
    // either: the backup holds the words, and the next start loads them from there.
    WriteBytes(path, CURRENT);
    DictLoad(path.c_str());
    Watch({CURRENT});
    Arm({{FS_RENAME, 2, SYSTEM_ERROR_ACCESS_DENIED}, {FS_RENAME, 3, SYSTEM_ERROR_ACCESS_DENIED}});
    ASSERT_EQ(0, Save().saved);
    EXPECT_TRUE(gaps.empty());
    EXPECT_FALSE(Exists(path));
    Arm({});
    DictClearForTesting();
    EXPECT_EQ(1, DictLoad(path.c_str()));
    ASSERT_EQ(1, Save().saved);
    EXPECT_EQ(CURRENT, ReadBytes(path));
}

TEST_F(DictSaveTest, TakenTemporaryNameFailsTheSaveBeforeAnythingChanges) {
    WriteBytes(path, CURRENT);
    ASSERT_EQ(0, mkdir(temporary.c_str(), 0700));
    DictRegister("new", "n");
    SaveOutcome outcome = Save();
    EXPECT_EQ(0, outcome.saved);
    EXPECT_EQ(SAVE_STEP_CREATE, outcome.step);
    EXPECT_EQ(CURRENT, ReadBytes(path));
    EXPECT_FALSE(Exists(backup));
}

TEST_F(DictSaveTest, BackupThatIsAFolderStaysAndTheDictionaryIsSaved) {
    WriteBytes(path, CURRENT);
    ASSERT_EQ(0, mkdir(backup.c_str(), 0700));
    DictRegister("new", "n");
    for (int save = 0; save < 2; ++save) {  // and not only once
        SaveOutcome outcome = Save();
        EXPECT_EQ(1, outcome.saved);
        EXPECT_EQ(1, outcome.backupSkipped);
    }
    EXPECT_EQ(NEW_CONTENT, ReadBytes(path));
    struct stat status;
    ASSERT_EQ(0, stat(backup.c_str(), &status));
    EXPECT_TRUE(S_ISDIR(status.st_mode));
    EXPECT_FALSE(Exists(temporary));
}

TEST_F(DictSaveTest, ReadOnlyDictionaryIsNeverReplaced) {
    WriteBytes(path, CURRENT);
    WriteBytes(backup, OLDER);
    ASSERT_EQ(0, chmod(path.c_str(), 0444));
    DictRegister("new", "n");
    for (int save = 0; save < 2; ++save) {
        SaveOutcome outcome = Save();
        EXPECT_EQ(0, outcome.saved);
        EXPECT_EQ(SAVE_STEP_CHECK, outcome.step);
        EXPECT_EQ(SAVE_FAILURE_READ_ONLY, outcome.kind);
        EXPECT_EQ(0, calls[FS_CREATE] + calls[FS_RENAME] + calls[FS_REMOVE] + calls[FS_REPLACE]);
    }
    EXPECT_EQ(CURRENT, ReadBytes(path));
    EXPECT_EQ(OLDER, ReadBytes(backup));
    EXPECT_FALSE(Exists(temporary));
    // The user's mark taken off: the learning kept in memory is saved.
    ASSERT_EQ(0, chmod(path.c_str(), 0644));
    EXPECT_EQ(1, Save().saved);
    EXPECT_EQ(NEW_CONTENT, ReadBytes(path));
}

TEST_F(DictSaveTest, PathWhoseCompanionsDoNotFitIsReportedUnusable) {
    std::string deep = folder + "/" + std::string(240, 'd');
    ASSERT_EQ(0, mkdir(deep.c_str(), 0700));
    std::string longPath = deep + "/words.txt";
    DictRegister("w", "r");
    SaveOutcome outcome = {};
    EXPECT_EQ(0, DictSave(longPath.c_str(), &outcome));
    EXPECT_EQ(SAVE_STEP_NAMES, outcome.step);
    EXPECT_EQ(SAVE_FAILURE_PATH_UNUSABLE, outcome.kind);
    EXPECT_FALSE(Exists(longPath));
}

void* NoMemory(size_t) {
    return nullptr;
}

TEST_F(DictSaveTest, NoMemoryForTheContentTouchesNoFile) {
    WriteBytes(path, CURRENT);
    DictRegister("new", "n");
    dictAllocate = NoMemory;
    SaveOutcome outcome = Save();
    dictAllocate = malloc;
    EXPECT_EQ(0, outcome.saved);
    EXPECT_EQ(SAVE_STEP_IMAGE, outcome.step);
    EXPECT_EQ(0, calls[FS_CREATE]);
    EXPECT_EQ(CURRENT, ReadBytes(path));
}

// ---- the content apart from the writing ----

TEST_F(DictSaveTest, WriterSavesTheTableAsItWasWhenTheContentWasBuilt) {
    Load("a\tra\r\nb\trb\r\n");
    DictRegister("b", "rb");
    DictSaveJob job;
    ASSERT_TRUE(DictPrepareSave(path.c_str(), &job));
    // The table goes on changing on its own thread while another thread writes.
    std::thread writer([&] { DictWriteSave(&job); });
    for (int i = 0; i < 2000; ++i) {
        DictRegister(("later" + std::to_string(i)).c_str(), "rl");
    }
    writer.join();
    DictFinishSave(&job);
    EXPECT_EQ(1, job.outcome.saved);
    EXPECT_EQ(nullptr, job.image.bytes);
    EXPECT_EQ("b\trb\r\na\tra\r\n", ReadBytes(path));
    EXPECT_EQ("a\tra\r\nb\trb\r\n", ReadBytes(backup));
    // The next save has the words learned meanwhile.
    ASSERT_EQ(1, Save().saved);
    EXPECT_EQ(0u, ReadBytes(path).find("later1999\trl\r\n"));
}

TEST_F(DictSaveTest, EmptyTableWritesAnEmptyFile) {
    WriteBytes(path, CURRENT);
    EXPECT_EQ(1, Save().saved);
    EXPECT_EQ("", ReadBytes(path));
    EXPECT_EQ(CURRENT, ReadBytes(backup));
}

// ---- the original that the table could not hold ----

std::string TooManyPairs() {
    std::string bytes;
    for (int i = 0; i < 10050; ++i) {
        bytes += "w" + std::to_string(i) + "\tr\r\n";
    }
    return bytes;
}

TEST_F(DictSaveTest, FirstSaveAfterALossyLoadKeepsTheOriginalAside) {
    const std::string original = TooManyPairs();
    WriteBytes(backup, OLDER);
    ASSERT_EQ(1, Load(original));
    ASSERT_TRUE(dictLoadNote.keepAsidePending);
    const std::string aside = folder + "/words.original.txt";
    EXPECT_EQ(aside, dictLoadNote.keptAsidePath);

    SaveOutcome first = Save();
    EXPECT_EQ(1, first.saved);
    EXPECT_EQ(1, first.originalKeptAside);
    EXPECT_EQ(original, ReadBytes(aside));
    const std::string saved = ReadBytes(path);
    EXPECT_EQ(original.substr(0, saved.size()), saved);
    EXPECT_EQ(static_cast<size_t>(DICT_CAPACITY), static_cast<size_t>(std::count(saved.begin(), saved.end(), '\n')));
    EXPECT_EQ(OLDER, ReadBytes(backup)) << "moved aside instead of to the backup";
    EXPECT_FALSE(dictLoadNote.keepAsidePending);

    // Later saves are ordinary ones and leave the original alone.
    DictRegister("new", "n");
    SaveOutcome second = Save();
    EXPECT_EQ(1, second.saved);
    EXPECT_EQ(0, second.originalKeptAside);
    EXPECT_EQ(saved, ReadBytes(backup));
    EXPECT_EQ(original, ReadBytes(aside));
}

TEST_F(DictSaveTest, EarlierOriginalIsNotOverwritten) {
    WriteBytes(folder + "/words.original.txt", "earlier");
    ASSERT_EQ(1, Load("a\tra\r\nlonely\r\n"));
    ASSERT_EQ(1, Save().saved);
    EXPECT_EQ("earlier", ReadBytes(folder + "/words.original.txt"));
    EXPECT_EQ("a\tra\r\nlonely\r\n", ReadBytes(folder + "/words.original-2.txt"));
    EXPECT_EQ("a\tra\r\n", ReadBytes(path));
}

struct KeepAsideCase {
    const char* name;
    std::vector<Fault> faults;
    int saved;
    SaveStep step;
    bool watch;  // a complete file under the dictionary's or the backup's name at every moment
};

TEST_F(DictSaveTest, OriginalIsNeverReplacedBeforeItIsKeptAside) {
    const uint32_t DENIED = SYSTEM_ERROR_ACCESS_DENIED;
    const uint32_t NO_LINKS = SYSTEM_ERROR_ACCESS_DENIED;  // what a file system without links says
    const KeepAsideCase cases[] = {
        {"kept under a second name", {}, 1, SAVE_STEP_NONE, true},
        {"no links: moved aside", {{FS_LINK, 1, NO_LINKS}}, 1, SAVE_STEP_NONE, false},
        {"cannot be kept aside", {{FS_LINK, 1, NO_LINKS}, {FS_RENAME, 1, SYSTEM_ERROR_SHARING_VIOLATION}}, 0,
         SAVE_STEP_KEEP_ASIDE, true},
        {"new file cannot replace it", {{FS_REPLACE, 1, SYSTEM_ERROR_SHARING_VIOLATION}}, 0, SAVE_STEP_REPLACE,
         true},
        {"no links, and the new file cannot take the name", {{FS_LINK, 1, NO_LINKS}, {FS_RENAME, 2, DENIED}}, 0,
         SAVE_STEP_REPLACE, false},
    };
    const std::string original = "a\tra\r\na\tother\r\n";
    const std::string aside = folder + "/words.original.txt";
    for (const KeepAsideCase& c : cases) {
        SCOPED_TRACE(c.name);
        DictClearForTesting();
        dictLoadNote = DictLoadNote{};
        watchedPath.clear();
        Arm({});
        WriteBytes(backup, OLDER);
        ASSERT_EQ(1, Load(original));
        if (c.watch) {
            Watch({original, OLDER, "a\tra\r\n"});
        }
        Arm(c.faults);
        SaveOutcome outcome = Save();
        EXPECT_EQ(c.saved, outcome.saved);
        EXPECT_EQ(c.step, outcome.step);
        EXPECT_EQ(c.saved, outcome.originalKeptAside);
        EXPECT_FALSE(Exists(temporary));
        EXPECT_TRUE(gaps.empty()) << (gaps.empty() ? "" : gaps[0]);
        EXPECT_EQ(OLDER, ReadBytes(backup)) << "the backup is not the original's place";
        if (c.saved) {
            EXPECT_EQ(original, ReadBytes(aside));
            EXPECT_EQ("a\tra\r\n", ReadBytes(path));
            EXPECT_FALSE(dictLoadNote.keepAsidePending);
        } else {
            // The original where it was, nothing under the kept-aside name, and the wish
            // stays for the next save, which can do it.
            EXPECT_EQ(original, ReadBytes(path));
            EXPECT_FALSE(Exists(aside));
            EXPECT_TRUE(dictLoadNote.keepAsidePending);
            Arm({});
            EXPECT_EQ(1, Save().originalKeptAside);
            EXPECT_EQ(original, ReadBytes(aside));
            EXPECT_EQ("a\tra\r\n", ReadBytes(path));
        }
        remove(aside.c_str());
        remove(path.c_str());
    }
}

TEST_F(DictSaveTest, LossyBackupLoadedInsteadOfTheFileIsKeptAside) {
    const std::string original = "a\tra\r\nb\trb\tmore\r\n";
    WriteBytes(backup, original);  // what a save interrupted between its renames leaves
    ASSERT_EQ(1, DictLoad(path.c_str()));
    ASSERT_TRUE(dictLoadNote.keepAsidePending);
    EXPECT_TRUE(dictLoadNote.fromBackup);
    SaveOutcome outcome = Save();
    EXPECT_EQ(1, outcome.saved);
    EXPECT_EQ(original, ReadBytes(folder + "/words.original.txt"));
    EXPECT_EQ("a\tra\r\nb\trb\r\n", ReadBytes(path));
    // The backup is a name of the same file until the next save renews it.
    EXPECT_EQ(original, ReadBytes(backup));
    DictRegister("c", "rc");
    ASSERT_EQ(1, Save().saved);
    EXPECT_EQ("a\tra\r\nb\trb\r\n", ReadBytes(backup));
    EXPECT_EQ(original, ReadBytes(folder + "/words.original.txt"));
}

TEST_F(DictSaveTest, ReadOnlyLossyOriginalStaysWhereItIs) {
    const std::string original = "a\tra\r\nlonely\r\n";
    ASSERT_EQ(1, Load(original));
    ASSERT_EQ(0, chmod(path.c_str(), 0444));
    SaveOutcome outcome = Save();
    EXPECT_EQ(SAVE_FAILURE_READ_ONLY, outcome.kind);
    EXPECT_EQ(original, ReadBytes(path));
    EXPECT_FALSE(Exists(folder + "/words.original.txt"));
    EXPECT_TRUE(dictLoadNote.keepAsidePending);
}

}  // namespace
