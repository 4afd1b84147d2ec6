// Helpers shared by the dictionary tests: a clean table per test and small file utilities.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "dict_file.h"
#include "dict_table.h"
#include "file_system.h"

// Every test starts and ends with an empty table and the platform's allocator.
class DictTest : public ::testing::Test {
protected:
    void SetUp() override { DictClearForTesting(); }
    void TearDown() override {
        dictAllocate = malloc;
        DictClearForTesting();
    }
};

// The candidate lines for query, most recent first, as the list box would receive them.
inline std::vector<std::string> Candidates(const char* query) {
    static int indices[DICT_CAPACITY];
    int count = DictFindCandidates(query, indices);
    std::vector<std::string> lines;
    char line[CANDIDATE_LINE_SIZE];
    for (int i = 0; i < count; ++i) {
        FormatCandidateLine(indices[i], line);
        lines.emplace_back(line);
    }
    return lines;
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline bool Exists(const std::string& path) {
    return access(path.c_str(), F_OK) == 0;
}

// A scratch folder per test holding words.txt and its companions; the platform's file
// system and an empty load note again at the end.
class DictFileTest : public DictTest {
protected:
    void SetUp() override {
        DictTest::SetUp();
        dictLoadNote = DictLoadNote{};
        dictDisk = DictDiskState{};
        char pattern[] = "/tmp/zelvo-dict-XXXXXX";
        ASSERT_NE(nullptr, mkdtemp(pattern));
        folder = pattern;
        path = folder + "/words.txt";
        temporary = folder + "/words.tmp";
        backup = folder + "/words.bak";
    }
    void TearDown() override {
        dictFileSystem = &platformFileSystem;
        dictLoadNote = DictLoadNote{};
        dictDisk = DictDiskState{};
        std::string command = "chmod -R u+w '" + folder + "' && rm -rf '" + folder + "'";
        ASSERT_EQ(0, system(command.c_str()));
        DictTest::TearDown();
    }
    int Load(const std::string& bytes) {
        WriteBytes(path, bytes);
        return DictLoad(path.c_str());
    }
    // The dictionary file as it is now is the one this program last loaded or saved: a save
    // replaces it (one that another program changed meanwhile it leaves alone).
    void KnowFileAsItIs() { dictFileSystem->stamp(path.c_str(), &dictDisk.stamp); }
    std::string folder, path, temporary, backup;
};

// Every invariant of the table: the occupied slots form a prefix with both strings, words are
// distinct and found where they are, order numbers are distinct and none above orderCounter,
// and the lookup finds exactly what a scan of the slots finds (checked for the readings of up
// to `samples` slots spread over the table).
inline void ExpectTableInvariants(int samples = 40) {
    int count = DictCount();
    std::vector<int32_t> orders;
    for (int slot = 0; slot < DICT_CAPACITY; ++slot) {
        const DictEntry& entry = DictTable[slot];
        if (slot >= count) {
            ASSERT_EQ(nullptr, entry.word) << "slot " << slot << " after the occupied prefix";
            continue;
        }
        ASSERT_NE(nullptr, entry.word) << "slot " << slot;
        ASSERT_NE(nullptr, entry.reading) << "slot " << slot;
        EXPECT_EQ(slot, DictFindWord(entry.word)) << entry.word;
        EXPECT_LE(entry.order, orderCounter) << entry.word;
        orders.push_back(entry.order);
    }
    std::sort(orders.begin(), orders.end());
    EXPECT_TRUE(std::adjacent_find(orders.begin(), orders.end()) == orders.end()) << "two equal order numbers";
    int step = count / samples + 1;
    for (int slot = 0; slot < count; slot += step) {
        const char* query = DictTable[slot].reading;
        std::vector<std::pair<int32_t, std::string>> expected;
        for (int other = 0; other < count; ++other) {
            const DictEntry& e = DictTable[other];
            if (strncmp(e.reading, query, strlen(query)) == 0 && e.reading[0] == query[0]) {
                expected.emplace_back(e.order, std::string(e.word) + "\t" + e.reading);
            }
        }
        std::sort(expected.rbegin(), expected.rend());
        std::vector<std::string> lines;
        for (const auto& pair : expected) {
            lines.push_back(pair.second);
        }
        EXPECT_EQ(lines, Candidates(query)) << "lookup of the reading of slot " << slot;
    }
}

// The words of the table, most recent first.
inline std::vector<std::string> WordsByRecency() {
    static int indices[DICT_CAPACITY];
    int count = DictSlotsByRecency(indices);
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) {
        words.emplace_back(DictTable[indices[i]].word);
    }
    return words;
}
