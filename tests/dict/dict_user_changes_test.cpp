// What the user changes in the dictionary: one word removed, the least recently used words
// cleared out, and the file edited by another program while the table is in use (the merge
// of the words learned since the last save, the reload, the save that leaves such a file
// alone). Every case checks the table's invariants afterwards.
#include <cstdio>
#include <string>
#include <vector>

#include "dict_reload.h"
#include "dict_save.h"
#include "dict_test_support.h"

using Words = std::vector<std::string>;

namespace {

void RegisterAll(const Words& words) {
    for (const std::string& word : words) {
        ASSERT_EQ(1, DictRegister(word.c_str(), ("r-" + word).c_str()));
    }
}

// A full table: w00000 .. w09999, registered in that order, all with the reading よみ.
void FillTable() {
    char word[16];
    for (int i = 0; i < DICT_CAPACITY; ++i) {
        snprintf(word, sizeof word, "w%05d", i);
        ASSERT_EQ(1, DictRegister(word, "よみ"));
    }
}

std::string Numbered(int i) {
    char word[16];
    snprintf(word, sizeof word, "w%05d", i);
    return word;
}

}  // namespace

// ---- removing one word ----

struct RemoveCase {
    const char* what;
    Words registered;  // in this order: the last is the most recent
    const char* word;
    const char* reading;
    int result;
    Words after;       // most recent first
};

TEST_F(DictTest, RemovingAWordKeepsTheOthersInTheirOrder) {
    const RemoveCase cases[] = {
        {"a word in the middle", {"A", "B", "C"}, "B", "r-B", 1, {"C", "A"}},
        {"the most recent word", {"A", "B", "C"}, "C", "r-C", 1, {"B", "A"}},
        {"the only word", {"A"}, "A", "r-A", 1, {}},
        {"a reading the word was not stored with", {"A", "B"}, "B", "r-A", 0, {"B", "A"}},
        {"a word the table does not hold", {"A", "B"}, "X", "r-X", 0, {"B", "A"}},
        {"a prefix of a stored word", {"AB", "A2"}, "A", "r-A", 0, {"A2", "AB"}},
    };
    for (const RemoveCase& c : cases) {
        SCOPED_TRACE(c.what);
        DictClearForTesting();
        RegisterAll(c.registered);
        uint32_t changes = DictChangeCount();
        int32_t counter = orderCounter;
        EXPECT_EQ(c.result, DictRemoveWord(c.word, c.reading));
        EXPECT_EQ(c.after, WordsByRecency());
        EXPECT_EQ(changes + (c.result == 1 ? 1u : 0u), DictChangeCount()) << "a removal is a change to save";
        EXPECT_EQ(counter, orderCounter);
        ExpectTableInvariants();
        EXPECT_TRUE(c.result == 0 || Candidates(("r-" + std::string(c.word)).c_str()).empty());
    }
}

TEST_F(DictTest, ARemovedWordRegisteredAgainIsNewAndMostRecent) {
    RegisterAll({"A", "B", "C"});
    ASSERT_EQ(1, DictRemoveWord("A", "r-A"));
    EXPECT_EQ(1, DictRegister("A", "other"));
    EXPECT_EQ(Words({"A", "C", "B"}), WordsByRecency());
    EXPECT_STREQ("other", DictTable[DictFindWord("A")].reading) << "the old reading went with the word";
    ExpectTableInvariants();
}

TEST_F(DictTest, RemovalFromAFullTableMakesRoomForANewWord) {
    FillTable();
    ASSERT_EQ(0, DictRegister("new", "よみ"));
    ASSERT_EQ(1, DictRemoveWord("w05000", "よみ"));
    EXPECT_EQ(1, DictRegister("new", "よみ"));
    EXPECT_EQ(DICT_CAPACITY, DictCount());
    EXPECT_EQ(-1, DictFindWord("w05000"));
    Words words = WordsByRecency();
    EXPECT_EQ("new", words[0]);
    EXPECT_EQ("w09999", words[1]);
    EXPECT_EQ("w00000", words.back());
    ExpectTableInvariants();
}

// ---- clearing out the least recently used words ----

struct LeastRecentCase {
    const char* what;
    int count;
    int removed;
};

TEST_F(DictTest, TheLeastRecentlyUsedWordsGoAndTheRestStays) {
    const LeastRecentCase cases[] = {
        {"a thousand of a full table", 1000, 1000},
        {"none", 0, 0},
        {"more than the table holds", DICT_CAPACITY + 5, DICT_CAPACITY},
    };
    for (const LeastRecentCase& c : cases) {
        SCOPED_TRACE(c.what);
        DictClearForTesting();
        FillTable();
        // The oldest word used again is recent: it stays.
        ASSERT_EQ(1, DictRegister("w00000", "よみ"));
        Words before = WordsByRecency();
        EXPECT_EQ(c.removed, DictRemoveLeastRecent(c.count));
        Words expected(before.begin(), before.end() - c.removed);
        EXPECT_EQ(expected, WordsByRecency());
        ExpectTableInvariants();
        if (c.removed == 1000) {
            EXPECT_EQ(-1, DictFindWord("w00001"));
            EXPECT_EQ(-1, DictFindWord("w01000"));
            EXPECT_LE(0, DictFindWord("w01001"));
            EXPECT_LE(0, DictFindWord("w00000"));
        }
        // Learning goes on.
        EXPECT_EQ(c.removed > 0 ? 1 : 0, DictRegister("fresh", "よみ"));
    }
}

