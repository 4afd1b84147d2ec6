// Helpers shared by the dictionary tests: a clean table per test and small file utilities.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dict_table.h"

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
