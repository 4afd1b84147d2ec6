// Registration, recency and lookup in the dictionary table.
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "dict_test_support.h"

using Lines = std::vector<std::string>;

TEST_F(DictTest, NewWordsTakeSlotsInOrderWithRisingOrderNumbers) {
    EXPECT_EQ(1, DictRegister("愛", "あい"));
    EXPECT_EQ(1, DictRegister("藍", "あい"));
    ASSERT_EQ(2, DictCount());
    EXPECT_STREQ("愛", DictTable[0].word);
    EXPECT_STREQ("あい", DictTable[0].reading);
    EXPECT_EQ(1, DictTable[0].order);
    EXPECT_EQ(2, DictTable[1].order);
    EXPECT_EQ(2, orderCounter);
    EXPECT_EQ(nullptr, DictTable[2].word);
}

TEST_F(DictTest, KnownWordMovesToFrontAndKeepsItsFirstReading) {
    DictRegister("W", "abc");
    DictRegister("X", "abd");
    EXPECT_EQ(1, DictRegister("W", "zzz"));
    EXPECT_EQ(2, DictCount());
    EXPECT_STREQ("abc", DictTable[0].reading);
    EXPECT_EQ(3, DictTable[0].order);
    EXPECT_EQ(Lines({"W\tabc", "X\tabd"}), Candidates("ab"));
    EXPECT_TRUE(Candidates("zz").empty());
}

TEST_F(DictTest, WordsAreComparedByteForByte) {
    // Same first byte, different rest; a prefix of another word; full-width vs half-width.
    DictRegister("abc", "r1");
    DictRegister("abd", "r2");
    DictRegister("ab", "r3");
    DictRegister("ＡＢ", "r4");
    DictRegister("AB", "r5");
    EXPECT_EQ(5, DictCount());
}

TEST_F(DictTest, LookupListsEveryMatchMostRecentFirst) {
    DictRegister("A", "かい");
    DictRegister("B", "かいしゃ");
    DictRegister("C", "かさ");
    DictRegister("A", "かい");  // A again: most recent
    DictRegister("D", "かい");  // same reading as A
    EXPECT_EQ(Lines({"D\tかい", "A\tかい", "B\tかいしゃ"}), Candidates("かい"));
}

struct PrefixCase {
    const char* reading;
    const char* query;
    bool matches;
};

TEST_F(DictTest, LookupMatchesReadingsThatBeginWithTheQuery) {
    const PrefixCase cases[] = {
        {"abc", "abc", true},    // whole reading
        {"abc", "a", true},      // one byte
        {"abc", "abcd", false},  // longer than the reading
        {"abc", "b", false},     // not at the start
        {"abc", "abd", false},   // same first byte only
        {"abc", "", false},      // empty query matches empty readings only
        {"", "", true},
        {"ABC", "abc", false},   // no case folding
    };
    for (const PrefixCase& c : cases) {
        DictClearForTesting();
        DictRegister("word", c.reading);
        EXPECT_EQ(c.matches ? 1u : 0u, Candidates(c.query).size())
            << "reading '" << c.reading << "' query '" << c.query << "'";
    }
}

TEST_F(DictTest, LookupSearchesReadingsNeverWords) {
    DictRegister("かい", "x");
    EXPECT_TRUE(Candidates("かい").empty());
}

TEST_F(DictTest, CandidateLineIsWordTabReading) {
    DictRegister("abc", "xyz");
    char line[CANDIDATE_LINE_SIZE];
    memset(line, 0x55, sizeof line);
    FormatCandidateLine(0, line);
    EXPECT_EQ(0, memcmp(line, "abc\txyz", 8));  // seven bytes and the NUL
}

TEST_F(DictTest, OverlongCandidateLineIsCutToTheBuffer) {
    std::string word(700, 'w');
    std::string reading(700, 'r');
    DictRegister(word.c_str(), reading.c_str());
    char line[CANDIDATE_LINE_SIZE];
    FormatCandidateLine(0, line);
    std::string expected = (word + "\t" + reading).substr(0, CANDIDATE_LINE_SIZE - 1);
    EXPECT_EQ(expected, std::string(line));
}

// A table holding 10,000 different words.
class FullDictTest : public DictTest {
protected:
    void SetUp() override {
        DictTest::SetUp();
        char word[16];
        for (int i = 0; i < DICT_CAPACITY; ++i) {
            snprintf(word, sizeof word, "w%05d", i);
            ASSERT_EQ(1, DictRegister(word, "よみ"));
        }
    }
};