TEST_F(DictTest, LeastRecentRemovalPassesOverTheKeptSlots) {
    RegisterAll({"A", "B", "C", "D"});
    bool keep[DICT_CAPACITY] = {};
    keep[DictFindWord("A")] = true;
    EXPECT_EQ(2, DictRemoveLeastRecent(2, keep));
    EXPECT_EQ(Words({"D", "A"}), WordsByRecency());
    ExpectTableInvariants();
}

// ---- the merge rule ----

struct MergeCase {
    const char* what;
    Words file;     // the file as just loaded, first line first
    Words learned;  // most recent first
    Words after;    // most recent first
    bool gaveWay;
};

TEST_F(DictTest, LearnedWordsGoInFrontOfTheLoadedFileMostRecentFirst) {
    const MergeCase cases[] = {
        {"nothing learned", {"A", "B"}, {}, {"A", "B"}, false},
        {"one new word", {"A", "B"}, {"L"}, {"L", "A", "B"}, false},
        {"several, in their order", {"A", "B"}, {"L2", "L1"}, {"L2", "L1", "A", "B"}, false},
        {"a word the file holds too moves up", {"A", "B", "C"}, {"C"}, {"C", "A", "B"}, false},
        {"a word the file lost comes back", {"A"}, {"B", "L"}, {"B", "L", "A"}, false},
        {"an empty file", {}, {"L"}, {"L"}, false},
    };
    for (const MergeCase& c : cases) {
        SCOPED_TRACE(c.what);
        DictClearForTesting();
        DictBeginBulkRegistration();
        for (const std::string& word : c.file) {
            DictRegister(word.c_str(), ("file-" + word).c_str());
        }
        DictEndBulkRegistration();
        DictRenumber(static_cast<int32_t>(c.file.size()));
        std::vector<std::string> readings;
        for (const std::string& word : c.learned) {
            readings.push_back("learned-" + word);
        }
        std::vector<const char*> wordPointers, readingPointers;
        for (size_t i = 0; i < c.learned.size(); ++i) {
            wordPointers.push_back(c.learned[i].c_str());
            readingPointers.push_back(readings[i].c_str());
        }
        EXPECT_EQ(c.gaveWay, DictMergeLearned(wordPointers.data(), readingPointers.data(),
                                              static_cast<int>(c.learned.size())));
        EXPECT_EQ(c.after, WordsByRecency());
        ExpectTableInvariants();
        // A word the file holds keeps the file's reading; one it lacks brings its own.
        for (const std::string& word : c.learned) {
            bool inFile = std::find(c.file.begin(), c.file.end(), word) != c.file.end();
            EXPECT_EQ((inFile ? "file-" : "learned-") + word, DictTable[DictFindWord(word.c_str())].reading);
        }
    }
}

TEST_F(DictTest, MergeIntoAFullFileMakesTheLeastRecentFileWordsGiveWay) {
    FillTable();  // the file: w00000 the oldest
    // Learned: two new words, and w00000 (the least recent of the file), which must not be
    // the one that gives way.
    const char* words[] = {"L2", "L1", "w00000"};
    const char* readings[] = {"よみ", "よみ", "よみ"};
    EXPECT_TRUE(DictMergeLearned(words, readings, 3));
    EXPECT_EQ(DICT_CAPACITY, DictCount());
    Words after = WordsByRecency();
    EXPECT_EQ(Words({"L2", "L1", "w00000", "w09999"}), Words(after.begin(), after.begin() + 4));
    EXPECT_EQ(-1, DictFindWord("w00001"));
    EXPECT_EQ(-1, DictFindWord("w00002"));
    EXPECT_EQ("w00003", after.back());
    ExpectTableInvariants();
}

// ---- the file changed by another program ----

class DictReloadTest : public DictFileTest {
protected:
    // Another program writes the file (a size of its own, so the change shows in any case).
    void WriteOutside(const std::string& bytes) { WriteBytes(path, bytes); }
    bool Changed() {
        DictFileStamp now;
        return DictFileChanged(path.c_str(), &now);
    }
};

