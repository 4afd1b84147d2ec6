// Loading and saving the dictionary file, with the companion files of a save.
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dict_file.h"
#include "dict_test_support.h"
#include "file_system.h"

using Lines = std::vector<std::string>;

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

bool Exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

// A scratch folder per test holding words.txt and its companions.
class DictFileTest : public DictTest {
protected:
    void SetUp() override {
        DictTest::SetUp();
        char pattern[] = "/tmp/zelvo-dict-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        folder = pattern;
        path = folder + "/words.txt";
        temporary = folder + "/words.tmp";
        backup = folder + "/words.bak";
    }
    void TearDown() override {
        dictFileSystem = &platformFileSystem;
        std::string command = "rm -rf '" + folder + "'";
        ASSERT_EQ(0, system(command.c_str()));
        DictTest::TearDown();
    }
    int Load(const std::string& bytes) {
        WriteBytes(path, bytes);
        return DictLoad(path.c_str());
    }
    std::string folder, path, temporary, backup;
};

TEST_F(DictFileTest, MissingFileLoadsNothing) {
    EXPECT_EQ(0, DictLoad(path.c_str()));
    EXPECT_EQ(0, DictCount());
}

TEST_F(DictFileTest, EmptyFileLoadsNothingButCounts) {
    EXPECT_EQ(1, Load(""));
    EXPECT_EQ(0, DictCount());
}

struct LineCase {
    const char* name;
    std::string bytes;
    const char* word;     // null: the line is skipped
    const char* reading;
};

TEST_F(DictFileTest, FieldsAreRunsBetweenTabCrAndLf) {
    const LineCase cases[] = {
        {"plain", "w\tr\r\n", "w", "r"},
        {"word without tab", "word\r\n", nullptr, nullptr},
        {"leading tab", "\tw\tr\r\n", "w", "r"},
        {"two tabs", "w\t\tr\r\n", "w", "r"},
        {"extra field", "w\tr\tmore\r\n", "w", "r"},
        {"blank inside a field", "w r\r\n", nullptr, nullptr},
        {"blank kept in field", "a b\tc d\r\n", "a b", "c d"},
        {"lf only", "w\tr\n", "w", "r"},
        {"no line end", "w\tr", "w", "r"},
        {"ctrl-z is a byte", "w\x1a\tr\r\n", "w\x1a", "r"},
        {"cr between fields", "w\rr\n", "w", "r"},
        {"blank line", "\r\n", nullptr, nullptr},
        {"nul ends the line's text", std::string("w\0\tr\r\n", 6), nullptr, nullptr},
    };
    for (const LineCase& c : cases) {
        DictClearForTesting();
        EXPECT_EQ(1, Load(c.bytes)) << c.name;
        if (c.word == nullptr) {
            EXPECT_EQ(0, DictCount()) << c.name;
        } else {
            ASSERT_EQ(1, DictCount()) << c.name;
            EXPECT_STREQ(c.word, DictTable[0].word) << c.name;
            EXPECT_STREQ(c.reading, DictTable[0].reading) << c.name;
        }
    }
}

TEST_F(DictFileTest, FirstLineIsMostRecentAndDuplicatesKeepTheirFirstLine) {
    Load("a\tra\r\nb\trb\r\nW\tr3\r\nc\trc\r\nd\trd\r\ne\tre\r\nW\tr7\r\n");
    ASSERT_EQ(6, DictCount());
    // Seven lines with two fields: the first gets 7, slot by slot downwards.
    EXPECT_EQ(7, DictTable[0].order);
    EXPECT_EQ(7, orderCounter);
    EXPECT_STREQ("r3", DictTable[2].reading);
    EXPECT_EQ(5, DictTable[2].order);  // third most recent
    EXPECT_EQ(Lines({"W\tr3"}), Candidates("r3"));
    EXPECT_TRUE(Candidates("r7").empty());
}

TEST_F(DictFileTest, LongLinesAreTakenInPiecesOf1023Bytes) {
    // One physical line of 1,023 + 10 bytes: the first piece holds the word and the start of
    // the reading, the rest of the reading is a piece with one field and is dropped.
    std::string word(1000, 'w');
    std::string reading(32, 'r');
    std::string line = word + "\t" + reading + "\r\n";
    Load(line + "x\ty\r\n");
    ASSERT_EQ(2, DictCount());
    EXPECT_EQ(word, DictTable[0].word);
    EXPECT_EQ(std::string(1023 - 1001, 'r'), DictTable[0].reading);
    EXPECT_STREQ("x", DictTable[1].word);
}

