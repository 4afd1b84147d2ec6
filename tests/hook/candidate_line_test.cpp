#include "candidate_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CandidateLineFits, TheLineAndItsNulMustFitTheBuffer) {
    const struct {
        long length;
        bool fits;
    } cases[] = {{0, true}, {20, true}, {511, true}, {512, false}, {4000, false}, {-1, false}};
    for (const auto& c : cases) {
        EXPECT_EQ(CandidateLineFits(c.length), c.fits) << c.length;
    }
}

struct SplitCase {
    const char* what;
    std::string line;
    bool split;
    std::string word;
    std::string reading;
};

TEST(SplitCandidateLine, SplitsAtTheFirstTabWithinTheFieldSizes) {
    const std::string w255(255, 'w');
    const std::string r255(255, 'r');
    const std::vector<SplitCase> cases = {
        {"word and reading", "\x88\xA4\t\x82\xA0\x82\xA2", true, "\x88\xA4", "\x82\xA0\x82\xA2"},
        {"first TAB only", "a\tb\tc", true, "a", "b\tc"},
        {"empty reading", "word\t", true, "word", ""},
        {"empty word", "\treading", true, "", "reading"},
        {"trail byte 0x5C kept", "\x95\x5C\t\x82\xD0\x82\xE5\x82\xA4", true, "\x95\x5C",
         "\x82\xD0\x82\xE5\x82\xA4"},
        {"both at their largest", w255 + "\t" + r255, true, w255, r255},
        {"no TAB", "word reading", false, "", ""},
        {"empty line", "", false, "", ""},
        {"word of 256 bytes", w255 + "w\tr", false, "", ""},
        {"reading of 256 bytes", "w\t" + r255 + "r", false, "", ""},
    };
    for (const SplitCase& c : cases) {
        std::vector<char> line(c.line.begin(), c.line.end());
        line.push_back('\0');
        const char* word = nullptr;
        const char* reading = nullptr;
        ASSERT_EQ(SplitCandidateLine(line.data(), &word, &reading), c.split) << c.what;
        if (c.split) {
            EXPECT_EQ(std::string(word), c.word) << c.what;
            EXPECT_EQ(std::string(reading), c.reading) << c.what;
        } else {
            EXPECT_EQ(std::string(line.data()), c.line) << c.what << ": line changed";
            EXPECT_EQ(word, nullptr) << c.what;
            EXPECT_EQ(reading, nullptr) << c.what;
        }
    }
}

}  // namespace
