// Loading and saving the dictionary file, with the companion files of a save.
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "dict_file.h"
#include "dict_save.h"
#include "dict_test_support.h"

using Lines = std::vector<std::string>;

namespace {

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
    KnowFileAsItIs();
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

// ---- what the table cannot hold ----

std::string Pairs(int count, const char* lineEnd = "\r\n") {
    std::string bytes;
    char line[40];
    for (int i = 0; i < count; ++i) {
        snprintf(line, sizeof line, "w%05d\tr%05d%s", i, i, lineEnd);
        bytes += line;
    }
    return bytes;
}

struct LossyCase {
    const char* name;
    std::string bytes;
    bool lossy;
};

TEST_F(DictFileTest, LoadTellsWhetherItDroppedOrCutAnything) {
    const std::string word500(500, 'w');
    const LossyCase cases[] = {
        // What the table keeps as it is, or only puts in its own form.
        {"empty file", "", false},
        {"plain lines", "a\tra\r\nb\trb\r\n", false},
        {"LF line ends", "a\tra\nb\trb\n", false},
        {"doubled and leading separators", "\ta\t\tra\r\n\t\tb\trb\r\n", false},
        {"blank lines", "\r\n\r\na\tra\r\n\n\t\r\n", false},
        {"no line end at the end", "a\tra", false},
        {"identical duplicate", "a\tra\r\nb\trb\r\na\tra\r\n", false},
        {"blank inside a field", "a b\tc d\r\n", false},
        {"ctrl-z is a byte", "a\x1a\tra\r\n", false},
        {"line of 1,022 bytes and CR LF", word500 + "\t" + std::string(521, 'r') + "\r\n", false},
        {"exactly 10,000 pairs and blank lines", Pairs(10000) + "\r\n\r\n", false},
        // What it drops or cuts.
        {"duplicate with another reading", "a\tra\r\nb\trb\r\na\tother\r\n", true},
        {"line with one field", "a\tra\r\nlonely\r\n", true},
        {"blank instead of a tab", "a\tra\r\nw r\r\n", true},
        {"extra field", "a\tra\tmore\r\n", true},
        {"NUL inside a field", std::string("a\0b\tra\r\n", 8), true},
        {"NUL at the end of a line", std::string("a\tra\0\r\n", 7), true},
        {"NUL bytes only", std::string(16, '\0'), true},
        {"line taken in pieces", std::string(1000, 'w') + "\t" + std::string(32, 'r') + "\r\n", true},
        {"CR-only line ends", Pairs(300, "\r"), true},
        {"10,001 pairs", Pairs(10001), true},
        {"10,000 pairs and a line with one field", Pairs(10000) + "more\r\n", true},
    };
    for (const LossyCase& c : cases) {
        DictClearForTesting();
        dictLoadNote = DictLoadNote{};
        ASSERT_EQ(1, Load(c.bytes)) << c.name;
        EXPECT_EQ(c.lossy, dictLoadNote.lossy) << c.name;
        EXPECT_EQ(c.lossy, dictLoadNote.keepAsidePending) << c.name;
        EXPECT_EQ(c.lossy ? folder + "/words.original.txt" : "", std::string(dictLoadNote.keptAsidePath))
            << c.name;
    }
}

TEST_F(DictFileTest, LossyLoadStillLoadsWhatItCan) {
    // A million lines: the first 10,000 pairs, exactly as without the note.
    ASSERT_EQ(1, Load(Pairs(12000)));
    EXPECT_TRUE(dictLoadNote.lossy);
    ASSERT_EQ(DICT_CAPACITY, DictCount());
    EXPECT_STREQ("w09999", DictTable[DICT_CAPACITY - 1].word);
    EXPECT_EQ(DICT_CAPACITY, orderCounter);
    // The first reading of a word stays, the rest of a NUL line is hidden.
    DictClearForTesting();
    const char withNul[] = "a\tra\r\nb\0x\trb\r\nc\trc\r\na\tother\r\n";
    ASSERT_EQ(1, Load(std::string(withNul, sizeof withNul - 1)));
    EXPECT_TRUE(dictLoadNote.lossy);
    ASSERT_EQ(2, DictCount());
    EXPECT_STREQ("ra", DictTable[0].reading);
    EXPECT_STREQ("c", DictTable[1].word);
}

TEST_F(DictFileTest, LoadingCountsNoChangeButRegistrationsDo) {
    Load("a\tra\r\nb\trb\r\n");
    const uint32_t loaded = DictChangeCount();
    DictRegister("a", "ra");  // the most recent word again: the file stays as it is
    EXPECT_EQ(loaded, DictChangeCount());
    DictRegister("b", "rb");  // moves to the front
    EXPECT_EQ(loaded + 1, DictChangeCount());
    DictRegister("b", "rb");
    EXPECT_EQ(loaded + 1, DictChangeCount());
    DictRegister("c", "rc");  // new
    EXPECT_EQ(loaded + 2, DictChangeCount());
}

struct KeptAsideNameCase {
    std::string path;
    int number;
    std::string expected;  // empty: does not fit
};

TEST(DictKeptAsideTest, KeptAsideNamesKeepTheExtension) {
    const std::string longDir = "C:\\" + std::string(240, 'd') + "\\";
    const KeptAsideNameCase cases[] = {
        {"C:\\Tools\\ZELVO.TXT", 1, "C:\\Tools\\ZELVO.original.TXT"},
        {"C:\\Tools\\ZELVO.TXT", 2, "C:\\Tools\\ZELVO.original-2.TXT"},
        {"C:\\Tools\\ZELVO.TXT", 17, "C:\\Tools\\ZELVO.original-17.TXT"},
        {"C:\\Tools\\ZELVO", 1, "C:\\Tools\\ZELVO.original"},
        {"C:\\\x95\x5C.txt", 1, "C:\\\x95\x5C.original.txt"},  // trail byte 0x5C is no separator
        {longDir + "ZELVO.TXT", 1, ""},
    };
    for (const KeptAsideNameCase& c : cases) {
        char out[DICT_PATH_SIZE];
        EXPECT_EQ(!c.expected.empty(), DictKeptAsideName(c.path.c_str(), c.number, out)) << c.path;
        EXPECT_EQ(c.expected, std::string(out)) << c.path;
    }
}

TEST_F(DictFileTest, FreeKeptAsideNameSkipsEarlierOriginals) {
    char out[DICT_PATH_SIZE];
    ASSERT_TRUE(DictFreeKeptAsideName(path.c_str(), out));
    EXPECT_EQ(folder + "/words.original.txt", out);
    WriteBytes(folder + "/words.original.txt", "earlier");
    WriteBytes(folder + "/words.original-2.txt", "earlier too");
    ASSERT_TRUE(DictFreeKeptAsideName(path.c_str(), out));
    EXPECT_EQ(folder + "/words.original-3.txt", out);
}

}  // namespace