TEST_F(DictFileTest, CrOnlyFileIsReadInPiecesUsingTwoFieldsEach) {
    std::string bytes;
    for (int i = 0; i < 300; ++i) {
        bytes += "w" + std::to_string(i) + "\tr" + std::to_string(i) + "\r";
    }
    Load(bytes);
    // Each piece of 1,023 bytes contributes its first two fields only.
    size_t pieces = (bytes.size() + 1022) / 1023;
    EXPECT_EQ(static_cast<int>(pieces), DictCount());
    EXPECT_STREQ("w0", DictTable[0].word);
    EXPECT_STREQ("r0", DictTable[0].reading);
}

TEST_F(DictFileTest, Only10000PairsAreLoadedAndSavedInOrder) {
    std::string bytes;
    for (int i = 0; i < 12000; ++i) {
        char line[40];
        snprintf(line, sizeof line, "w%05d\tr%05d\r\n", i, i);
        bytes += line;
    }
    Load(bytes);
    EXPECT_EQ(DICT_CAPACITY, DictCount());
    ASSERT_EQ(1, DictSave(path.c_str()));
    std::string saved = ReadBytes(path);
    EXPECT_EQ(10000u * 15, saved.size());
    EXPECT_TRUE(bytes.compare(0, 10000 * 15, saved) == 0) << "the first 10,000 lines, in order";
}

TEST_F(DictFileTest, LoadThenSaveNormalisesEveryLine) {
    Load("\ta\tra\tmore\n b\t\trb\r\nnofield\r\na\tother\r\nc\trc");
    ASSERT_EQ(1, DictSave(path.c_str()));
    EXPECT_EQ("a\tra\r\n b\trb\r\nc\trc\r\n", ReadBytes(path));
}

TEST_F(DictFileTest, NewWordIsSavedFirst) {
    Load("a\tra\r\nb\trb\r\n");
    DictRegister("new", "rn");
    ASSERT_EQ(1, DictSave(path.c_str()));
    EXPECT_EQ("new\trn\r\na\tra\r\nb\trb\r\n", ReadBytes(path));
}

TEST_F(DictFileTest, LoadingIntoAFilledTableKeepsOldEntriesInFront) {
    DictRegister("old", "ro");
    Load("new\trn\r\nold\trx\r\n");
    ASSERT_EQ(2, DictCount());
    EXPECT_STREQ("ro", DictTable[0].reading);
    ASSERT_EQ(1, DictSave(path.c_str()));
    EXPECT_EQ("old\tro\r\nnew\trn\r\n", ReadBytes(path));
    DictRegister("after", "ra");
    EXPECT_EQ("after\tra", Candidates("ra").at(0));
    EXPECT_GT(DictTable[2].order, DictTable[0].order);
}

TEST_F(DictFileTest, FirstSaveCreatesTheFileAndNoBackup) {
    DictRegister("w", "r");
    ASSERT_EQ(1, DictSave(path.c_str()));
    EXPECT_EQ("w\tr\r\n", ReadBytes(path));
    EXPECT_FALSE(Exists(backup));
    EXPECT_FALSE(Exists(temporary));
}

TEST_F(DictFileTest, SaveKeepsThePreviousFileAsBackup) {
    WriteBytes(path, "previous\tp\r\n");
    WriteBytes(backup, "older\to\r\n");
    WriteBytes(temporary, "stale content of a failed save\r\n");
    ASSERT_EQ(1, DictSave(path.c_str()));  // empty table
    EXPECT_EQ("", ReadBytes(path));
    EXPECT_EQ("previous\tp\r\n", ReadBytes(backup));
    EXPECT_FALSE(Exists(temporary));
}

