// The test IME's composition block, for an ANSI and for a Unicode IME: every length and
// offset leads to the right bytes.
#include "comp_string.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

struct BlockCase {
    const char* name;
    CompStringContent content;
    WideCompStringContent wide;  // the same content as a Unicode IME holds it
};

// 愛 88A4 / U+611B, あい 82A0 82A2 / U+3042 U+3044, 𠮟 U+20B9F (two WCHARs).
const BlockCase BLOCKS[] = {
    {"composing", {"\x82\xa0\x82\xa2", "\x82\xa0\x82\xa2", 0, "", ""}, {u"あい", u"あい", 0, u"", u""}},
    {"converted", {"\x88\xa4", "\x82\xa0\x82\xa2", 1, "", ""}, {u"愛", u"あい", 1, u"", u""}},
    {"committed", {"", "", 0, "\x88\xa4", "\x82\xa0\x82\xa2"}, {u"", u"", 0, u"愛", u"あい"}},
    {"odd length", {"abc", "de", 0, "f", "ghijk"}, {u"abc", u"de", 0, u"f", u"ghijk"}},
    {"empty", {"", "", 0, "", ""}, {u"", u"", 0, u"", u""}},
    {"a character outside the BMP", {"?", "\x82\xb5\x82\xa9", 1, "", ""},
     {u"\U00020B9F", u"しか", 1, u"", u""}},
};

// Checks one block built from content with characters of type Char.
template <typename Char, typename Content>
class BlockChecker {
public:
    using Text = std::basic_string<Char>;

    explicit BlockChecker(const std::vector<uint8_t>& built) : block(built) {
        EXPECT_GE(block.size(), sizeof(header));
        if (block.size() >= sizeof(header)) memcpy(&header, block.data(), sizeof(header));
    }

    // The bytes a byte count and offset name, after checking that they lie in the block.
    std::string Bytes(size_t length, uint32_t offset) {
        EXPECT_LE(static_cast<size_t>(offset) + length, block.size());
        EXPECT_GE(offset, sizeof(header));
        if (offset + length > block.size()) return "(outside)";
        return std::string(reinterpret_cast<const char*>(block.data()) + offset, length);
    }

    // A string of length characters, NUL-terminated inside the block.
    Text String(uint32_t length, uint32_t offset) {
        std::string bytes = Bytes((length + 1) * sizeof(Char), offset);
        Text text(length + 1, Char(1));
        memcpy(&text[0], bytes.data(), std::min(bytes.size(), text.size() * sizeof(Char)));
        EXPECT_EQ(Char(0), text.back());
        text.pop_back();
        return text;
    }

    std::string Clause(uint32_t length, uint32_t offset, size_t textLength) {
        if (textLength == 0) {
            EXPECT_EQ(0u, length);
            return "";
        }
        EXPECT_EQ(0u, offset % 4);
        uint32_t clause[2] = {~0u, ~0u};
        std::string bytes = Bytes(length, offset);
        EXPECT_EQ(sizeof(clause), bytes.size());
        memcpy(clause, bytes.data(), std::min(bytes.size(), sizeof(clause)));
        return std::to_string(clause[0]) + "," + std::to_string(clause[1]);
    }

    static std::string WholeClause(size_t length) { return length ? "0," + std::to_string(length) : ""; }

    void Check(const Content& c) {
        const Text composition = c.composition, reading = c.reading;
        const Text result = c.result, resultReading = c.resultReading;
        EXPECT_EQ(block.size(), header.dwSize);
        EXPECT_TRUE(composition == String(header.dwCompStrLen, header.dwCompStrOffset));
        EXPECT_TRUE(reading == String(header.dwCompReadStrLen, header.dwCompReadStrOffset));
        EXPECT_EQ(std::string(composition.size(), static_cast<char>(c.attribute)),
                  Bytes(header.dwCompAttrLen, header.dwCompAttrOffset));
        EXPECT_EQ(std::string(reading.size(), static_cast<char>(c.attribute)),
                  Bytes(header.dwCompReadAttrLen, header.dwCompReadAttrOffset));
        EXPECT_EQ(WholeClause(composition.size()),
                  Clause(header.dwCompClauseLen, header.dwCompClauseOffset, composition.size()));
        EXPECT_EQ(WholeClause(reading.size()),
                  Clause(header.dwCompReadClauseLen, header.dwCompReadClauseOffset, reading.size()));
        EXPECT_EQ(composition.size(), header.dwCursorPos);
        EXPECT_EQ(0u, header.dwDeltaStart);
        EXPECT_TRUE(result == String(header.dwResultStrLen, header.dwResultStrOffset));
        EXPECT_TRUE(resultReading == String(header.dwResultReadStrLen, header.dwResultReadStrOffset));
        EXPECT_EQ(WholeClause(result.size()),
                  Clause(header.dwResultClauseLen, header.dwResultClauseOffset, result.size()));
        EXPECT_EQ(WholeClause(resultReading.size()),
                  Clause(header.dwResultReadClauseLen, header.dwResultReadClauseOffset, resultReading.size()));
        EXPECT_EQ(0u, header.dwPrivateSize);
    }

private:
    const std::vector<uint8_t>& block;
    CompStringHeader header = {};
};

class CompStringTest : public testing::TestWithParam<BlockCase> {};

TEST_P(CompStringTest, DescribesItsContent) {
    std::vector<uint8_t> block = BuildCompString(GetParam().content);
    BlockChecker<char, CompStringContent>(block).Check(GetParam().content);
}

TEST_P(CompStringTest, DescribesItsContentInWideCharacters) {
    std::vector<uint8_t> block = BuildWideCompString(GetParam().wide);
    BlockChecker<char16_t, WideCompStringContent>(block).Check(GetParam().wide);
}

INSTANTIATE_TEST_SUITE_P(Contents, CompStringTest, testing::ValuesIn(BLOCKS),
                         [](const testing::TestParamInfo<BlockCase>& info) {
                             std::string name = info.param.name;
                             for (char& ch : name)
                                 if (ch == ' ') ch = '_';
                             return name;
                         });

// The lengths of a Unicode block count WCHARs: 𠮟 is two of them.
TEST(WideCompString, CountsWideCharactersNotBytes) {
    std::vector<uint8_t> block = BuildWideCompString({u"\U00020B9F", u"しか", 1, u"愛", u"あい"});
    CompStringHeader header = {};
    memcpy(&header, block.data(), sizeof(header));
    EXPECT_EQ(2u, header.dwCompStrLen);
    EXPECT_EQ(2u, header.dwCompAttrLen);
    EXPECT_EQ(2u, header.dwCursorPos);
    EXPECT_EQ(2u, header.dwCompReadStrLen);
    EXPECT_EQ(1u, header.dwResultStrLen);
    EXPECT_EQ(2u, header.dwResultReadStrLen);
}

}  // namespace