TEST_F(DictReloadTest, AnOutsideEditIsLoadedWithTheLearnedWordInFront) {
    ASSERT_EQ(1, Load("A\ta\r\nB\tb\r\nC\tc\r\n"));
    EXPECT_FALSE(Changed());
    ASSERT_EQ(1, DictRegister("L", "l"));
    // The user adds D and deletes B in an editor.
    WriteOutside("A\ta\r\nD\td\r\nC\tc\r\n");
    EXPECT_TRUE(Changed());
    EXPECT_EQ(DICT_RELOAD_MERGED, DictReload(path.c_str()));
    EXPECT_FALSE(Changed()) << "the file as read is the one known now";
    EXPECT_EQ(Words({"L", "A", "D", "C"}), WordsByRecency());
    ExpectTableInvariants();
    ASSERT_EQ(1, DictSave(path.c_str()));
    EXPECT_EQ("L\tl\r\nA\ta\r\nD\td\r\nC\tc\r\n", ReadBytes(path));
    EXPECT_FALSE(Changed()) << "the program's own save is no outside change";
}

TEST_F(DictReloadTest, WordsAlreadySavedAreNotMergedAgain) {
    ASSERT_EQ(1, Load("A\ta\r\n"));
    ASSERT_EQ(1, DictRegister("L", "l"));
    ASSERT_EQ(1, DictSave(path.c_str()));
    uint32_t changes = DictChangeCount();
    WriteOutside("X\tx\r\nA\ta\r\n");  // the user deleted L on purpose
    EXPECT_EQ(DICT_RELOAD_SAME, DictReload(path.c_str()));
    EXPECT_EQ(Words({"X", "A"}), WordsByRecency());
    EXPECT_EQ(changes, DictChangeCount()) << "the table is the file: nothing to save";
    ExpectTableInvariants();
}

TEST_F(DictReloadTest, AFileThatCannotBeReadLeavesTheTableAsItWas) {
    ASSERT_EQ(1, Load("A\ta\r\n"));
    ASSERT_EQ(1, DictRegister("L", "l"));
    ASSERT_EQ(0, remove(path.c_str()));
    EXPECT_FALSE(Changed()) << "a missing file is written by the next save, not loaded";
    EXPECT_EQ(DICT_RELOAD_NOT_READ, DictReload(path.c_str()));
    EXPECT_EQ(Words({"L", "A"}), WordsByRecency());
    ExpectTableInvariants();
}

TEST_F(DictReloadTest, AFullFileKeepsTheLearnedWordAndItsOriginalIsKeptAside) {
    std::string full;
    for (int i = 0; i < DICT_CAPACITY; ++i) {
        full += Numbered(i) + "\tr\r\n";
    }
    ASSERT_EQ(1, Load("A\ta\r\n"));
    ASSERT_EQ(1, DictRegister("L", "l"));
    WriteOutside(full);
    EXPECT_EQ(DICT_RELOAD_MERGED, DictReload(path.c_str()));
    EXPECT_EQ(DICT_CAPACITY, DictCount());
    EXPECT_EQ("L", WordsByRecency()[0]);
    EXPECT_EQ(-1, DictFindWord(Numbered(DICT_CAPACITY - 1).c_str())) << "the file's last line gave way";
    EXPECT_TRUE(dictLoadNote.keepAsidePending) << "the file held more than the table keeps";
    ExpectTableInvariants();
}

TEST_F(DictReloadTest, ASaveLeavesAFileChangedOutsideAsItIs) {
    ASSERT_EQ(1, Load("A\ta\r\n"));
    ASSERT_EQ(1, DictRegister("L", "l"));
    WriteOutside("A\ta\r\nB\tb\r\n");
    SaveOutcome outcome = {};
    EXPECT_EQ(0, DictSave(path.c_str(), &outcome));
    EXPECT_EQ(1, outcome.changedOnDisk);
    EXPECT_EQ(SAVE_FAILURE_NONE, outcome.kind);
    EXPECT_EQ("A\ta\r\nB\tb\r\n", ReadBytes(path));
    EXPECT_FALSE(Exists(temporary));
    EXPECT_FALSE(Exists(backup));
    // Told to, the save replaces it.
    EXPECT_EQ(1, DictSave(path.c_str(), &outcome, true));
    EXPECT_EQ("L\tl\r\nA\ta\r\n", ReadBytes(path));
}

TEST_F(DictReloadTest, AFirstSaveFindingAFileMadeMeanwhileLeavesIt) {
    EXPECT_EQ(0, DictLoad(path.c_str()));
    ASSERT_EQ(1, DictRegister("L", "l"));
    WriteOutside("X\tx\r\n");  // a folder-sync program brought the file from elsewhere
    SaveOutcome outcome = {};
    EXPECT_EQ(0, DictSave(path.c_str(), &outcome));
    EXPECT_EQ(1, outcome.changedOnDisk);
    EXPECT_EQ(DICT_RELOAD_MERGED, DictReload(path.c_str()));
    ASSERT_EQ(1, DictSave(path.c_str()));
    EXPECT_EQ("L\tl\r\nX\tx\r\n", ReadBytes(path));
}