TEST_F(DictFileTest, MissingFileIsRecoveredFromItsBackup) {
    // What an interrupted save leaves: the previous content under the backup name only.
    WriteBytes(backup, "w\tr\r\n");
    EXPECT_EQ(1, DictLoad(path.c_str()));
    EXPECT_STREQ("w", DictTable[0].word);
    // The next save puts the file back and keeps the backup until it is replaced.
    DictRegister("new", "rn");
    ASSERT_EQ(1, DictSave(path.c_str()));
    EXPECT_EQ("new\trn\r\nw\tr\r\n", ReadBytes(path));
    EXPECT_EQ("w\tr\r\n", ReadBytes(backup));
}

TEST_F(DictFileTest, UnreadableFileDoesNotFallBackToTheBackup) {
    WriteBytes(backup, "w\tr\r\n");
    ASSERT_EQ(0, mkdir(path.c_str(), 0700));  // exists, but cannot be read as a file
    DictLoad(path.c_str());
    EXPECT_EQ(0, DictCount());
}

TEST_F(DictFileTest, RenameNeverReplacesAnExistingFile) {
    WriteBytes(temporary, "new");
    WriteBytes(path, "old");
    EXPECT_FALSE(platformFileSystem.renameNoReplace(temporary.c_str(), path.c_str()));
    EXPECT_EQ("old", ReadBytes(path));
    EXPECT_EQ("new", ReadBytes(temporary));
    std::string free = folder + "/free.txt";
    EXPECT_TRUE(platformFileSystem.renameNoReplace(temporary.c_str(), free.c_str()));
    EXPECT_EQ("new", ReadBytes(free));
    EXPECT_FALSE(Exists(temporary));
}

// A file system that fails one chosen operation; everything else is the real one.
enum Failure { FAIL_OPEN_WRITE, FAIL_WRITE, FAIL_FLUSH, FAIL_CLOSE, FAIL_BACKUP_RENAME, FAIL_FINAL_RENAME };
Failure failure;
int renames;
FILE* FailingOpen(const char* p, const char* mode) {
    return failure == FAIL_OPEN_WRITE && mode[0] == 'w' ? nullptr : fopen(p, mode);
}
bool FailingWrite(const void* data, size_t size, FILE* file) {
    return failure != FAIL_WRITE && platformFileSystem.write(data, size, file);
}
bool FailingFlush(FILE* file) {
    return failure != FAIL_FLUSH && platformFileSystem.flushToDisk(file);
}
int FailingClose(FILE* file) {
    int result = fclose(file);
    return failure == FAIL_CLOSE ? EOF : result;
}
bool FailingRename(const char* from, const char* to) {
    ++renames;
    if ((failure == FAIL_BACKUP_RENAME && renames == 1) || (failure == FAIL_FINAL_RENAME && renames == 2)) {
        return false;
    }
    return platformFileSystem.renameNoReplace(from, to);
}
const DictFileSystem failingFileSystem = {
    FailingOpen, FailingWrite, FailingFlush, FailingClose, platformFileSystem.remove,
    platformFileSystem.exists, FailingRename, platformFileSystem.isLeadByte,
};

struct SaveFailureCase {
    const char* name;
    Failure failure;
    const char* temporaryAfter;  // null: no temporary file
    const char* fileAfter;       // null: no dictionary file
    const char* backupAfter;     // null: no backup
};

TEST_F(DictFileTest, FailedSaveReportsZeroAndKeepsTheData) {
    const SaveFailureCase cases[] = {
        {"temporary not created", FAIL_OPEN_WRITE, nullptr, "cur\tc\r\n", "old\to\r\n"},
        {"write fails", FAIL_WRITE, "", "cur\tc\r\n", "old\to\r\n"},
        {"flush fails", FAIL_FLUSH, "new\tn\r\n", "cur\tc\r\n", "old\to\r\n"},
        {"close fails", FAIL_CLOSE, "new\tn\r\n", "cur\tc\r\n", "old\to\r\n"},
        {"backup rename fails", FAIL_BACKUP_RENAME, "new\tn\r\n", "cur\tc\r\n", nullptr},
        {"final rename fails", FAIL_FINAL_RENAME, "new\tn\r\n", nullptr, "cur\tc\r\n"},
    };
    DictRegister("new", "n");
    for (const SaveFailureCase& c : cases) {
        remove(temporary.c_str());
        WriteBytes(path, "cur\tc\r\n");
        WriteBytes(backup, "old\to\r\n");
        failure = c.failure;
        renames = 0;
        dictFileSystem = &failingFileSystem;
        EXPECT_EQ(0, DictSave(path.c_str())) << c.name;
        dictFileSystem = &platformFileSystem;
        const std::pair<const std::string*, const char*> expected[] = {
            {&temporary, c.temporaryAfter}, {&path, c.fileAfter}, {&backup, c.backupAfter}};
        for (const auto& [file, content] : expected) {
            EXPECT_EQ(content != nullptr, Exists(*file)) << c.name << ": " << *file;
            if (content != nullptr && Exists(*file)) {
                EXPECT_EQ(content, ReadBytes(*file)) << c.name << ": " << *file;
            }
        }
    }
}

