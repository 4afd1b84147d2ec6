// Helpers shared by the dictionary tests: a clean table per test and small file utilities.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
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
        std::string command = "chmod -R u+w '" + folder + "' && rm -rf '" + folder + "'";
        ASSERT_EQ(0, system(command.c_str()));
        DictTest::TearDown();
    }
    int Load(const std::string& bytes) {
        WriteBytes(path, bytes);
        return DictLoad(path.c_str());
    }
    std::string folder, path, temporary, backup;
};