TEST_F(FullDictTest, NewWordIsRefusedAndChangesNothing) {
    EXPECT_EQ(DICT_CAPACITY, DictCount());
    EXPECT_EQ(0, DictRegister("new", "よみ"));
    EXPECT_EQ(DICT_CAPACITY, orderCounter);
    EXPECT_EQ(DICT_CAPACITY, DictCount());
}

TEST_F(FullDictTest, StoredWordCanStillBeRefreshed) {
    EXPECT_EQ(1, DictRegister("w00000", "other"));
    Lines lines = Candidates("よみ");
    ASSERT_EQ(static_cast<size_t>(DICT_CAPACITY), lines.size());
    EXPECT_EQ("w00000\tよみ", lines[0]);
    EXPECT_EQ("w09999\tよみ", lines[1]);
    EXPECT_EQ("w00001\tよみ", lines.back());
}

TEST_F(DictTest, CompareOrderDescPutsTheLargerOrderFirst) {
    DictRegister("a", "r");
    DictRegister("b", "r");
    int older = 0, newer = 1;
    EXPECT_EQ(1, CompareOrderDesc(&older, &newer));
    EXPECT_EQ(-1, CompareOrderDesc(&newer, &older));
    EXPECT_EQ(0, CompareOrderDesc(&older, &older));
}

// Fails every allocation while set.
static void* FailingAllocate(size_t) {
    return nullptr;
}

TEST_F(DictTest, FailedCopyLeavesTheSlotEmptyAndReturnsZero) {
    dictAllocate = FailingAllocate;
    EXPECT_EQ(0, DictRegister("first", "r"));
    EXPECT_EQ(0, DictCount());
    EXPECT_EQ(nullptr, DictTable[0].word);
    EXPECT_EQ(nullptr, DictTable[0].reading);
    EXPECT_EQ(0, orderCounter);
    EXPECT_TRUE(Candidates("r").empty());
    // With memory again, the slot that stayed empty is taken; refreshing needs no copy.
    dictAllocate = malloc;
    EXPECT_EQ(1, DictRegister("first", "r"));
    EXPECT_EQ(1, DictRegister("second", "r"));
    dictAllocate = FailingAllocate;
    EXPECT_EQ(1, DictRegister("first", "r"));
    EXPECT_STREQ("first", DictTable[0].word);
    EXPECT_EQ(Lines({"first\tr", "second\tr"}), Candidates("r"));
}

TEST_F(DictTest, LongStringsGetABlockOfTheirOwn) {
    std::string longWord(100 * 1024, 'w');
    EXPECT_EQ(1, DictRegister("short", "r"));
    EXPECT_EQ(1, DictRegister(longWord.c_str(), "r"));
    EXPECT_EQ(1, DictRegister("after", "r"));
    EXPECT_EQ(longWord, DictTable[1].word);
    EXPECT_STREQ("short", DictTable[0].word);
    EXPECT_STREQ("after", DictTable[2].word);
}

// The lookup must find exactly what a scan of every slot finds, in recency order, whether
// the words came one by one or from a file load.
TEST_F(DictTest, LookupAgreesWithAScanOfEverySlot) {
    uint32_t seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    auto reading = [&next] {
        std::string text;
        for (unsigned length = 1 + next() % 4; length > 0; --length) {
            text += static_cast<char>(0x82);
            text += static_cast<char>(0xa0 + 2 * (next() % 3));  // あ い う
        }
        return text;
    };
    for (int i = 0; i < 600; ++i) {
        std::string word = "w" + std::to_string(next() % 400);
        DictRegister(word.c_str(), reading().c_str());
        if (i == 300) {
            // Half way, reload what is there through the bulk path as a file load would.
            DictBeginBulkRegistration();
            DictRegister("bulk", "\x82\xa0");
            DictEndBulkRegistration();
        }
    }
    for (int q = 0; q < 200; ++q) {
        std::string query = q == 0 ? "" : reading().substr(0, 2 * (1 + next() % 3));
        std::vector<std::pair<int32_t, std::string>> expected;
        for (int slot = 0; slot < DictCount(); ++slot) {
            const DictEntry& e = DictTable[slot];
            if (e.reading[0] == query[0] && strncmp(e.reading, query.c_str(), query.size()) == 0) {
                expected.emplace_back(e.order, std::string(e.word) + "\t" + e.reading);
            }
        }
        std::sort(expected.rbegin(), expected.rend());
        Lines lines;
        for (const auto& entry : expected) {
            lines.push_back(entry.second);
        }
        EXPECT_EQ(lines, Candidates(query.c_str())) << "query of " << query.size() << " bytes";
    }
}