TEST_F(DictFileTest, NoWordIsLostAfterAFailedFinalRename) {
    WriteBytes(path, "cur\tc\r\n");
    DictLoad(path.c_str());
    failure = FAIL_FINAL_RENAME;
    renames = 0;
    dictFileSystem = &failingFileSystem;
    ASSERT_EQ(0, DictSave(path.c_str()));
    dictFileSystem = &platformFileSystem;
    // Next start: the file is gone, the backup holds the words.
    DictClearForTesting();
    EXPECT_EQ(1, DictLoad(path.c_str()));
    ASSERT_EQ(1, DictSave(path.c_str()));
    EXPECT_EQ("cur\tc\r\n", ReadBytes(path));
}

TEST_F(DictFileTest, TakenTemporaryNameFailsTheSaveBeforeAnythingChanges) {
    WriteBytes(path, "cur\tc\r\n");
    ASSERT_EQ(0, mkdir(temporary.c_str(), 0700));
    DictRegister("new", "n");
    EXPECT_EQ(0, DictSave(path.c_str()));
    EXPECT_EQ("cur\tc\r\n", ReadBytes(path));
    EXPECT_FALSE(Exists(backup));
}

struct CompanionCase {
    std::string path;
    const char* extension;
    std::string expected;  // empty: does not fit
};

TEST(DictCompanionTest, CompanionNamesReplaceTheExtension) {
    const std::string longDir = "C:\\" + std::string(250, 'd') + "\\";
    const CompanionCase cases[] = {
        {"D:\\dict\\words.txt", ".tmp", "D:\\dict\\words.tmp"},
        {"D:\\dict\\words.txt", ".bak", "D:\\dict\\words.bak"},
        {"D:\\dict.d\\words", ".bak", "D:\\dict.d\\words.bak"},
        {"words.a.txt", ".tmp", "words.a.tmp"},
        {"dir/sub/w.TXT", ".tmp", "dir/sub/w.tmp"},
        // 表 is 0x95 0x5C and ソ is 0x83 0x5C: the trail byte is no separator.
        {"C:\\\x95\x5C.txt", ".bak", "C:\\\x95\x5C.bak"},
        {"C:\\\x83\x5C\x83\x5C\\x.txt", ".tmp", "C:\\\x83\x5C\x83\x5C\\x.tmp"},
        // A full-width period (0x81 0x44) is no extension.
        {"C:\\a\x81\x44txt", ".bak", "C:\\a\x81\x44txt.bak"},
        {longDir + "x.txt", ".bak", longDir + "x.bak"},
        {longDir + "xxxxxx.txt", ".bak", ""},
    };
    for (const CompanionCase& c : cases) {
        char out[DICT_PATH_SIZE];
        bool fits = DictCompanionName(c.path.c_str(), c.extension, out);
        EXPECT_EQ(!c.expected.empty(), fits) << c.path;
        EXPECT_EQ(c.expected, std::string(out)) << c.path;
    }
}

TEST_F(DictFileTest, PathWhoseCompanionsDoNotFitIsNotSaved) {
    std::string deep = folder + "/" + std::string(240, 'd');
    ASSERT_EQ(0, mkdir(deep.c_str(), 0700));
    std::string longPath = deep + "/words.txt";  // companions would need more than 259 bytes
    DictRegister("w", "r");
    EXPECT_EQ(0, DictSave(longPath.c_str()));
    EXPECT_FALSE(Exists(longPath));
}

}  // namespace
